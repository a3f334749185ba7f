#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <map>

#include "core/OrvaCore.h"
#include "model/ControlIds.h"
#include "platform/SteadyClock.h"
#include "protocol/Frames.h"
#include "qtserial/QtCommPort.h"
#include "sim/SimRunner.h"
#include "support/ExpectedStore.h"
#include "support/Fakes.h"
#include "support/PtyPeer.h"

namespace orva {
namespace {

using namespace std::chrono_literals;

PortResolver onlyCom3(const std::string& device) {
    return PortResolver(
        [device](const char* name) -> const char* {
            return std::string(name) == "ORVA_COM3" ? device.c_str() : nullptr;
        },
        [] { return std::vector<std::string>{}; });
}

// Notes when the reply to the last query of the main chain has been taken in.
class WatchedPort : public QtCommPort {
  public:
    using QtCommPort::QtCommPort;
    void SetOutput(std::string_view bytes) override {
        lastAsked = bytes == "?j\r";
        QtCommPort::SetOutput(bytes);
    }
    std::vector<std::uint8_t> GetInput() override {
        auto bytes = QtCommPort::GetInput();
        if (lastAsked) {
            bytesAfterLast += bytes.size();
        }
        return bytes;
    }
    bool lastAsked = false;
    std::size_t bytesAfterLast = 0;
};

TEST(SimulatorReadback, StoreEqualsWhatTheControllerHolds) {
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name};
    QCoreApplication app(argc, argv);

    sim::SimOptions options;
    options.controller.powerOnSet = 2;
    options.faults.split = true;  // replies arrive in random pieces
    options.faults.splitGap = 200us;
    sim::SimRunner controller(options);
    const std::string device = controller.start();

    WatchedPort port(onlyCom3(device));
    SteadyClock clock;
    test::ScriptedPrompts prompts;
    test::MemoryFiles files;
    OrvaCore core(port, clock, prompts, files);
    core.initialise();
    QElapsedTimer timer;
    timer.start();
    while (!(port.bytesAfterLast >= frames::kReplyLength && core.state().replyBuffer.empty()) &&
           timer.elapsed() < 30000) {
        app.processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
    ASSERT_TRUE(port.lastAsked) << "the chain did not reach j";
    EXPECT_EQ(core.model().text(ids::main::kVersionText), "1.220");
    port.SetPortOpen(false);

    // Ask the controller ourselves what it holds.
    test::PtyPeer line(device);
    std::map<char, int> held;
    for (char code : frames::kMainChainCodes) {
        line.write(frames::query(code));
        const std::string reply = line.read(frames::kReplyLength, 5s);
        ASSERT_EQ(reply.substr(0, 3), frames::query(code));
        held[code] = std::stoi(reply.substr(4, 4));
    }
    const auto expected = test::expectedStore([&](char code) { return held.at(code); });
    for (int slot = 0; slot < ParameterStore::kUsed; ++slot) {
        EXPECT_EQ(core.store().get(slot), expected[slot]) << "slot " << slot;
    }
}

}  // namespace
}  // namespace orva
