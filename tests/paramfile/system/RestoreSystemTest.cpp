#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <stdlib.h>
#include <unistd.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "SampleStore.h"
#include "core/OrvaCore.h"
#include "model/ControlIds.h"
#include "paramfile/ParameterSaveFile.h"
#include "platform/PosixFiles.h"
#include "platform/SteadyClock.h"
#include "protocol/Frames.h"
#include "qtserial/QtCommPort.h"
#include "settings/ParameterCatalogue.h"
#include "sim/DefaultSets.h"
#include "sim/SimRunner.h"
#include "support/ExpectedStore.h"
#include "support/Fakes.h"
#include "support/SimulatorLine.h"

namespace orva {
namespace {

std::vector<std::string> fileLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    for (std::size_t end; (end = bytes.find("\r\r\n", at)) != std::string::npos; at = end + 3) {
        lines.push_back(bytes.substr(at, end - at));
    }
    lines.push_back(bytes.substr(at));
    return lines;
}

// The controller answers each command a couple of milliseconds after it arrives, so the
// acknowledgement of the restore announcement ("Sj0004\r") and that of the first link, sent right
// after it, come in separate reads, as from a real controller.
class SimulatorFixture : public ::testing::Test {
  protected:
    SimulatorFixture() {
        char pattern[] = "/tmp/orva-restore-XXXXXX";
        dir = mkdtemp(pattern);
    }
    ~SimulatorFixture() override {
        for (const char* f : {"/qdmcconfig.ini", "/saved.txt", "/again.txt"}) {
            ::unlink((dir + f).c_str());
        }
        ::rmdir(dir.c_str());
    }

    bool runUntil(const std::function<bool()>& done, int ms) {
        return test::runUntil(app, done, ms);
    }
    // The main read-back has asked its last question, its answer is in and nothing is left half
    // read.
    bool readBackDone(std::size_t from) {
        bool versionSeen = false;
        for (std::size_t i = from; i < port.sent.size(); ++i) {
            versionSeen = versionSeen || port.sent[i] == "?V\r";
            if (versionSeen && port.sent[i] == "?j\r") {
                return port.chainDone(core.link());
            }
        }
        return false;
    }
    void save(const std::string& path) {
        prompts.files.push_back(path);
        core.onUserAction({ActionKind::Click, ids::main::kSaveData, 0, {}});
    }
    std::string contentOf(const std::string& path) {
        std::string error;
        return files.readAll(path, error).value_or("");
    }

    int argc = 1;
    char name[5] = "test";
    char* argv[1] = {name};
    QCoreApplication app{argc, argv};
    std::string dir;
    sim::SimRunner controller;
    std::string device = controller.start();
    test::RecordingPort port{test::comTo(device)};
    SteadyClock clock;
    test::ScriptedPrompts prompts;
    PosixFiles files;
    OrvaCore core{port, clock, prompts, files, dir + "/qdmcconfig.ini"};
};

using RestoreSystem = SimulatorFixture;
using DefaultSetSystem = SimulatorFixture;

TEST_F(RestoreSystem, SavedFileGoesToTheControllerAndReadsBackEqual) {
    core.initialise();
    ASSERT_TRUE(runUntil([&] { return readBackDone(0); }, 30000));

    // A file of settings the controller does not hold yet.
    const ParameterStore wanted = test::sampleStore();
    core.store() = wanted;
    save(dir + "/saved.txt");
    const std::string saved = contentOf(dir + "/saved.txt");
    ASSERT_EQ(fileLines(saved).size(), 196u);
    // Forget them, so only the controller can give them back.
    for (int slot = 0; slot < 175; ++slot) {
        core.store().set(slot, 0);
    }
    core.store().set(190, 0);

    const std::size_t start = port.sent.size();
    prompts.files.push_back(dir + "/saved.txt");
    core.onUserAction({ActionKind::Select, ids::main::kRestoreChoice, 4, {}});
    ASSERT_TRUE(runUntil([&] { return readBackDone(start); }, 30000));

    // The announcement, the 41 links in chain order, then the read-back.
    const std::string order = "CABPDEFGYZRT`@#$!JK%)_+^&(LQabcdef=ghiMNO";
    ASSERT_GT(port.sent.size(), start + order.size() + 1);
    EXPECT_EQ(port.sent[start], "Sj0004\r");
    for (std::size_t i = 0; i < order.size(); ++i) {
        const std::string& frame = port.sent[start + 1 + i];
        ASSERT_EQ(frame.size(), 7u) << i;
        EXPECT_EQ(frame[1], order[i]) << i;
    }
    EXPECT_EQ(port.sent[start + 1 + order.size()], "?V\r");
    EXPECT_EQ(core.link().mode(), ProtocolMode::Idle);
    EXPECT_EQ(core.model().value(ids::main::kRestoreChoice), 4);

    // Every restored setting reads back as saved. Not restored: the cell voltages (measured by
    // the controller) and the custom frame (kept by the tool, untouched here).
    for (int slot = 0; slot < ParameterSaveFile::kStoredValues; ++slot) {
        if ((slot >= 27 && slot <= 30) || (slot >= 175 && slot <= 189)) {
            continue;
        }
        EXPECT_EQ(core.store().get(slot), wanted.get(slot)) << "slot " << slot;
    }
    save(dir + "/again.txt");
    const auto before = fileLines(saved);
    const auto after = fileLines(contentOf(dir + "/again.txt"));
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t line = 0; line < before.size(); ++line) {
        if (line >= 28 && line <= 31) {
            continue;  // cell voltages
        }
        EXPECT_EQ(after[line], before[line]) << "line " << line;
    }
}

TEST_F(DefaultSetSystem, ControllerLoadsTheSetAndThePagesShowIt) {
    core.initialise();
    // Every query of the start-up answered, the last one too: a reply still on its way when the
    // default-set command goes out would share a read with its acknowledgement.
    ASSERT_TRUE(
        runUntil([&] { return readBackDone(0) && port.received == 10 * port.sent.size(); }, 30000));

    const std::size_t start = port.sent.size();
    core.onUserAction({ActionKind::Select, ids::main::kRestoreChoice, 2, {}});
    ASSERT_TRUE(runUntil([&] { return readBackDone(start); }, 30000));
    EXPECT_EQ(port.sent[start], "Sj0002\r");
    EXPECT_EQ(port.sent[start + 1], "?V\r");  // the acknowledgement restarts the read-back

    const auto set = sim::DefaultSets::wireValues(2, 1220);
    std::map<char, int> wire(set.begin(), set.end());
    const auto expected = test::expectedStore([&](char code) {
        auto it = wire.find(code);
        return it == wire.end() ? 0 : it->second;
    });
    for (const auto& [code, value] : set) {
        const auto range = ParameterCatalogue::storeSlots(code);
        for (int slot = range.first; slot >= 0 && slot < range.first + range.count; ++slot) {
            EXPECT_EQ(core.store().get(slot), expected[slot]) << code << " slot " << slot;
        }
    }
    // The answer to "?j\r", the chain's last, shows the set in the restore list.
    EXPECT_TRUE(runUntil([&] { return core.model().value(ids::main::kRestoreChoice) == 2; }, 5000));
}

}  // namespace
}  // namespace orva
