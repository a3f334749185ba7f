#include <gtest/gtest.h>

#include <QCoreApplication>

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

#include "core/OrvaCore.h"
#include "model/ControlIds.h"
#include "platform/PosixFiles.h"
#include "platform/SteadyClock.h"
#include "sim/SimRunner.h"
#include "support/Fakes.h"
#include "support/LineFaults.h"
#include "support/OrvaProcess.h"
#include "support/SimulatorLine.h"

namespace orva {
namespace {

using namespace std::chrono_literals;

// The long exchanges, one after the other as a user would run them, on one controller: what
// each wrote, and whether it ran to its end.
class LineFaults : public ::testing::TestWithParam<test::LineFault> {
  protected:
    LineFaults() {
        char pattern[] = "/tmp/orva-faults-XXXXXX";
        m_dir = mkdtemp(pattern);
    }
    ~LineFaults() override { std::filesystem::remove_all(m_dir); }

    // Every exchange's writes, joined; an exchange that did not end says so instead.
    std::vector<std::string> runExchanges(sim::SimOptions options) {
        options.imagePath = m_dir + "/received.bin";
        sim::SimRunner controller(options);
        test::RecordingPort port(test::comTo(controller.start()));
        test::ScriptedPrompts prompts;
        OrvaCore core(port, m_clock, prompts, m_files, m_dir + "/qdmcconfig.ini");
        int readbacks = 0, frames = 0;
        core.onResult(
            [&](const ExchangeResult& r) { readbacks += r.exchange == Exchange::Readback; });
        core.monitor().setFrameListener([&](monitor_frames::FrameKind) { ++frames; });
        const auto act = [&](ActionKind kind, ControlKey key, int value = 0) {
            core.onUserAction({kind, key, value, {}});
        };
        std::vector<std::string> out;
        // Runs `action`, waits for `done`, and keeps what went out.
        const auto exchange = [&](const char* name, const std::function<void()>& action,
                                  const std::function<bool()>& done, int ms = 20000) {
            const std::size_t first = port.sent.size();
            action();
            const bool ended = test::runUntil(m_loop.app, done, ms);
            // The main and the frame chain run side by side: how their queries interleave is
            // the line's timing, what the main chain asks in turn is the tool's. Opening the
            // frame dialog runs two frame chains at once, so theirs are compared as a whole.
            std::string written = ended ? std::string(name) + ":" : std::string(name) + " stalled:";
            std::vector<std::string> frameQueries;
            for (std::size_t i = first; i < port.sent.size(); ++i) {
                const std::string& sent = port.sent[i];
                if (sent.size() == 3 && sent[0] == '?' && sent[1] >= 'k' && sent[1] <= 'z') {
                    frameQueries.push_back(sent);
                } else {
                    written += sent;
                }
            }
            std::sort(frameQueries.begin(), frameQueries.end());
            std::string frameChain = "|frame chain:";
            for (const std::string& query : frameQueries) {
                frameChain += query;
            }
            out.push_back(written + frameChain);
        };
        const auto readBack = [&](int before) {
            return [&, before] { return readbacks > before; };
        };

        exchange(
            "read-back", [&] { core.initialise(); }, readBack(0));
        exchange(
            "Refresh", [&] { act(ActionKind::Click, ids::main::kRefresh); }, readBack(1));
        exchange(
            "multi-axis mode", [&] { act(ActionKind::Select, ids::main::kMultiAxis, 15); },
            readBack(2));
        exchange(
            "Edit... opening", [&] { act(ActionKind::Click, ids::main::kEditFrame); },
            [&] { return readbacks > 3 && core.frame().frameRead(); });
        prompts.files.push_back(m_dir + "/craft.txt");
        act(ActionKind::Click, ids::main::kSaveData);
        const ParameterStore atSave = core.store();
        exchange(
            "default set", [&] { act(ActionKind::Select, ids::main::kRestoreChoice, 0); },
            readBack(4));
        exchange(
            "restore from a file",
            [&] {
                prompts.files.push_back(m_dir + "/craft.txt");
                act(ActionKind::Select, ids::main::kRestoreChoice, 4);
            },
            readBack(5));
        for (int slot = 0; slot < 175; ++slot) {
            EXPECT_EQ(core.store().get(slot), atSave.get(slot)) << "slot " << slot;
        }
        const std::size_t boxes = prompts.shown.size();
        exchange(
            "calibration", [&] { act(ActionKind::Click, ids::voltage::kCalibrate); },
            [&] { return prompts.shown.size() > boxes + 1; });  // the question, then "done"
        exchange(
            "live data", [&] { act(ActionKind::Click, ids::custom::kDataDisplay); },
            [&] { return frames >= 6; });
        exchange(
            "live data stopped", [&] { act(ActionKind::Click, ids::custom::kDataDisplay); },
            [] { return true; });
        test::runUntil(
            m_loop.app, [] { return false; }, 150);  // frames still on their way
        exchange(
            "Refresh after the stream", [&] { act(ActionKind::Click, ids::main::kRefresh); },
            readBack(6));
        std::ofstream(m_dir + "/kivrel.bin", std::ios::binary) << image();
        prompts.files.push_back(m_dir + "/kivrel.bin");
        act(ActionKind::Click, ids::main::kChooseFirmware);
        exchange(
            "upgrade of 64 KiB", [&] { act(ActionKind::Click, ids::main::kUpgrade); }, readBack(7),
            120000);

        EXPECT_EQ(test::fileBytes(m_dir + "/received.bin").substr(0, image().size()), image());
        EXPECT_EQ(prompts.shown.back().text.rfind("恭喜你升级成功!", 0), 0u);
        return out;
    }

    static std::string image() {
        std::string bytes(65536, '\0');
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            bytes[i] = static_cast<char>((i * 73 + 5) % 251);
        }
        return bytes;
    }

    test::EventLoop m_loop;
    std::string m_dir;
    SteadyClock m_clock;
    PosixFiles m_files;
};

// Whatever the line does to the answers, every exchange runs to its end and writes exactly
// what it writes when each answer comes alone.
TEST_P(LineFaults, EveryExchangeEndsWithTheBytesOfAPoliteLine) {
    const std::vector<std::string> polite = runExchanges({});
    const std::vector<std::string> faulty = runExchanges(GetParam().options);
    ASSERT_EQ(faulty.size(), polite.size());
    for (std::size_t i = 0; i < polite.size(); ++i) {
        EXPECT_EQ(polite[i].find(" stalled:"), std::string::npos) << polite[i].substr(0, 40);
        EXPECT_EQ(faulty[i], polite[i]);
    }
}

INSTANTIATE_TEST_SUITE_P(Faults, LineFaults, ::testing::ValuesIn(test::kLineFaults),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orva
