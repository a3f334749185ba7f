#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <functional>
#include <string>
#include <vector>

#include "core/OrvaCore.h"
#include "model/ControlIds.h"
#include "platform/SteadyClock.h"
#include "protocol/Frames.h"
#include "qtserial/QtCommPort.h"
#include "sim/SimRunner.h"
#include "support/Fakes.h"
#include "support/SimulatorLine.h"

namespace orva {
namespace {

// A user who reads every message box for as long as the window needs to finish what it has
// started: the window keeps receiving meanwhile, as it does under a real message box.
class PatientUser : public IPrompts {
  public:
    MessageResult message(const MessageBox& box) override {
        shown.push_back(box);
        if (whileShown) {
            whileShown();
        }
        return MessageResult::Ok;
    }
    std::optional<std::string> chooseFile(const FileChoice&) override { return std::nullopt; }
    std::function<void()> whileShown;
    std::vector<MessageBox> shown;
};

class FrameSaveSystem : public ::testing::Test {
  protected:
    void act(ActionKind kind, ControlKey key, int value = 0, std::string text = {}) {
        core.onUserAction({kind, key, value, std::move(text)});
    }
    // Lets the line run until nothing has arrived for `ms`.
    void settle(int ms) {
        std::size_t seen = port.received;
        QElapsedTimer quiet;
        quiet.start();
        while (quiet.elapsed() < ms) {
            app.processEvents(QEventLoop::WaitForMoreEvents, 20);
            if (port.received != seen) {
                seen = port.received;
                quiet.restart();
            }
        }
    }
    // The main read-back runs until its last query has been answered (and asked again while it
    // reads 0).
    void mainChainEnds() {
        ASSERT_TRUE(test::runUntil(
            app, [&] { return !port.sent.empty() && port.sent.back() == "?j\r"; }, 30000));
        settle(500);
    }

    int argc = 1;
    char name[5] = "test";
    char* argv[1] = {name};
    QCoreApplication app{argc, argv};
    sim::SimRunner controller;
    std::string device = controller.start();
    test::RecordingPort port{test::comTo(device)};
    SteadyClock clock;
    PatientUser user;
    test::MemoryFiles files;
    OrvaCore core{port, clock, user, files};
};

TEST_F(FrameSaveSystem, SaveWritesTheFramePacedByTheControllersAcknowledgements) {
    core.initialise();
    mainChainEnds();
    act(ActionKind::Click, ids::main::kEditFrame);
    ASSERT_TRUE(core.model().visible(ids::frame::kDialog));
    settle(500);

    // A six-axis frame; the axis count goes out at once.
    act(ActionKind::Select, ids::frame::kAxisCombo, 1);
    const std::vector<std::pair<int, const char*>> typed = {
        {1031, "400"},  {1034, "0"},    {1037, "200"},  {1040, "-350"},  // motors 1, 2
        {1032, "-200"}, {1035, "-350"}, {1038, "-400"}, {1041, "0"},     // motors 3, 4
        {1033, "-200"}, {1036, "350"},  {1039, "200"},  {1042, "350"},   // motors 5, 6
    };
    for (const auto& [id, text] : typed) {
        act(ActionKind::EditCommit, {Dialog::Frame, id}, 0, text);
    }
    // The maxima last: the frame read back from the controller may reach beyond them.
    act(ActionKind::EditCommit, ids::frame::kMaxX, 0, "400");
    act(ActionKind::EditCommit, ids::frame::kMaxY, 0, "350");
    ASSERT_TRUE(user.shown.empty()) << user.shown.front().text;
    settle(300);

    // Save: while its confirmation is up, the read-back of the link restart runs to its end.
    user.whileShown = [&] { mainChainEnds(); };
    const std::size_t first = port.sent.size();
    act(ActionKind::Click, ids::frame::kSave);
    user.whileShown = nullptr;
    ASSERT_EQ(user.shown.size(), 1u);
    const std::string last = frames::set('y', 350 + 5000);
    ASSERT_TRUE(test::runUntil(
        app, [&] { return port.sent.back() == last; }, 30000))
        << "stopped after " << port.sent.back();
    settle(300);
    EXPECT_EQ(core.link().mode(), ProtocolMode::AckChain);

    // After the main read-back, the frame in wire order, one command per acknowledgement.
    std::vector<std::string> chain;
    for (std::size_t i = first; i < port.sent.size(); ++i) {
        if (port.sent[i][0] == 'S') {
            chain.push_back(port.sent[i]);
        }
    }
    const std::vector<std::string> expected = {
        "Sk0006\r", "Sl0400\r", "Sm0350\r", "Sn5400\r", "So5000\r",
        "Sp5200\r", "Sq4650\r", "Sr4800\r", "Ss4650\r", "St4600\r",
        "Su5000\r", "Sv4800\r", "Sw5350\r", "Sx5200\r", "Sy5350\r",
    };
    EXPECT_EQ(chain, expected);
    EXPECT_EQ(core.store().get(175), 6);
    EXPECT_EQ(core.store().get(189), 350);
}

}  // namespace
}  // namespace orva
