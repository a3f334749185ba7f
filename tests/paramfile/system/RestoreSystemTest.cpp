#include <gtest/gtest.h>

#include <QCoreApplication>

#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "Golden.h"
#include "SampleStore.h"
#include "core/OrvaCore.h"
#include "model/ControlIds.h"
#include "platform/PosixFiles.h"
#include "platform/SteadyClock.h"
#include "sim/SimRunner.h"
#include "support/Fakes.h"
#include "support/SimulatorLine.h"

namespace orva {
namespace {

// The golden save file, restored from disk into the simulated controller and read back.
class RestoreSystem : public ::testing::Test {
  protected:
    RestoreSystem() {
        char pattern[] = "/tmp/orva-restore-XXXXXX";
        m_dir = mkdtemp(pattern);
    }
    ~RestoreSystem() override { std::filesystem::remove_all(m_dir); }
    bool runUntil(const std::function<bool()>& done) { return test::runUntil(m_app, done, 30000); }

    int m_argc = 1;
    char m_name[5] = "test";
    char* m_argv[1] = {m_name};
    QCoreApplication m_app{m_argc, m_argv};
    std::string m_dir;
    // A controller that takes 20 ms over each command, as one writing its parameter memory:
    // the acknowledgements of the announcement and of the first link, sent together, then come
    // in reads of their own even on a busy machine.
    sim::SimRunner m_controller{{.commandTime = std::chrono::milliseconds(20)}};
    test::RecordingPort m_port{test::comTo(m_controller.start())};
    SteadyClock m_clock;
    test::ScriptedPrompts m_prompts;
    PosixFiles m_files;
    OrvaCore m_core{m_port, m_clock, m_prompts, m_files, m_dir + "/qdmcconfig.ini"};
};

TEST_F(RestoreSystem, ASavedFileGoesToTheControllerAndReadsBackEqual) {
    m_core.initialise();
    ASSERT_TRUE(runUntil([&] { return m_port.readBackDone(); }));
    const std::string path = m_dir + "/QDMC_Data.txt";
    std::ofstream(path, std::ios::binary) << test::goldenSaveFile();

    const std::size_t start = m_port.sent.size();
    m_prompts.files.push_back(path);
    m_core.onUserAction({ActionKind::Select, ids::main::kRestoreChoice, 4, {}});
    ASSERT_TRUE(runUntil([&] { return m_port.sent.size() > start + 42 && m_port.readBackDone(); }))
        << "stalled after " << m_port.sent.size() - start << " writes, the last "
        << m_port.sent.back();

    // The announcement, one set command per acknowledgement in chain order (firmware 1220: the
    // gimbal scales plain), then the read-back from the version.
    const std::vector<std::string> expected = {
        "Sj0004\r", "SC0045\r", "SA0015\r", "SB0007\r", "SP0003\r", "SD0007\r", "SE0100\r",
        "SF0050\r", "SG0060\r", "SY0070\r", "SZ0080\r", "SR0090\r", "ST0011\r", "S`0012\r",
        "S@0013\r", "S#0014\r", "S$0015\r", "S!0016\r", "SJ0041\r", "SK0040\r", "S%0042\r",
        "S)0021\r", "S_0020\r", "S+0022\r", "S^0130\r", "S&0095\r", "S(0000\r", "SL0330\r",
        "SQ0168\r", "Sa4095\r", "Sb2048\r", "Sc0003\r", "Sd0000\r", "Se0000\r", "Sf0000\r",
        "S=0000\r", "Sg0000\r", "Sh0000\r", "Si0032\r", "SM0095\r", "SN0129\r", "SO0004\r",
        "?V\r",
    };
    const std::vector<std::string> sent(m_port.sent.begin() + start,
                                        m_port.sent.begin() + start + expected.size());
    EXPECT_EQ(sent, expected);

    // Every restored setting reads back as saved. Not restored: the cell voltages (measured by
    // the controller) and the custom frame (kept by the tool).
    const ParameterStore saved = test::sampleStore();
    for (int slot = 0; slot < ParameterStore::kUsed; ++slot) {
        if ((slot >= 27 && slot <= 30) || (slot >= 175 && slot <= 189)) {
            continue;
        }
        EXPECT_EQ(m_core.store().get(slot), saved.get(slot)) << "slot " << slot;
    }
    EXPECT_EQ(m_core.model().value(ids::main::kRestoreChoice), 4);
}

}  // namespace
}  // namespace orva
