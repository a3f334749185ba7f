#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <thread>
#include <utility>

#include "sim/SimRunner.h"
#include "support/OrvaProcess.h"
#include "support/PtyPeer.h"

namespace orva::sim {
namespace {

using namespace std::chrono_literals;
using namespace orva::test;
namespace fs = std::filesystem;

// The runner on its pseudo-terminal, with replies cut into pieces and paced as the baud rate
// would: the live stream on a line opened twice. (The loader's image file and a closed line are
// seen through the tool in its own system tests.)
TEST(SimSystemTest, RunnerServesTheStreamOnALineOpenedAgain) {
    SimOptions options{.faults = {.split = true, .splitGap = 300us, .seed = 3},
                       .streamInterval = 2ms,
                       .wireTiming = WireTiming::PerByte};
    SimRunner sim(options);
    const std::string path = sim.start();
    {
        PtyPeer first(path);
        EXPECT_EQ(first.exchange("S~0001\r", 8), "S~0001\r\n");
        std::this_thread::sleep_for(100ms);  // frames pile up unread, then the port closes
    }
    std::this_thread::sleep_for(100ms);
    PtyPeer line(path);
    const std::string frames = line.read(4);  // the next frame whole, wherever the last one was
    EXPECT_TRUE(frames == "CHDA" || frames == "MSDA" || frames == "SSDA") << frames;
    line.write("S~0000\r");
    EXPECT_TRUE(line.readUntil("S~0000\r\n").ends_with("S~0000\r\n"));
    EXPECT_EQ(line.drain(300ms), "");  // nothing follows the acknowledgement
}

// Paced per answer, each answer comes in one piece, once the query's 3 bytes, the controller's
// 1 ms and the answer's own 10 bytes would have crossed a 115200 baud line: 13 x 86.8 us + 1 ms.
TEST(SimSystemTest, AnswerPacedLineHandsEachAnswerOverWhole) {
    SimRunner paced({.commandTime = 1000us, .wireTiming = WireTiming::PerAnswer});
    PtyPeer line(paced.start());
    for (int round = 0; round < 3; ++round) {
        const auto asked = std::chrono::steady_clock::now();
        line.write("?V\r");
        EXPECT_EQ(line.readOnce(), "?V\r=1220\r\n");
        EXPECT_GE(std::chrono::steady_clock::now() - asked, 2128us);
    }
}

// The executable, started by a shell that prints its own process id and then becomes it; its
// first line names the slave device. stop() returns the exit status, -1 when it did not exit.
struct SimProcess {
    explicit SimProcess(const std::string& arguments)
        : out(::popen(("echo $$; exec " KIVREL_SIM_EXE " " + arguments).c_str(), "r")) {
        char text[256] = {};
        pid = std::fgets(text, sizeof text, out) != nullptr ? std::atoi(text) : 0;
        firstLine = std::fgets(text, sizeof text, out) != nullptr ? text : "";
    }
    ~SimProcess() { stop(SIGKILL); }
    int stop(int signal) {
        if (out == nullptr || pid <= 0 || ::kill(pid, signal) != 0) {
            return -1;
        }
        const int status = ::pclose(std::exchange(out, nullptr));
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    FILE* out;
    pid_t pid = 0;
    std::string firstLine;
};

TEST(SimSystemTest, ExecutableAnswersOverItsLinkAndLogsTheLine) {
    const fs::path dir = freshDir(), link = dir / "ttyKIVREL", log = dir / "wire.log";
    SimProcess sim("--link " + link.string() + " --log " + log.string() + " --firmware 1211");
    ASSERT_TRUE(sim.firstLine.starts_with("/dev/")) << sim.firstLine;
    EXPECT_EQ(fs::read_symlink(link).string() + "\n", sim.firstLine);
    PtyPeer line(link.string());
    line.write("?X\r");  // no such parameter
    EXPECT_EQ(line.exchange("?V\r", 10), "?V\r=1211\r\n");
    EXPECT_EQ(sim.stop(SIGTERM), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
    const std::string text = fileBytes(log);
    // Each frame on a line of its own, in order; one not understood is marked.
    const std::size_t ignored = text.find(" RX-IGNORED ?X\\r\n"), asked = text.find(" RX ?V\\r\n");
    EXPECT_LT(ignored, asked) << text;
    EXPECT_NE(text.find(" TX ?V\\r=1211\\r\\n\n", asked), text.npos) << text;

    SimProcess interrupted("");
    EXPECT_TRUE(interrupted.firstLine.starts_with("/dev/"));
    EXPECT_EQ(interrupted.stop(SIGINT), 0);
}

}  // namespace
}  // namespace orva::sim
