#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "Golden.h"
#include "core/OrvaCore.h"
#include "model/ControlIds.h"
#include "platform/PosixFiles.h"
#include "platform/SteadyClock.h"
#include "sim/SimRunner.h"
#include "support/Fakes.h"
#include "support/OrvaProcess.h"
#include "support/SimulatorLine.h"

namespace orva {
namespace {

using namespace std::chrono_literals;

struct Result {
    int status = -1;
    std::string out;
    std::string err;
    std::chrono::milliseconds took{0};
};

// orva-cli against the simulated controller, with COM3 standing for its line.
class CliAgainstSimulator : public ::testing::Test {
  protected:
    ~CliAgainstSimulator() override { std::filesystem::remove_all(m_dir); }

    std::string start(sim::SimOptions options = {}) {
        options.logPath = m_dir / "wire.log";
        std::filesystem::remove_all(m_dir / "data");  // the backups of the controller before
        m_sim = std::make_unique<sim::SimRunner>(options);
        return m_device = m_sim->start();
    }
    Result cli(std::vector<std::string> args) {
        const auto begin = std::chrono::steady_clock::now();
        const pid_t pid = fork();
        if (pid == 0) {
            setenv("ORVA_COM3", m_device.c_str(), 1);
            setenv("XDG_DATA_HOME", (m_dir / "data").c_str(), 1);
            dup2(open((m_dir / "out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 1);
            dup2(open((m_dir / "err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
            // A loaded test machine may answer slower than a controller: a generous time-out
            // unless the case sets its own.
            std::vector<char*> argv{const_cast<char*>(ORVA_CLI_BINARY), const_cast<char*>("--port"),
                                    const_cast<char*>("COM3"), const_cast<char*>("--timeout"),
                                    const_cast<char*>("20000")};
            for (std::string& a : args) {
                argv.push_back(a.data());
            }
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, test::fileBytes(m_dir / "out"),
                test::fileBytes(m_dir / "err"),
                std::chrono::duration_cast<std::chrono::milliseconds>(
                    std::chrono::steady_clock::now() - begin)};
    }
    std::string path(const char* name) const { return m_dir / name; }

    std::filesystem::path m_dir = test::freshDir();
    std::unique_ptr<sim::SimRunner> m_sim;
    std::string m_device;
};

// Steps against one controller, each with its exit status and a piece of its stdout.
struct Step {
    std::vector<std::string> args;
    int status;
    std::string out;  // must appear in stdout; "=" first: stdout is exactly the rest
};

TEST_F(CliAgainstSimulator, CommandsDoWhatTheySay) {
    const std::string golden = path("golden.txt"), edited = path("edited.txt"),
                      image = path("odd.bin"), junk = path("junk.txt");
    std::string file = test::goldenSaveFile();
    std::ofstream(golden, std::ios::binary) << file;
    // Line 4 holds the main stability, "0045", behind its 13-byte label.
    std::size_t at = 0;
    for (int line = 0; line < 4; ++line) {
        at = file.find("\r\r\n", at) + 3;
    }
    file.replace(at + 15, 2, "46");
    std::ofstream(edited, std::ios::binary) << file;
    std::ofstream(junk) << "not a saved file\n";
    std::ofstream(image, std::ios::binary) << std::string(1001, '\x5A');

    const std::string cRow = "C\tStabili_Level\t主稳定度";
    const std::vector<std::pair<std::string, std::vector<Step>>> cases = {
        {"read in both forms",
         {{{"read"}, 0, "firmware\t1.220\n" + cRow + "\t55\t55\n"},
          {{"read", "--json"},
           0,
           "{\"firmware\":\"1.220\",\"parameters\":[{\"code\":\"C\",\"english\":"
           "\"Stabili_Level\",\"chinese\":\"主稳定度\",\"shown\":55,\"wire\":55},"}}},
        {"set and get",
         {{{"set", "C", "37"}, 0, "="},
          {{"get", "C"}, 0, "=37\n"},
          {{"set", "C", "101"}, 2, "="},
          {{"get", "?"}, 2, "="}}},
        {"default set", {{{"default", "2"}, 0, cRow}, {{"get", "A"}, 0, "=9\n"}}},
        {"restore, then diff",
         {{{"restore", golden, "--dry-run"}, 0, cRow + "\t55 [55]\t45 [45]\n"},
          {{"diff", golden}, 0, cRow},
          {{"restore", golden}, 0, cRow},
          {{"diff", golden}, 0, "="},
          {{"diff", golden, edited}, 0, "=" + cRow + "\t45 [45]\t46 [46]\n"},
          {{"restore", junk}, 6, "="}}},
        {"flash",
         {{{"save", path("before.txt")}, 0, "="},
          {{"flash", image}, 0, "="},
          {{"flash", junk}, 6, "="}}},
    };
    for (const auto& [name, steps] : cases) {
        SCOPED_TRACE(name);
        start({.imagePath = path("received.bin")});
        for (const Step& step : steps) {
            const Result r = cli(step.args);
            EXPECT_EQ(r.status, step.status) << step.args[0] << "\n" << r.err;
            if (step.out.starts_with("=")) {
                EXPECT_EQ(r.out, step.out.substr(1)) << step.args[0];
            } else {
                EXPECT_NE(r.out.find(step.out), std::string::npos) << step.args[0] << r.out;
            }
        }
    }
    // The flash kept the settings first, as Save Data writes them.
    const std::filesystem::directory_iterator backups(m_dir / "data/Orva/backups");
    EXPECT_TRUE(test::fileBytes(backups->path()) == test::fileBytes(path("before.txt")));
    // 1001 bytes and the zero behind them fill 18 packets of 56 bytes.
    EXPECT_TRUE(test::fileBytes(path("received.bin")) ==
                std::string(1001, '\x5A') + std::string(7, '\0'));
}

TEST_F(CliAgainstSimulator, MonitorCountsAndStopsTheStreamAndPortsNameTheLine) {
    start();
    const Result r = cli({"monitor", "--count", "4", "--json"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 4);
    EXPECT_TRUE(r.out.starts_with("{\"receiver\":[")) << r.out;
    // The controller's thread logs the stop command a moment after orva-cli has gone.
    bool stopped = false;
    for (int ms = 0; ms < 3000 && !stopped; ms += 20) {
        std::this_thread::sleep_for(20ms);
        stopped = test::fileBytes(path("wire.log")).find("RX S~0000") != std::string::npos;
    }
    EXPECT_TRUE(stopped);
    EXPECT_NE(cli({"ports"}).out.find("COM3\t" + m_device + "\n"), std::string::npos);
}

// A controller that does not answer, one that refuses an image, and a port that is not there:
// their own exit codes, soon.
TEST_F(CliAgainstSimulator, FailuresGiveTheirOwnExitCodes) {
    start({.controller = {.silentCodes = "V"}});
    Result r = cli({"--timeout", "300", "read"});
    EXPECT_EQ(r.status, 4);
    EXPECT_NE(r.err.find("\"?V\" within 300 ms"), std::string::npos) << r.err;
    EXPECT_LT(r.took, 3s);
    // The 90th answer is the end packet's: 68 read-back replies, the loader's tag and ready word,
    // the start and 18 data packets before it. Its checksum, hit, refuses the image.
    start({.faults = {.corruptEvery = 90, .corruptByte = 8}});
    std::ofstream(path("odd.bin"), std::ios::binary) << std::string(1001, '\x5A');
    r = cli({"--no-backup", "flash", path("odd.bin")});
    EXPECT_EQ(r.status, 5) << r.err;
    m_device = "/dev/orva-no-such-tty";
    r = cli({"read"});
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find("/dev/orva-no-such-tty"), std::string::npos) << r.err;
}

// What must not be written is not: no file of values never read, no overwrite without a backup,
// no value Save Data could not have written. Not a set command reaches the controller.
TEST_F(CliAgainstSimulator, NothingIsWrittenWithoutAWholeReadBackOrABackup) {
    const std::string golden = path("golden.txt"), image = path("odd.bin");
    std::ofstream(golden, std::ios::binary) << test::goldenSaveFile();
    std::ofstream(image, std::ios::binary) << std::string(1001, '\x5A');
    // The golden file with line `line` holding `value` behind its 13-byte label.
    auto edited = [&](int line, const std::string& value) {
        std::string file = test::goldenSaveFile();
        std::size_t at = 0;
        for (int i = 0; i < line; ++i) {
            at = file.find("\r\r\n", at) + 3;
        }
        file.replace(at + 13, file.find("\r\r\n", at) - at - 13, value);
        const std::string name = path(("line" + std::to_string(line) + ".txt").c_str());
        std::ofstream(name, std::ios::binary) << file;
        return name;
    };
    enum class Fault { Damaged, NoFolder, None };
    struct Case {
        Fault fault;
        std::vector<std::string> args;
        int status;
        std::string err;
    };
    const Case cases[] = {
        // Every reply damaged: the version and every value unread.
        {Fault::Damaged, {"save", path("zeros.txt")}, 4, "not every setting was read (VCAB"},
        {Fault::Damaged, {"restore", golden}, 4, "so no backup can be kept"},
        {Fault::Damaged, {"flash", image}, 4, "nothing was written"},
        // The backup folder's parent is a file.
        {Fault::NoFolder, {"restore", golden}, 6, "no backup written: "},
        {Fault::NoFolder, {"flash", image}, 6, "nothing was written to the controller"},
        // Values no list, check box or read-back puts there.
        {Fault::None, {"restore", edited(1, "0099")}, 6, "line 2 is not"},
        {Fault::None, {"restore", edited(41, "7")}, 6, "line 42 is not"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args.back());
        std::filesystem::remove(path("wire.log"));
        start({.faults = {.corruptEvery = c.fault == Fault::Damaged ? 1 : 0}});
        if (c.fault == Fault::NoFolder) {
            std::ofstream(path("data")) << "a file";
        }
        const Result r = cli(c.args);
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
        EXPECT_FALSE(std::filesystem::exists(path("zeros.txt")));
        EXPECT_FALSE(std::filesystem::is_directory(path("data")));
        EXPECT_EQ(test::fileBytes(path("wire.log")).find("RX S"), std::string::npos);
    }
    // Told to go on without a backup, it does.
    std::ofstream(path("data")) << "a file";
    EXPECT_EQ(cli({"--no-backup", "default", "1"}).status, 0);
}

// A pilot's settings across an upgrade over the 1211/1212 boundary, both ways: kept by
// flash --keep-settings, and by a restore of the backup taken before it. The power-on set 1 is
// the pilot's; the new firmware starts from set 0, whose gimbal values differ (K 50, % 40, + 30).
TEST_F(CliAgainstSimulator, SettingsShowAsBeforeAfterAnUpgradeAcrossTheGimbalBoundary) {
    std::ofstream(path("odd.bin"), std::ios::binary) << std::string(1001, '\x5A');
    for (const auto& [from, to] : {std::pair(1211, 1220), std::pair(1220, 1211)}) {
        SCOPED_TRACE(from);
        start({.controller = {.firmwareVersion = from, .upgradeTo = to}});
        Result r = cli({"flash", path("odd.bin"), "--keep-settings"});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_NE(r.err.find("KJ%)+ converted"), std::string::npos) << r.err;
        const std::string firmware = to == 1211 ? "firmware\t1.211\n" : "firmware\t1.220\n";
        const std::string wire = to == 1211 ? "\t55\t155\n" : "\t55\t55\n";
        EXPECT_NE(cli({"read"}).out.find(firmware + "C\tStabili_Level\t主稳定度\t55\t55\n"),
                  std::string::npos);
        // The backup taken before the upgrade, named with the firmware it was read from: as it
        // stands, its K would show 155 on 1220 and -45 on 1211.
        std::string backup;
        for (const auto& e : std::filesystem::directory_iterator(m_dir / "data/Orva/backups")) {
            if (e.path().string().ends_with("_fw" + std::to_string(from) + ".txt")) {
                backup = e.path();
            }
        }
        r = cli({"restore", backup});
        EXPECT_EQ(r.status, 0) << r.err;
        const std::string out = cli({"read"}).out;
        EXPECT_NE(out.find("K\tGim Pitch Scale\t云台俯仰比例" + wire), std::string::npos) << out;
    }
}

// A pitch scale of 150, which 1220 shows and 1211 cannot: listed, exit 5.
TEST_F(CliAgainstSimulator, ASettingTheNewFirmwareCannotShowIsListed) {
    std::ofstream(path("odd.bin"), std::ios::binary) << std::string(1001, '\x5A');
    start({.controller = {.upgradeTo = 1211}});
    std::string file = test::goldenSaveFile();
    std::size_t at = 0;
    for (int line = 0; line < 18; ++line) {
        at = file.find("\r\r\n", at) + 3;
    }
    std::ofstream(path("wide.txt"), std::ios::binary) << file.replace(at + 13, 4, "0150");
    ASSERT_EQ(cli({"restore", path("wide.txt"), "--saved-on", "1220"}).status, 0);
    const Result r = cli({"flash", path("odd.bin"), "--keep-settings"});
    EXPECT_EQ(r.status, 5) << r.err;
    EXPECT_EQ(r.out, "K\tGim Pitch Scale\t云台俯仰比例\t150 [150]\t100 [200]\n");
}

// The same controller state saved by the window's Save Data and by orva-cli: the same bytes.
TEST_F(CliAgainstSimulator, SaveWritesTheWindowsBytes) {
    {
        test::EventLoop loop;
        SteadyClock clock;
        test::ScriptedPrompts prompts;
        PosixFiles files;
        test::RecordingPort port(test::comTo(start()));
        OrvaCore core(port, clock, prompts, files, path("qdmcconfig.ini"));
        core.initialise();
        ASSERT_TRUE(test::runUntil(
            loop.app, [&] { return port.readBackDone(); }, 20000));
        prompts.files.push_back(path("window.txt"));
        core.onUserAction({ActionKind::Click, ids::main::kSaveData});
    }
    const Result r = cli({"save", path("cli.txt")});
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string window = test::fileBytes(path("window.txt"));
    EXPECT_GT(window.size(), 2000u);
    EXPECT_TRUE(test::fileBytes(path("cli.txt")) == window);
}

}  // namespace
}  // namespace orva
