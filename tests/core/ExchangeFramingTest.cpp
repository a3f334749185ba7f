#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "core/OrvaCore.h"
#include "model/ControlIds.h"
#include "paramfile/Golden.h"
#include "protocol/Frames.h"
#include "sim/ControllerModel.h"
#include "support/Fakes.h"

namespace orva {
namespace {

using namespace std::string_literals;

// How the controller's answers reach the tool.
enum class Delivery {
    OnePerRead,   // each answer alone in its own read
    Joined,       // everything that waits, in one read
    LateLineEnd,  // each answer's line end in a read of its own
    Cut,          // everything that waits, cut at random into reads
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
    // The frames a streaming controller sends while the tool has nothing to say.
    void stream(int frameCount) {
        for (int i = 0; i < frameCount && controller.streaming(); ++i) {
            waiting.push_back(controller.monitorFrame(++m_frames * 0.04).bytes);
        }
    }
    void deliver(Delivery delivery, unsigned seed = 1) {
        std::mt19937 random(seed);
        while (!waiting.empty()) {
            std::string bytes;
            if (delivery == Delivery::OnePerRead || delivery == Delivery::LateLineEnd) {
                bytes = waiting.front();
                waiting.pop_front();
            } else {
                for (const std::string& answer : waiting) {
                    bytes += answer;
                }
                waiting.clear();
            }
            if (delivery == Delivery::LateLineEnd && bytes.size() > 1 && bytes.back() == '\n') {
                receive(bytes.substr(0, bytes.size() - 1));
                receive("\n");
            } else if (delivery == Delivery::Cut) {
                for (std::size_t at = 0; at < bytes.size();) {
                    const std::size_t n =
                        std::uniform_int_distribution<std::size_t>(1, bytes.size() - at)(random);
                    receive(bytes.substr(at, n));
                    at += n;
                }
            } else {
                receive(bytes);
            }
        }
    }

    sim::ControllerModel controller;
    std::deque<std::string> waiting;
    bool leftStreaming = false;  // the next write finds the controller streaming

  private:
    int m_frames = 0;
};

// A window's core on that line, started and read back with one answer per read.
struct Rig {
    explicit Rig(bool started = true) {
        if (started) {
            core.initialise();
            port.deliver(Delivery::OnePerRead);
            port.takeWritten();
        }
    }
    void act(ActionKind kind, ControlKey key, int value = 0) {
        core.onUserAction({kind, key, value, {}});
    }

    test::FakeClock clock;
    ControllerLine port{clock};
    test::ScriptedPrompts prompts;
    test::MemoryFiles files;
    OrvaCore core{port, clock, prompts, files};
};

// A firmware image of 64 KiB whose bytes are not all alike and never zero.
std::string sampleImage() {
    std::string image(64 * 1024, '\0');
    for (std::size_t i = 0; i < image.size(); ++i) {
        image[i] = static_cast<char>(1 + (i * 37 + 11) % 255);
    }
    return image;
}

// What an exchange left: the bytes written, every store slot, the frame dialog's numbers, the
// live display and the controller's settings.
std::string outcome(Rig& rig) {
    std::string out = rig.port.takeWritten() + "|store";
    for (int slot = 0; slot < ParameterStore::kSize; ++slot) {
        out += " " + std::to_string(rig.core.store().get(slot));
    }
    out += "|frame";
    for (int id = 1029; id <= 1042; ++id) {
        out += " " + rig.core.model().text({Dialog::Frame, id});
    }
    out += "|display";
    for (int id : {1102, 1109, 1121, 1128, 1041}) {
        out += " " + rig.core.model().text({Dialog::Custom, id});
    }
    out += "|controller";
    for (char code : "VCABDEFGJKLMNOPQabcjklmnoz"s) {
        out += " " + std::to_string(rig.port.controller.value(code).value_or(-1));
    }
    return out;
}

struct Exchange {
    const char* name;
    std::function<void(Rig&)> act;        // the user's action
    std::string starts;                   // the bytes it writes first, worked out by hand
    std::string ends;                     // and last, when it has run to its end
    std::function<void(Rig&)> then = {};  // a second action, once the first is answered
};

const Exchange kExchanges[] = {
    {"start-up read-back", [](Rig& rig) { rig.core.initialise(); }, "?V\r?C\r?A\r?B\r?D\r",
     "?<\r?j\r"},
    {"Refresh", [](Rig& rig) { rig.act(ActionKind::Click, ids::main::kRefresh); }, "?V\r?C\r",
     "?<\r?j\r"},
    {"multi-axis mode", [](Rig& rig) { rig.act(ActionKind::Select, ids::main::kMultiAxis, 15); },
     "SA0016\r?V\r?C\r", "?<\r?j\r"},
    {"\"Edit...\" opening",
     [](Rig& rig) {
         rig.act(ActionKind::Select, ids::main::kMultiAxis, 15);
         rig.port.deliver(Delivery::OnePerRead);
         rig.port.takeWritten();
         rig.act(ActionKind::Click, ids::main::kEditFrame);
     },
     "?V\r?k\r", "?j\r"},
    {"custom frame saved",
     [](Rig& rig) {
         rig.act(ActionKind::Click, ids::main::kEditFrame);
         rig.port.deliver(Delivery::OnePerRead);
         rig.port.takeWritten();
         rig.act(ActionKind::Click, ids::frame::kSave);
     },
     "?V\rSk0004\rSl0650\r", "Sy4600\r"},
    {"restore from a file",
     [](Rig& rig) {
         rig.files.content["/pilot/craft.txt"] = test::goldenSaveFile();
         rig.prompts.files.push_back("/pilot/craft.txt");
         rig.act(ActionKind::Select, ids::main::kRestoreChoice, 4);
     },
     "Sj0004\rSC0045\rSA0015\rSB0007\r", "?<\r?j\r"},
    {"default set", [](Rig& rig) { rig.act(ActionKind::Select, ids::main::kRestoreChoice, 2); },
     "Sj0002\r?V\r?C\r", "?<\r?j\r"},
    {"calibration", [](Rig& rig) { rig.act(ActionKind::Click, ids::voltage::kCalibrate); },
     "S00395\rS10789\rS21185\rS31578\r", "S31578\r"},
    {"upgrade of a 64 KiB image",
     [](Rig& rig) {
         rig.files.content["/pilot/kivrel.bin"] = sampleImage();
         rig.prompts.files.push_back("/pilot/kivrel.bin");
         rig.act(ActionKind::Click, ids::main::kChooseFirmware);
         rig.act(ActionKind::Click, ids::main::kUpgrade);
     },
     "?W\rUPQDMC\r\xA0\0\0\0\x01\0\0\0"s, "?<\r?j\r"},
    {"live data started and stopped",
     [](Rig& rig) {
         rig.act(ActionKind::Click, ids::custom::kDataDisplay);
         rig.port.stream(7);
     },
     "S~0001\rS~0000\r", "S~0000\r",
     [](Rig& rig) { rig.act(ActionKind::Click, ids::custom::kDataDisplay); }},
};

// The framing law: for every exchange, any cutting or joining of the controller's answers
// gives exactly what one answer per read gives.
TEST(ExchangeFraming, AnyCuttingOrJoiningOfTheAnswersGivesWhatOneAnswerPerReadGives) {
    for (const Exchange& exchange : kExchanges) {
        SCOPED_TRACE(exchange.name);
        const bool startUp = exchange.name == kExchanges[0].name;
        const auto run = [&](Delivery delivery, unsigned seed) {
            Rig rig(!startUp);
            exchange.act(rig);
            rig.port.deliver(delivery, seed);
            if (exchange.then) {
                exchange.then(rig);
                rig.port.deliver(delivery, seed);
            }
            return outcome(rig);
        };
        const std::string alone = run(Delivery::OnePerRead, 1);
        const std::string written = alone.substr(0, alone.find("|store"));
        ASSERT_TRUE(written.starts_with(exchange.starts)) << written.substr(0, 80);
        ASSERT_TRUE(written.ends_with(exchange.ends)) << written.substr(written.size() - 40);
        EXPECT_EQ(run(Delivery::Joined, 1), alone);
        EXPECT_EQ(run(Delivery::LateLineEnd, 1), alone);
        for (unsigned seed = 1; seed <= 8; ++seed) {
            EXPECT_EQ(run(Delivery::Cut, seed), alone) << "seed " << seed;
        }
    }
}

// A controller left streaming by a monitor that was killed: the first frame outside the monitor
// gets one stop command, beside the port list the user reads why, and the read-back that was
// waiting goes on to its end, its answers taken from among the frames.
TEST(ExchangeFraming, AControllerLeftStreamingIsToldToStopOnceAndTheReadBackGoesOn) {
    Rig clean(false);
    clean.core.initialise();
    clean.port.deliver(Delivery::OnePerRead);
    const std::string readback = clean.port.takeWritten();
    for (const Delivery delivery : {Delivery::OnePerRead, Delivery::Joined, Delivery::Cut}) {
        Rig rig(false);
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
