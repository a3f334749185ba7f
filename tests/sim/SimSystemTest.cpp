#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "sim/SimRunner.h"
#include "support/LoaderBytes.h"
#include "support/PtyPeer.h"

extern char** environ;

namespace orva::sim {
namespace {

using namespace std::chrono_literals;
using orva::test::le32Bytes;
using orva::test::loaderPacket;
using orva::test::PtyPeer;

namespace fs = std::filesystem;

fs::path freshDirectory(const std::string& name) {
    const fs::path dir =
        fs::path(::testing::TempDir()) / ("kivrel-sim-" + name + "-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

std::string fileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The runner on its pseudo-terminal, with replies cut into pieces and paced as the baud rate
// would: commands, garbage, the live stream and a firmware image that ends up in a file.
TEST(SimSystemTest, RunnerServesTheLineStreamAndLoader) {
    const fs::path dir = freshDirectory("runner");
    SimOptions options{.faults = {.split = true, .splitGap = 300us, .seed = 3},
                       .streamInterval = 5ms,
                       .wireTiming = true};
    options.imagePath = (dir / "received.bin").string();
    SimRunner sim(options);
    PtyPeer line(sim.start());

    EXPECT_EQ(line.exchange("?V\r", 10), "?V\r=1220\r\n");
    EXPECT_EQ(line.exchange("SC0037\r", 8), "SC0037\r\n");
    EXPECT_EQ(line.exchange("?C\r", 10), "?C\r=0037\r\n");
    line.write(std::string("\x00\xff junk S", 9));
    EXPECT_EQ(line.exchange("\r?n\r", 10), "?n\r=5300\r\n");

    EXPECT_EQ(line.exchange("S~0001\r", 8), "S~0001\r\n");
    const std::string frames3 = line.read(3 * 38);
    ASSERT_EQ(frames3.size(), 3u * 38u);
    EXPECT_EQ(frames3.substr(0, 4) + frames3.substr(38, 4) + frames3.substr(76, 4), "CHDAMSDASSDA");
    line.write("S~0000\r");
    const std::string tail = line.readUntil("S~0000\r\n");
    ASSERT_GE(tail.size(), 8u);
    EXPECT_EQ(tail.substr(tail.size() - 8), "S~0000\r\n");
    EXPECT_EQ(line.drain(300ms), "");  // nothing follows the acknowledgement

    EXPECT_EQ(line.exchange("UPQDMC\r", 6), "RADY\r\n");
    const std::string image = "kivrel";  // 107+105+118+114+101+108 = 653
    EXPECT_EQ(line.exchange(loaderPacket(0xA0, 1), 64), loaderPacket(0xA0, 2));
    EXPECT_EQ(line.exchange(loaderPacket(0xA5, 2, image), 64),
              loaderPacket(0xA5, 3, le32Bytes(653)));
    EXPECT_EQ(line.exchange(loaderPacket(0xC8, 3, le32Bytes(653)), 64),
              loaderPacket(0xC8, 4, le32Bytes(653)));
    EXPECT_EQ(line.exchange(loaderPacket(0xA6, 4), 64), loaderPacket(0xA6, 5, le32Bytes(653)));
    EXPECT_EQ(fileText(options.imagePath), image + std::string(50, '\0'));
    EXPECT_EQ(line.exchange("?V\r", 10), "?V\r=1220\r\n");
    sim.stop();
    EXPECT_FALSE(sim.running());
}

TEST(SimSystemTest, ALineOpenedAgainStartsClean) {
    SimRunner sim({.streamInterval = 2ms});
    const std::string path = sim.start();
    {
        PtyPeer first(path);
        first.exchange("S~0001\r", 8);
        std::this_thread::sleep_for(100ms);  // frames pile up unread, then the port closes
    }
    std::this_thread::sleep_for(100ms);
    PtyPeer second(path);
    const std::string head = second.read(4);
    EXPECT_TRUE(head == "CHDA" || head == "MSDA" || head == "SSDA") << head;
    second.write("S~0000\r");
    const std::string tail = second.readUntil("S~0000\r\n");
    ASSERT_GE(tail.size(), 8u);
    EXPECT_EQ(tail.substr(tail.size() - 8), "S~0000\r\n");
}

TEST(SimSystemTest, ALineClosedAfterNBytesHangsUp) {
    SimRunner closing({.faults = {.closeAfter = 15}});
    PtyPeer cut(closing.start());
    EXPECT_EQ(cut.exchange("?V\r", 10), "?V\r=1220\r\n");
    EXPECT_EQ(cut.exchange("?C\r", 10), "?C\r=0");
    for (int i = 0; i < 100 && closing.running(); ++i) {
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_FALSE(closing.running());
    EXPECT_TRUE(cut.hungUp());
}

// The executable: a child process whose first line of output names the slave device.
class SimProcess {
  public:
    explicit SimProcess(std::vector<std::string> arguments) {
        int out[2];
        if (::pipe(out) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        arguments.insert(arguments.begin(), KIVREL_SIM_EXE);
        std::vector<char*> argv;
        for (std::string& a : arguments) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        if (posix_spawn(&m_pid, KIVREL_SIM_EXE, &actions, nullptr, argv.data(), environ) != 0) {
            m_pid = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        m_out = out[0];
    }
    ~SimProcess() {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
        if (m_out >= 0) {
            ::close(m_out);
        }
    }

    std::string firstLine() {
        std::string line;
        char c = 0;
        pollfd ready{m_out, POLLIN, 0};
        while (::poll(&ready, 1, 5000) > 0 && ::read(m_out, &c, 1) == 1 && c != '\n') {
            line.push_back(c);
        }
        return line;
    }

    // Sends `signal` and returns the exit status, or -1 when it did not exit normally.
    int stop(int signal) {
        ::kill(m_pid, signal);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        m_pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

  private:
    pid_t m_pid = -1;
    int m_out = -1;
};

TEST(SimSystemTest, ExecutableAnswersOverItsLinkAndLogsTheLine) {
    const fs::path dir = freshDirectory("exe");
    const fs::path link = dir / "ttyKIVREL";
    const fs::path log = dir / "wire.log";
    SimProcess sim({"--link", link.string(), "--log", log.string(), "--firmware", "1211"});
    const std::string slave = sim.firstLine();
    ASSERT_EQ(slave.rfind("/dev/", 0), 0u) << slave;
    EXPECT_EQ(fs::read_symlink(link).string(), slave);

    PtyPeer line(link.string());
    EXPECT_EQ(line.exchange("?V\r", 10), "?V\r=1211\r\n");
    EXPECT_EQ(line.exchange("SE0050\r", 8), "SE0050\r\n");
    EXPECT_EQ(sim.stop(SIGTERM), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));

    const std::string text = fileText(log);
    EXPECT_NE(text.find(" RX ?V\\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find(" TX ?V\\r=1211\\r\\n\n"), std::string::npos) << text;
    EXPECT_NE(text.find(" TX SE0050\\r\\n\n"), std::string::npos) << text;

    SimProcess interrupted({});
    ASSERT_FALSE(interrupted.firstLine().empty());
    EXPECT_EQ(interrupted.stop(SIGINT), 0);
}

}  // namespace
}  // namespace orva::sim
