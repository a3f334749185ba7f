#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <map>

#include "core/OrvaCore.h"
#include "model/ControlIds.h"
#include "platform/SteadyClock.h"
#include "protocol/Frames.h"
#include "qtserial/QtCommPort.h"
#include "sim/SimRunner.h"
#include "support/ExpectedStore.h"
#include "support/Fakes.h"
#include "support/PtyPeer.h"
#include "support/SimulatorLine.h"

namespace orva {
namespace {

using namespace std::chrono_literals;

TEST(SimulatorReadback, StoreEqualsWhatTheControllerHolds) {
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name};
    QCoreApplication app(argc, argv);

    sim::SimOptions options;
    options.controller.powerOnSet = 2;
    options.faults.split = true;  // replies arrive in random pieces
    options.faults.splitGap = 200us;
    sim::SimRunner controller(options);
    const std::string device = controller.start();

    test::RecordingPort port(test::comTo(device));
    SteadyClock clock;
    test::ScriptedPrompts prompts;
    test::MemoryFiles files;
    OrvaCore core(port, clock, prompts, files);
    core.initialise();
    test::runUntil(
        app, [&] { return port.chainDone(core.link()); }, 30000);
    ASSERT_TRUE(port.lastAsked) << "the chain did not reach j";
    EXPECT_EQ(core.model().text(ids::main::kVersionText), "1.220");
    port.SetPortOpen(false);

    // Ask the controller ourselves what it holds.
    test::PtyPeer line(device);
    std::map<char, int> held;
    for (char code : frames::kMainChainCodes) {
        line.write(frames::query(code));
        const std::string reply = line.read(frames::kReplyLength, 5s);
        ASSERT_EQ(reply.substr(0, 3), frames::query(code));
        held[code] = std::stoi(reply.substr(4, 4));
    }
    const auto expected = test::expectedStore([&](char code) { return held.at(code); });
    for (int slot = 0; slot < ParameterStore::kUsed; ++slot) {
        EXPECT_EQ(core.store().get(slot), expected[slot]) << "slot " << slot;
    }
}

}  // namespace
}  // namespace orva
