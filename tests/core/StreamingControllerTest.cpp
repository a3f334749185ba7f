#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "core/OrvaCore.h"
#include "model/ControlIds.h"
#include "protocol/Frames.h"
#include "sim/ControllerModel.h"
#include "support/Fakes.h"

namespace orva {
namespace {

using namespace std::string_literals;

// How the controller's answers reach the tool.
enum class Delivery {
    OnePerRead,  // each answer alone in its own read
    Joined,      // everything that waits, in one read
    Cut,         // everything that waits, cut at random into reads
};

// The simulated controller in memory behind a fake port: every write is answered, and the
// answers wait until delivered as a real line might deliver them.
class ControllerLine : public test::FakePort {
  public:
    explicit ControllerLine(const test::FakeClock& clock) : FakePort(clock) {}

    void SetOutput(std::string_view bytes) override {
        FakePort::SetOutput(bytes);
        if (leftStreaming && !controller.streaming()) {
            controller.receive(frames::kMonitorStart);
        }
        for (const sim::Outgoing& answer : controller.receive(bytes)) {
            // A controller that streams sends frames between its answers.
            if (controller.streaming() && !answer.bytes.starts_with("S~")) {
                waiting.push_back(controller.monitorFrame(++m_frames * 0.04).bytes);
            }
            waiting.push_back(answer.bytes);
        }
        leftStreaming = false;
    }
    void deliver(Delivery delivery) {
        std::mt19937 random(7);
        while (!waiting.empty()) {
            std::string bytes;
            for (std::size_t n = delivery == Delivery::OnePerRead ? 1 : waiting.size(); n > 0; --n) {
                bytes += waiting.front();
                waiting.pop_front();
            }
            for (std::size_t at = 0; at < bytes.size();) {
                const std::size_t n =
                    delivery != Delivery::Cut
                        ? bytes.size()
                        : std::uniform_int_distribution<std::size_t>(1, bytes.size() - at)(random);
                receive(bytes.substr(at, n));
                at += n;
            }
        }
    }

    sim::ControllerModel controller;
    std::deque<std::string> waiting;
    bool leftStreaming = false;  // the next write finds the controller streaming

  private:
    int m_frames = 0;
};

// A window's core on that line.
struct Rig {
    test::FakeClock clock;
    ControllerLine port{clock};
    test::ScriptedPrompts prompts;
    test::MemoryFiles files;
    OrvaCore core{port, clock, prompts, files};
};

// A controller left streaming by a monitor that was killed: the first frame outside the monitor
// gets one stop command, beside the port list the user reads why, and the read-back that was
// waiting goes on to its end, its answers taken from among the frames.
TEST(StreamingController, AControllerLeftStreamingIsToldToStopOnceAndTheReadBackGoesOn) {
    Rig clean;
    clean.core.initialise();
    clean.port.deliver(Delivery::OnePerRead);
    const std::string readback = clean.port.takeWritten();
    for (const Delivery delivery : {Delivery::OnePerRead, Delivery::Joined, Delivery::Cut}) {
        Rig rig;
        rig.port.leftStreaming = true;
        rig.core.initialise();
        rig.port.deliver(delivery);
        std::string written = rig.port.takeWritten();
        ASSERT_TRUE(written.starts_with("?V\rS~0000\r?C\r")) << written.substr(0, 20);
        EXPECT_EQ(written.erase(3, 7), readback);
        EXPECT_TRUE(rig.core.model()
                        .text(ids::main::kPortDevice)
                        .starts_with("飞控仍在发送实时数据：已发送停止命令"));
        EXPECT_FALSE(rig.port.controller.streaming());
    }
}

}  // namespace
}  // namespace orva
