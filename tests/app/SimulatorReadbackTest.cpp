#include <gtest/gtest.h>

#include <QCoreApplication>

#include <stdlib.h>
#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>

#include "core/OrvaCore.h"
#include "model/ControlIds.h"
#include "platform/PosixFiles.h"
#include "platform/SteadyClock.h"
#include "platform/SystemCalendar.h"
#include "sim/SimRunner.h"
#include "support/Fakes.h"
#include "support/OrvaProcess.h"
#include "support/PtyPeer.h"
#include "support/SimulatorLine.h"

namespace orva {
namespace {

using namespace std::chrono_literals;

// The core on the real Qt port and real files in a folder of its own, against the simulated
// controller on a pseudo-terminal.
class SimulatorReadback : public ::testing::Test {
  protected:
    SimulatorReadback() {
        char pattern[] = "/tmp/orva-sim-XXXXXX";
        m_dir = mkdtemp(pattern);
    }
    ~SimulatorReadback() override { std::filesystem::remove_all(m_dir); }

    bool runUntil(const std::function<bool()>& done, int ms = 30000) {
        return test::runUntil(m_app, done, ms);
    }
    // Runs the start-up read-back; true when it reached its end. With `stallAt`, the chain is
    // expected to stop after that many queries: nothing more may be asked for a while.
    bool readBack(const sim::SimOptions& options, std::size_t stallAt = 0) {
        m_core.reset();
        m_port.reset();
        m_controller = std::make_unique<sim::SimRunner>(options);
        const std::string device = m_controller->start();
        // With a link, COM3 stands for the link, which a controller plugged in again takes over.
        m_port = std::make_unique<test::RecordingPort>(
            test::comTo(options.linkPath.empty() ? device : options.linkPath));
        m_core = std::make_unique<OrvaCore>(*m_port, m_clock, m_prompts, m_files,
                                            m_dir + "/qdmcconfig.ini");
        m_core->initialise();
        if (stallAt == 0) {
            return runUntil([&] { return m_port->readBackDone(); });
        }
        runUntil([&] { return m_port->sent.size() >= stallAt; });
        runUntil([] { return false; }, 200);
        return m_port->readBackDone();
    }
    std::string asked() const {
        std::string codes;
        for (const std::string& query : m_port->sent) {
            codes += query.size() == 3 && query[0] == '?' && query[2] == '\r' ? query[1] : '#';
        }
        return codes;
    }

    test::EventLoop m_loop;
    QCoreApplication& m_app = m_loop.app;
    std::string m_dir;
    SteadyClock m_clock;
    test::ScriptedPrompts m_prompts;
    PosixFiles m_files;
    std::unique_ptr<sim::SimRunner> m_controller;
    std::unique_ptr<test::RecordingPort> m_port;
    std::unique_ptr<OrvaCore> m_core;
};

// The store slots that are not 0 after reading the power-on set 1 of firmware 1220.
const std::pair<int, int> kSetOneSlots[] = {
    {0, 5},    {1, 5},    {2, 3},  // A 5 (QUADX), B 7 (400 Hz), P 4 (333 Hz): list index + 1
    {3, 55},   {4, 45},   {5, 50},   {6, 50},   {7, 40},   // C D E F G
    {8, 55},   {9, 45},   {10, 50},  {11, 35},  {12, 50},  // Y Z R T `
    {13, 45},  {14, 40},  {15, 35},  {16, 45},             // @ # $ !
    {17, 55},  {18, 50},  {19, 45},  {20, 45},  {21, 45},
    {22, 40},                                               // K J % _ ) +; & ^ ( at 100
    {26, 340}, {27, 395}, {28, 394}, {29, 396}, {30, 393},  // L; cells 3950.. in tenths
    {31, 1},   {32, 1},   {33, 1},   {34, 1},   {35, 1},
    {36, 1},  // M 63: bits 0 to 5
    {55, 1},   {80, 1},   {95, 1},   {141, 1},  {156, 1},
    {171, 1},  // a 1, c 2, d 16, g 4, h 32, i 256
};

TEST_F(SimulatorReadback, RepliesInPiecesFillTheStoreWithTheControllersSettings) {
    ASSERT_TRUE(readBack({.faults = {.split = true, .splitGap = 200us}})) << asked();
    // Each 0 (N, O, b, e, f, =) asked three more times.
    EXPECT_EQ(asked(), "VCABDEFG!@#$HIJK%^&()_+LRT`YZQ4567MNNNNOOOOPabbbbcdeeeeffff====ghi<j");
    std::vector<int> expected(ParameterStore::kUsed, 0);
    for (const auto& [slot, value] : kSetOneSlots) {
        expected[slot] = value;
    }
    for (int slot = 0; slot < ParameterStore::kUsed; ++slot) {
        EXPECT_EQ(m_core->store().get(slot), expected[slot]) << "slot " << slot;
    }
}

// Nothing times out: a reply that never comes whole leaves the chain at its query, where the
// label beside the port list says so after 2 s; a corrupted value digit or replies held back
// and joined do not stop it.
TEST_F(SimulatorReadback, LineFaultsStallTheChainAtTheirQuery) {
    struct Case {
        const char* name;
        sim::SimOptions options;
        std::string_view asked;  // empty: the chain runs to its end
    };
    const Case cases[] = {
        {"silent E", {.controller = {.silentCodes = "E"}}, "VCABDE"},
        {"fifth reply dropped", {.faults = {.dropEvery = 5}}, "VCABD"},
        {"every third reply held back and joined to the next", {.faults = {.joinEvery = 3}}, ""},
        {"code of the fourth reply corrupted",
         {.faults = {.corruptEvery = 4, .corruptByte = 1}},
         "VCAB"},
        {"line closed in the tenth reply", {.faults = {.closeAfter = 95}}, "VCABDEFG!@"},
        {"digit of the fourth reply corrupted",
         {.faults = {.corruptEvery = 4, .corruptByte = 5}},
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(readBack(c.options, c.asked.size()), c.asked.empty()) << asked();
        if (!c.asked.empty()) {
            EXPECT_EQ(asked(), c.asked);
        }
    }
}

// Save, load another default set, restore the file from disk: the controller holds exactly what
// it held, on firmware whose gimbal scales carry 100 more on the wire and on firmware whose do
// not (the store keeps gimbal values as the wire carries them). The controller takes 20 ms over
// each command, as one writing its parameter memory: the acknowledgements of the announcement
// and of the first link, sent together, then come in reads of their own. Files that are not as
// Save Data writes them send nothing; each overwrite leaves a backup of what Save Data wrote.
TEST_F(SimulatorReadback, ASaveAndARestoreLeaveTheControllerAsItWas) {
    const std::string path = m_dir + "/QDMC_Data.txt", set0 = m_dir + "/set0.txt";
    SystemCalendar calendar;
    for (const auto& [firmware, pitch] :
         {std::pair(1211, "SK0155\r"), std::pair(1220, "SK0055\r")}) {
        SCOPED_TRACE(firmware);
        ASSERT_TRUE(readBack({.controller = {.firmwareVersion = firmware}, .commandTime = 20ms}));
        const std::string backups = m_dir + "/backups" + std::to_string(firmware);
        m_core->keepBackupsIn(backups, calendar);
        const ParameterStore before = m_core->store();
        EXPECT_EQ(before.get(17), firmware == 1211 ? 155 : 55);  // K of the power-on set 1
        m_prompts.files.push_back(path);
        m_core->onUserAction({ActionKind::Click, ids::main::kSaveData, 0, {}});
        m_core->onUserAction({ActionKind::Select, ids::main::kRestoreChoice, 0, {}});
        ASSERT_TRUE(runUntil([&] { return m_port->readBackDone(); }));
        ASSERT_EQ(m_core->store().get(17), firmware == 1211 ? 150 : 50);  // set 0
        m_prompts.files.push_back(set0);
        m_core->onUserAction({ActionKind::Click, ids::main::kSaveData, 0, {}});

        const std::string saved = test::fileBytes(path), bad = m_dir + "/bad.txt";
        for (const std::string& bytes :
             {saved.substr(0, 400), std::string(), std::string("\r\r\r"),
              std::string("COM03\r\r\n多轴类型:    0008"), std::string(4096, '\x9c')}) {
            std::ofstream(bad, std::ios::binary | std::ios::trunc) << bytes;
            const std::size_t sent = m_port->sent.size();
            m_prompts.files.push_back(bad);
            m_core->onUserAction({ActionKind::Select, ids::main::kRestoreChoice, 4, {}});
            runUntil([] { return false; }, 50);
            EXPECT_EQ(m_port->sent.size(), sent);
            EXPECT_TRUE(m_prompts.shown.back().text.ends_with("未向飞控发送任何参数。"));
        }

        const std::size_t start = m_port->sent.size();
        m_prompts.files.push_back(path);
        m_core->onUserAction({ActionKind::Select, ids::main::kRestoreChoice, 4, {}});
        ASSERT_TRUE(
            runUntil([&] { return m_port->sent.size() > start + 42 && m_port->readBackDone(); }));
        EXPECT_EQ(std::count(m_port->sent.begin() + start, m_port->sent.end(), pitch), 1);
        for (int slot = 0; slot < ParameterStore::kUsed; ++slot) {
            EXPECT_EQ(m_core->store().get(slot), before.get(slot)) << "slot " << slot;
        }
        // Before the default set, and before the restore.
        std::vector<std::string> kept = m_files.fileNames(backups);
        std::sort(kept.begin(), kept.end());
        ASSERT_EQ(kept.size(), 2u);
        EXPECT_TRUE(kept[0].ends_with("_fw" + std::to_string(firmware) + ".txt")) << kept[0];
        EXPECT_EQ(test::fileBytes(backups + "/" + kept[0]), saved);
        EXPECT_EQ(test::fileBytes(backups + "/" + kept[1]), test::fileBytes(set0));
    }
}

// A controller that closes its line mid-upgrade, as a pulled cable does: the port closes, the
// window says so and stays idle; Refresh against one plugged in again reads everything, and the
// upgrade can be tried again.
TEST_F(SimulatorReadback, ALostLineClosesThePortAndAPluggedInControllerIsReadAndUpgraded) {
    sim::SimOptions options{.faults = {.closeAfter = 1000}, .linkPath = m_dir + "/ttyKIVREL"};
    ASSERT_TRUE(readBack(options));
    const std::string path = m_dir + "/kivrel.bin";
    std::ofstream(path, std::ios::binary) << std::string(3000, '\x21');
    const auto upgrade = [&] {
        m_prompts.files.push_back(path);
        m_core->onUserAction({ActionKind::Click, ids::main::kChooseFirmware});
        m_core->onUserAction({ActionKind::Click, ids::main::kUpgrade});
    };
    upgrade();
    ASSERT_TRUE(runUntil([&] { return !m_port->GetPortOpen(); }, 10000));
    EXPECT_EQ(m_core->model().text(ids::main::kStatus), "串口未打开");
    EXPECT_NE(m_core->model().text(ids::main::kPortDevice).find("line lost"), std::string::npos);
    // Idle on the dead line: nothing read, next to no processor time.
    const std::size_t reads = m_port->reads;
    const auto cpuMs = [] {
        rusage use{};
        getrusage(RUSAGE_THREAD, &use);
        return (use.ru_utime.tv_sec + use.ru_stime.tv_sec) * 1000L +
               (use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1000L;
    };
    const long cpuBefore = cpuMs();
    runUntil([] { return false; }, 1000);
    EXPECT_EQ(m_port->reads, reads);
    EXPECT_LT(cpuMs() - cpuBefore, 250);

    m_controller.reset();
    options.faults.closeAfter = 0;
    m_controller = std::make_unique<sim::SimRunner>(options);
    m_controller->start();
    m_core->onUserAction({ActionKind::Click, ids::main::kRefresh});
    ASSERT_TRUE(runUntil([&] { return m_port->readBackDone(); }));
    EXPECT_EQ(m_core->model().text(ids::main::kStatus), "串口已打开");
    EXPECT_TRUE(m_core->model().enabled(ids::main::kChooseFirmware));
    const std::size_t shown = m_prompts.shown.size();
    upgrade();
    ASSERT_TRUE(runUntil([&] { return m_prompts.shown.size() > shown; }));
    EXPECT_EQ(m_prompts.shown.back().text.rfind("恭喜你升级成功!", 0), 0u);
}

// A device that talks without line ends: the reply buffer keeps its fixed size and the tool's
// memory stays flat.
TEST_F(SimulatorReadback, AChattyLineKeepsTheReplyBufferAndMemoryFlat) {
    test::PtyPeer device;
    m_port = std::make_unique<test::RecordingPort>(test::comTo(device.slave()));
    m_core =
        std::make_unique<OrvaCore>(*m_port, m_clock, m_prompts, m_files, m_dir + "/qdmcconfig.ini");
    m_core->initialise();
    ASSERT_EQ(device.read(3), "?V\r");
    const auto residentKb = [] {
        std::ifstream status("/proc/self/status");
        std::string word;
        while (status >> word && word != "VmRSS:") {
        }
        long kb = 0;
        status >> kb;
        return kb;
    };
    [[maybe_unused]] const long before = residentKb();
    std::atomic<bool> sent = false;
    std::thread chatter([&] {
        for (int i = 0; i < 4096; ++i) {  // 16 MiB
            device.write(std::string(4096, 'x'));
        }
        sent = true;
    });
    EXPECT_TRUE(runUntil([&] { return sent.load(); }, 120000));
    chatter.join();
    runUntil([] { return false; }, 200);
    EXPECT_LE(m_core->link().waitingText().size(), 1024u);
#ifndef __SANITIZE_ADDRESS__  // the sanitizer holds freed memory back, so memory grows anyway
    EXPECT_LT(residentKb() - before, 8 * 1024);
#endif
}

}  // namespace
}  // namespace orva
