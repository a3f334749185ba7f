#include <gtest/gtest.h>

#include <QCoreApplication>

#include <unistd.h>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "core/OrvaCore.h"
#include "model/ControlIds.h"
#include "platform/SteadyClock.h"
#include "sim/SimRunner.h"
#include "support/Fakes.h"
#include "support/SimulatorLine.h"

namespace orva {
namespace {

// A whole 64 KiB image over a line paced byte by byte as at 115200 baud: the loader's tag and
// ready line trickle in over many reads, as they do from a real USB serial adapter.
TEST(UpgradeSystem, A64KiBImageGoesOverAPacedLine) {
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name};
    QCoreApplication app(argc, argv);
    const std::string stored =
        ::testing::TempDir() + "orva_upgrade_" + std::to_string(::getpid()) + ".bin";
    std::remove(stored.c_str());
    sim::SimOptions options;
    options.imagePath = stored;
    options.wireTiming = true;
    sim::SimRunner controller(options);
    test::RecordingPort port(test::comTo(controller.start()));
    SteadyClock clock;
    test::ScriptedPrompts prompts;
    test::MemoryFiles files;
    OrvaCore core(port, clock, prompts, files);

    core.initialise();
    ASSERT_TRUE(test::runUntil(
        app, [&] { return port.readBackDone(); }, 30000));
    std::string image(65536, '\0');
    for (std::size_t i = 0; i < image.size(); ++i) {
        image[i] = static_cast<char>((i * 73 + 5) % 251);
    }
    files.content["/pilot/kivrel.bin"] = image;
    prompts.files.push_back(std::string("/pilot/kivrel.bin"));
    core.onUserAction({ActionKind::Click, ids::main::kChooseFirmware});
    ASSERT_TRUE(core.model().enabled(ids::main::kUpgrade));

    core.onUserAction({ActionKind::Click, ids::main::kUpgrade});
    ASSERT_TRUE(test::runUntil(
        app, [&] { return !prompts.shown.empty(); }, 120000))
        << "the transfer stalled at block " << core.firmware().transfer().block();
    EXPECT_EQ(prompts.shown[0].text.rfind("恭喜你升级成功!", 0), 0u) << prompts.shown[0].text;
    std::ifstream in(stored, std::ios::binary);
    const std::string received{std::istreambuf_iterator<char>(in),
                               std::istreambuf_iterator<char>()};
    EXPECT_EQ(received.substr(0, image.size()), image);
    std::remove(stored.c_str());
}

}  // namespace
}  // namespace orva
