#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "Golden.h"
#include "sim/SimRunner.h"
#include "support/OrvaProcess.h"

namespace orva {
namespace {

using namespace std::chrono_literals;

struct Result {
    int status = -1;
    std::string out;
    std::string err;
    std::string wire;  // what the controller received and sent meanwhile
    std::chrono::milliseconds took{0};
};

// Where orva-cli's stdout goes, as a script sends it.
enum class Out {
    File,
    Full,     // /dev/full: every write fails
    HeadOne,  // a pipe whose reader takes one line and goes, as `| head -1`
};

// One run of orva-cli, as a script or a user runs it, and what must come of it.
struct Step {
    std::vector<std::string> args;
    int status = 0;
    std::string out;   // must appear in stdout; "=" first: stdout is exactly the rest
    std::string err;   // each of its '|'-separated pieces must appear in stderr
    std::string wire;  // must reach the controller's log; "!" first: must not
    Out output = Out::File;
    std::vector<int> interrupts;  // sent 0.3 s apart, once `when` is in the controller's log
    std::string when;
    std::string in;                       // standard input
    bool terminal = false;                // stderr is a terminal
    bool ownTimeout = false;              // without the harness's generous --timeout
    std::chrono::milliseconds within{0};  // at most this long, when not 0
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
    Result cli(const Step& step) {
        const auto begin = std::chrono::steady_clock::now();
        const std::size_t logged = wire().size();
        std::ofstream(m_dir / "in", std::ios::binary) << step.in;
        int pipeFds[2] = {-1, -1};
        if (step.output == Out::HeadOne && pipe(pipeFds) != 0) {
            return {};
        }
        int master = -1;
        if (step.terminal) {
            master = posix_openpt(O_RDWR | O_NOCTTY);
            grantpt(master);
            unlockpt(master);
        }
        const pid_t pid = fork();
        if (pid == 0) {
            setenv("ORVA_COM3", m_device.c_str(), 1);
            setenv("XDG_DATA_HOME", (m_dir / "data").c_str(), 1);
            dup2(open((m_dir / "in").c_str(), O_RDONLY), 0);
            const int out = step.output == Out::Full ? open("/dev/full", O_WRONLY)
                            : step.output == Out::HeadOne
                                ? pipeFds[1]
                                : open((m_dir / "out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            dup2(out, 1);
            close(pipeFds[0]);  // the reader is the test's alone, so its close is seen
            dup2(master >= 0 ? open(ptsname(master), O_WRONLY | O_NOCTTY)
                             : open((m_dir / "err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600),
                 2);
            // A loaded test machine may answer slower than a controller: a generous time-out
            // unless the step tests the default.
            std::vector<const char*> argv{ORVA_CLI_BINARY, "--port", "COM3", "--timeout", "20000"};
            argv.resize(step.ownTimeout ? 3 : 5);
            for (const std::string& a : step.args) {
                argv.push_back(a.c_str());
            }
            argv.push_back(nullptr);
            execv(argv[0], const_cast<char* const*>(argv.data()));
            _exit(127);
        }
        Result r;
        close(pipeFds[1]);
        for (int fd : {pipeFds[0], master}) {
            fcntl(fd, F_SETFL, O_NONBLOCK);
        }
        auto drain = [](int fd, std::string& into) {
            char buffer[4096];
            for (ssize_t n; fd >= 0 && (n = read(fd, buffer, sizeof buffer)) > 0;) {
                into.append(buffer, static_cast<std::size_t>(n));
            }
        };
        std::size_t signalled = 0;
        auto nextSignal = begin;
        int status = 0;
        while (waitpid(pid, &status, WNOHANG) == 0) {
            drain(master, r.err);
            drain(pipeFds[0], r.out);
            if (pipeFds[0] >= 0 && r.out.find('\n') != std::string::npos) {
                r.out.resize(r.out.find('\n') + 1);
                close(std::exchange(pipeFds[0], -1));
            }
            if (signalled < step.interrupts.size() &&
                std::chrono::steady_clock::now() > nextSignal &&
                wire().find(step.when, logged) != std::string::npos) {
                kill(pid, step.interrupts[signalled++]);
                nextSignal = std::chrono::steady_clock::now() + 300ms;
            }
            std::this_thread::sleep_for(5ms);
        }
        drain(master, r.err);
        close(master);
        close(pipeFds[0]);
        r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (step.output == Out::File) {
            r.out = test::fileBytes(m_dir / "out");
        }
        if (!step.terminal) {
            r.err = test::fileBytes(m_dir / "err");
        }
        r.took = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - begin);
        // The controller's thread logs the last command a moment after orva-cli has gone.
        for (int ms = 0; ms < 3000; ms += 20) {
            r.wire = wire().substr(logged);
            if (step.wire.starts_with("!") || r.wire.find(step.wire) != std::string::npos) {
                break;
            }
            std::this_thread::sleep_for(20ms);
        }
        return r;
    }
    std::string wire() const { return test::fileBytes(m_dir / "wire.log"); }
    std::string path(const char* name) const { return m_dir / name; }

    std::filesystem::path m_dir = test::freshDir();
    std::unique_ptr<sim::SimRunner> m_sim;
    std::string m_device;
};

// Runs against one controller each, with what the controller must have received in the end.
struct Case {
    const char* name;
    sim::SimOptions sim;
    std::vector<Step> steps;
    std::string image;   // the firmware image the controller's loader must have received
    std::string device;  // instead of the controller's line
};

TEST_F(CliAgainstSimulator, WhatAScriptReliesOn) {
    const std::string golden = path("golden.txt"), edited = path("edited.txt"),
                      image = path("odd.bin"), junk = path("junk.txt"), big = path("64k.bin");
    std::string bigImage(65536, '\0');
    for (std::size_t i = 0; i < bigImage.size(); ++i) {
        bigImage[i] = static_cast<char>((i * 73 + 5) % 251);
    }
    std::ofstream(big, std::ios::binary) << bigImage;
    std::string file = test::goldenSaveFile();
    std::ofstream(golden, std::ios::binary) << file;
    const std::string goldenBytes = file;
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
    const std::string backups = (m_dir / "data/Orva/backups/").string();
    const std::vector<Case> cases = {
        {"read in both forms",
         {},
         {{{"read"},
           0,
           "firmware\t1.220\n" + cRow + "\t55\t55\nA\tMultiAxilMod\t多轴模式\t4\t5\t5. QUADX\n"},
          {{"read", "--json"},
           0,
           "{\"firmware\":\"1.220\",\"parameters\":[{\"code\":\"C\",\"english\":"
           "\"Stabili_Level\",\"chinese\":\"主稳定度\",\"shown\":55,\"wire\":55},{\"code\":"
           "\"A\",\"english\":\"MultiAxilMod\",\"chinese\":\"多轴模式\",\"shown\":4,\"wire\":5,"
           "\"item\":\"5. QUADX\"},"},
          {{"--json", "read"}, 7, "=", "No space left on device", "", Out::Full}}},
        // Heading lock sends headless after it: the two exclude each other on a switch position.
        {"set and get",
         {},
         {{{"set", "C", "37"}, 0, "=", "", "RX SC0037\\r"},
          {{"set", "d", "16"}, 0, "=", "", "RX Se0000\\r"},
          {{"get", "C"}, 0, "=37\n"},
          {{"set", "C", "101"}, 2, "=", "out of range"},
          {{"get", "?"}, 2, "="}}},
        // Acknowledged but not kept: the read-back after the write tells.
        {"a controller that does not keep a value",
         {.controller = {.unkeptCodes = "C"}},
         {{{"set", "C", "37"}, 5, "=", "the controller did not take C = 37: it reads back 55"},
          {{"restore", golden}, 5, cRow, "did not take C = 45: it reads back 55", "RX SO"}}},
        {"default set", {}, {{{"default", "2"}, 0, cRow}, {{"get", "A"}, 0, "=9\n"}}},
        {"restore, then diff, from files and stdin",
         {},
         {{{"restore", golden, "--dry-run"}, 0, cRow + "\t55 [55]\t45 [45]\n"},
          {{"diff", golden, "--json"}, 0, "{\"differences\":[{\"left\":{\"code\":\"C\""},
          {.args = {"restore", "-"},
           .out = cRow,
           .err = "restored -",
           .wire = "RX SO",
           .in = goldenBytes},
          {{"diff", golden}, 0, "="},
          {.args = {"diff", "-", edited},
           .out = "=" + cRow + "\t45 [45]\t46 [46]\n",
           .in = goldenBytes},
          {{"restore", junk}, 6, "="}}},
        {"an interrupted restore",
         {},
         {{.args = {"restore", golden},
           .out = cRow,
           .err = "press Ctrl-C again to stop anyway|restored ",
           .wire = "RX SO",
           .interrupts = {SIGINT},
           .when = "RX SR"},
          {.args = {"restore", golden},
           .status = 130,
           .err = "press Ctrl-C again to stop anyway|stopped: |commands of the restore sent|"
                  "to put the backup back: orva-cli --port COM3 restore " +
                  backups,
           .wire = "!RX SO",
           .interrupts = {SIGINT, SIGINT},
           .when = "RX SR"}}},
        {"the stream stops however the monitor ends",
         {},
         {{{"monitor", "--count", "4", "--json"}, 0, "\"receiver\":[", "", "RX S~0000"},
          // The first frame carries one kind of values: the others have not been received.
          {{"monitor", "--json"}, 7, "\":null,", "Broken pipe", "RX S~0000", Out::HeadOne},
          {.args = {"monitor"}, .wire = "RX S~0000", .interrupts = {SIGHUP}, .when = "RX S~0001"},
          {.args = {"monitor"}, .wire = "RX S~0000", .interrupts = {SIGTERM}, .when = "RX S~0001"},
          {.args = {"monitor"}, .wire = "RX S~0000", .interrupts = {SIGINT}, .when = "RX S~0001"},
          {{"ports"}, 0, "COM3\t{device}\n"}}},
        {"a controller that does not answer",
         {.controller = {.silentCodes = "V"}},
         {{.args = {"--timeout", "300", "read"},
           .status = 4,
           .out = "=",
           .err = "\"?V\" within 300 ms",
           .ownTimeout = true,
           .within = 3s}}},
        // The 90th answer is the end packet's: 68 read-back replies, the loader's tag and ready
        // word, the start and 18 data packets before it. Its checksum, hit, refuses the image.
        {"a controller that refuses an image",
         {.faults = {.corruptEvery = 90, .corruptByte = 8}},
         {{{"--no-backup", "flash", image}, 5, "="}}},
        {"a port that is not there",
         {},
         {{{"read"}, 3, "=", "/dev/orva-no-such-tty"}},
         "",
         "/dev/orva-no-such-tty"},
        // A 64 KiB image as a USB adapter paces it: 1171 packets, the last padded with 40 zeros.
        {"flash",
         {.wireTiming = sim::WireTiming::PerAnswer},
         {{{"save", path("before.txt")}, 0, "="},
          {{"flash", image}, 0, "=", "firmware upgraded"},
          {.args = {"--no-backup", "flash", big},
           .out = "=",
           .err = "\rupgrading [ |] 0%|\rupgrading [#|] 100%",
           .terminal = true},
          {{"flash", junk}, 6, "="}},
         bigImage + std::string(40, '\0')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim::SimOptions options = c.sim;
        options.imagePath = path("received.bin");
        std::filesystem::remove(options.imagePath);
        start(options);
        if (!c.device.empty()) {
            m_device = c.device;
        }
        for (const Step& step : c.steps) {
            const Result r = cli(step);
            const std::string what = step.args.back();
            EXPECT_EQ(r.status, step.status) << what << "\n" << r.err;
            std::string out = step.out;
            if (const auto mark = out.find("{device}"); mark != std::string::npos) {
                out.replace(mark, 8, m_device);
            }
            if (out.starts_with("=")) {
                EXPECT_TRUE(r.out == out.substr(1)) << what << "\n" << r.out;
            } else {
                EXPECT_NE(r.out.find(out), std::string::npos) << what << "\n" << r.out;
            }
            for (std::size_t from = 0, to = 0; to != std::string::npos; from = to + 1) {
                to = step.err.find('|', from);
                EXPECT_NE(r.err.find(step.err.substr(from, to - from)), std::string::npos)
                    << what << "\n"
                    << r.err;
            }
            if (step.wire.starts_with("!")) {
                EXPECT_EQ(r.wire.find(step.wire.substr(1)), std::string::npos) << what;
            } else {
                EXPECT_NE(r.wire.find(step.wire), std::string::npos) << what;
            }
            // A pipe or a file gets whole lines, not a progress line redrawn by "\r".
            EXPECT_TRUE(step.terminal || r.err.find('\r') == std::string::npos) << what;
        }
        if (!c.image.empty()) {
            EXPECT_TRUE(test::fileBytes(path("received.bin")) == c.image);
        }
    }
    // The flash, last, kept the settings first, as Save Data writes them.
    const std::filesystem::directory_iterator kept(m_dir / "data/Orva/backups");
    EXPECT_TRUE(test::fileBytes(kept->path()) == test::fileBytes(path("before.txt")));
}

// What must not be written is not: no file of values never read, no overwrite without a backup,
// no value Save Data could not have written. Not a set command reaches the controller.
TEST_F(CliAgainstSimulator, NothingIsWrittenWithoutAWholeReadBackOrABackup) {
    const std::string golden = path("golden.txt"), image = path("odd.bin");
    std::ofstream(golden, std::ios::binary) << test::goldenSaveFile();
    std::ofstream(image, std::ios::binary) << std::string(1001, '\x5A');
    // Line 2, the multi-axis mode, holding no list position.
    std::string wide = test::goldenSaveFile();
    std::ofstream(path("wide.txt"), std::ios::binary)
        << wide.replace(wide.find("\r\r\n") + 3 + 13, 4, "0099");
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
        {Fault::None, {"restore", path("wide.txt")}, 6, "line 2 is not"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args.back());
        std::filesystem::remove(path("wire.log"));
        start({.faults = {.corruptEvery = c.fault == Fault::Damaged ? 1 : 0}});
        if (c.fault == Fault::NoFolder) {
            std::ofstream(path("data")) << "a file";
        }
        const Result r = cli({.args = c.args});
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
        EXPECT_FALSE(std::filesystem::exists(path("zeros.txt")));
        EXPECT_FALSE(std::filesystem::is_directory(path("data")));
        EXPECT_EQ(test::fileBytes(path("wire.log")).find("RX S"), std::string::npos);
    }
    // Told to go on without a backup, it does.
    std::ofstream(path("data")) << "a file";
    EXPECT_EQ(cli({.args = {"--no-backup", "default", "1"}}).status, 0);
}

// A pilot's settings across an upgrade over the 1211/1212 boundary, both ways: kept by
// flash --keep-settings, and by a restore of the backup taken before it. The power-on set 1 is
// the pilot's; the new firmware starts from set 0, whose gimbal values differ (K 50, % 40, + 30).
TEST_F(CliAgainstSimulator, SettingsShowAsBeforeAfterAnUpgradeAcrossTheGimbalBoundary) {
    std::ofstream(path("odd.bin"), std::ios::binary) << std::string(1001, '\x5A');
    for (const auto& [from, to] : {std::pair(1211, 1220), std::pair(1220, 1211)}) {
        SCOPED_TRACE(from);
        start({.controller = {.firmwareVersion = from, .upgradeTo = to}});
        Result r = cli({.args = {"flash", path("odd.bin"), "--keep-settings"}});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_NE(r.err.find("KJ%)+ converted"), std::string::npos) << r.err;
        const std::string firmware = to == 1211 ? "firmware\t1.211\n" : "firmware\t1.220\n";
        const std::string wire = to == 1211 ? "\t55\t155\n" : "\t55\t55\n";
        EXPECT_NE(
            cli({.args = {"read"}}).out.find(firmware + "C\tStabili_Level\t主稳定度\t55\t55\n"),
            std::string::npos);
        // The backup taken before the upgrade, named with the firmware it was read from: as it
        // stands, its K would show 155 on 1220 and -45 on 1211.
        std::string backup;
        for (const auto& e : std::filesystem::directory_iterator(m_dir / "data/Orva/backups")) {
            if (e.path().string().ends_with("_fw" + std::to_string(from) + ".txt")) {
                backup = e.path();
            }
        }
        r = cli({.args = {"restore", backup}});
        EXPECT_EQ(r.status, 0) << r.err;
        const std::string out = cli({.args = {"read"}}).out;
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
    ASSERT_EQ(cli({.args = {"restore", path("wide.txt"), "--saved-on", "1220"}}).status, 0);
    const Result r = cli({.args = {"flash", path("odd.bin"), "--keep-settings"}});
    EXPECT_EQ(r.status, 5) << r.err;
    EXPECT_EQ(r.out, "K\tGim Pitch Scale\t云台俯仰比例\t150 [150]\t100 [200]\n");
}

// "-" is stdout: the bytes of the saved file, and nothing but them. (The flash above compared a
// saved file with the backup, whose bytes are Save Data's.)
TEST_F(CliAgainstSimulator, SaveToStdoutWritesTheFilesBytes) {
    start();
    ASSERT_EQ(cli({{"save", path("cli.txt")}, 0}).status, 0);
    const std::string saved = test::fileBytes(path("cli.txt"));
    EXPECT_GT(saved.size(), 2000u);
    EXPECT_TRUE(cli({{"save", "-"}, 0}).out == saved);
}

}  // namespace
}  // namespace orva
