#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <functional>
#include <set>
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

class LiveMonitorSystem : public ::testing::Test {
  protected:
    // Runs the event loop until `done` holds or `ms` have passed; false on time-out.
    bool runUntil(const std::function<bool()>& done, int ms) {
        return test::runUntil(app, done, ms);
    }
    void click(ControlKey key) { core.onUserAction({ActionKind::Click, key, 0, {}}); }
    std::string shown(int id) { return core.model().text({Dialog::Custom, id}); }
    // The receiver and sensor readings as the display shows them.
    std::string display() {
        std::string all;
        for (int id : {1102, 1103, 1104, 1105, 1106, 1107, 1108, 1109, 1121, 1128, 1041, 1029, 1044,
                       1030, 1031, 1032}) {
            all += shown(id) + "|";
        }
        return all;
    }

    int argc = 1;
    char name[5] = "test";
    char* argv[1] = {name};
    QCoreApplication app{argc, argv};
    sim::SimRunner controller;
    std::string device = controller.start();
    test::RecordingPort port{test::comTo(device)};
    SteadyClock clock;
    test::ScriptedPrompts prompts;
    test::MemoryFiles files;
    OrvaCore core{port, clock, prompts, files};
};

TEST_F(LiveMonitorSystem, StreamFillsTheDisplayUntilStopped) {
    core.initialise();
    // Let the start-up read-back finish: its last query is "?j\r".
    ASSERT_TRUE(runUntil(
        [&] {
            return !port.sent.empty() && port.sent.back() == "?j\r" &&
                   core.link().replyText().empty();
        },
        30000));

    click(ids::custom::kDataDisplay);
    ASSERT_TRUE(core.monitor().running());
    EXPECT_EQ(port.sent.back(), frames::kMonitorStart);
    EXPECT_EQ(core.link().mode(), ProtocolMode::Monitor);

    // All three frame kinds arrive, and the readings move as the simulated craft does.
    std::set<std::string> seen;
    ASSERT_TRUE(runUntil(
        [&] {
            const bool all = !shown(1102).empty() && !shown(1121).empty() && !shown(1031).empty() &&
                             !shown(1032).empty();
            if (all) {
                seen.insert(display());
            }
            return seen.size() >= 3;
        },
        10000))
        << "display snapshots: " << seen.size();
    const int ch1 = core.model().value({Dialog::Custom, 1102});
    EXPECT_GE(ch1, 900);
    EXPECT_LE(ch1, 2100);
    EXPECT_NE(shown(1032).find('.'), std::string::npos);

    click(ids::custom::kDataDisplay);
    EXPECT_FALSE(core.monitor().running());
    EXPECT_EQ(port.sent.back(), frames::kMonitorStop);
    EXPECT_EQ(core.link().mode(), ProtocolMode::Idle);

    // Frames already on the way may still come in; after that the line stays quiet.
    const std::string frozen = display();
    runUntil([] { return false; }, 400);
    const std::size_t before = port.received;
    runUntil([] { return false; }, 400);
    EXPECT_EQ(port.received, before);
    EXPECT_EQ(display(), frozen);
}

}  // namespace
}  // namespace orva
