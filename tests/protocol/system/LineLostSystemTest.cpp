#include <gtest/gtest.h>

#include <QCoreApplication>

#include <unistd.h>
#include <memory>
#include <string>

#include "core/OrvaCore.h"
#include "model/ControlIds.h"
#include "platform/SteadyClock.h"
#include "sim/SimRunner.h"
#include "support/Fakes.h"
#include "support/SimulatorLine.h"

namespace orva {
namespace {

// A controller that closes its line in the middle of the read-back, as a pulled cable does: the
// port closes, the window says so and stays idle; Refresh against a controller plugged in again
// reads everything.
TEST(LineLost, ThePortClosesQuietlyAndRefreshReadsAgain) {
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name};
    QCoreApplication app(argc, argv);
    const std::string link = ::testing::TempDir() + "orva_kivrel_" + std::to_string(::getpid());
    sim::SimOptions options;
    options.linkPath = link;
    options.faults.closeAfter = 200;
    auto controller = std::make_unique<sim::SimRunner>(options);
    controller->start();
    test::RecordingPort port(test::comTo(link));
    SteadyClock clock;
    test::ScriptedPrompts prompts;
    test::MemoryFiles files;
    OrvaCore core(port, clock, prompts, files);

    core.initialise();
    ASSERT_TRUE(test::runUntil(app, [&] { return !port.GetPortOpen(); }, 10000));
    EXPECT_EQ(core.model().text(ids::main::kStatus), "串口未打开");
    EXPECT_NE(core.model().text(ids::main::kPortDevice).find("line lost"), std::string::npos);
    // Nothing more is written, and the port stays closed.
    const std::size_t sent = port.sent.size();
    test::runUntil(app, [] { return false; }, 300);
    EXPECT_EQ(port.sent.size(), sent);
    EXPECT_FALSE(port.GetPortOpen());

    controller.reset();
    options.faults.closeAfter = 0;
    sim::SimRunner replugged(options);
    replugged.start();
    core.onUserAction({ActionKind::Click, ids::main::kRefresh});
    EXPECT_TRUE(test::runUntil(app, [&] { return port.readBackDone(); }, 30000));
    EXPECT_EQ(core.model().text(ids::main::kStatus), "串口已打开");
}

}  // namespace
}  // namespace orva
