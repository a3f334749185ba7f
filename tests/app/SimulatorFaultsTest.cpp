#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "core/OrvaCore.h"
#include "model/ControlIds.h"
#include "platform/SteadyClock.h"
#include "sim/SimRunner.h"
#include "support/Fakes.h"
#include "support/SimulatorLine.h"

namespace orva {
namespace {

// The main read-back against the simulated controller with one line fault: what the tool asked
// until the line went quiet, and whether the chain reached its end.
struct Outcome {
    std::vector<std::string> asked;
    bool chainDone = false;
    std::string version;
};

class SimulatorFaults : public ::testing::Test {
  protected:
    Outcome readBack(const sim::SimOptions& options) {
        sim::SimRunner controller(options);
        test::RecordingPort port(test::comTo(controller.start()));
        SteadyClock clock;
        test::ScriptedPrompts prompts;
        test::MemoryFiles files;
        OrvaCore core(port, clock, prompts, files);
        core.initialise();
        // Until the chain ends, or nothing has been written for half a second.
        std::size_t seen = 0;
        QElapsedTimer quiet;
        quiet.start();
        test::runUntil(
            app,
            [&] {
                if (port.sent.size() != seen) {
                    seen = port.sent.size();
                    quiet.restart();
                }
                return port.chainDone(core.link()) || quiet.elapsed() > 500;
            },
            20000);
        return {port.sent, port.chainDone(core.link()), core.model().text(ids::main::kVersionText)};
    }

    int argc = 1;
    char name[5] = "test";
    char* argv[1] = {name};
    QCoreApplication app{argc, argv};
};

TEST_F(SimulatorFaults, RepliesInRandomPiecesStillComplete) {
    sim::SimOptions options;
    options.faults.split = true;
    const Outcome out = readBack(options);
    EXPECT_TRUE(out.chainDone);
    EXPECT_EQ(out.version, "1.220");
}

TEST_F(SimulatorFaults, AnUnansweredCodeStopsTheChainThere) {
    sim::SimOptions options;
    options.controller.silentCodes = "E";
    const Outcome out = readBack(options);
    EXPECT_FALSE(out.chainDone);
    ASSERT_FALSE(out.asked.empty());
    EXPECT_EQ(out.asked.back(), "?E\r");  // nothing times out, nothing follows
}

TEST_F(SimulatorFaults, ADroppedReplyStallsTheChain) {
    sim::SimOptions options;
    options.faults.dropEvery = 5;
    const Outcome out = readBack(options);
    EXPECT_FALSE(out.chainDone);
    EXPECT_EQ(out.asked.size(), 5u);  // the fifth answer never came
}

TEST_F(SimulatorFaults, AHeldBackReplyStallsTheChain) {
    sim::SimOptions options;
    options.faults.joinEvery = 3;  // held for the next answer, which never gets asked for
    const Outcome out = readBack(options);
    EXPECT_FALSE(out.chainDone);
    EXPECT_EQ(out.asked.size(), 3u);
}

TEST_F(SimulatorFaults, CorruptedRepliesNeverCrash) {
    sim::SimOptions options;
    options.faults.corruptEvery = 4;
    options.faults.corruptByte = 5;  // a value digit: the value changes, the chain goes on
    EXPECT_TRUE(readBack(options).chainDone);

    options.faults.corruptByte = 1;  // the code: an unknown reply that blocks the buffer
    const Outcome out = readBack(options);
    EXPECT_FALSE(out.chainDone);
    EXPECT_EQ(out.asked.size(), 4u);
}

TEST_F(SimulatorFaults, ALineClosedMidChainLeavesTheToolStanding) {
    sim::SimOptions options;
    options.faults.closeAfter = 95;  // part way through the tenth reply
    const Outcome out = readBack(options);
    EXPECT_FALSE(out.chainDone);
    EXPECT_EQ(out.asked.size(), 10u);
}

}  // namespace
}  // namespace orva
