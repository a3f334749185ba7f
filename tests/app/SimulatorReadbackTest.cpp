#include <gtest/gtest.h>

#include <QCoreApplication>

#include <stdlib.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>

#include "core/OrvaCore.h"
#include "model/ControlIds.h"
#include "platform/PosixFiles.h"
#include "platform/SteadyClock.h"
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
    // Runs the start-up read-back; true when it reached its end.
    bool readBack(const sim::SimOptions& options) {
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
        return runUntil([&] { return m_port->readBackDone(); });
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

// A controller that closes its line mid-upgrade, as a pulled cable does: the port closes and the
// window says so; Refresh against one plugged in again reads everything, and the
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
    EXPECT_NE(m_core->model().text(ids::main::kPortDevice).find("连接已断开：请重新插上飞控"),
              std::string::npos);

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
