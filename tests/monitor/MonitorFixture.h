#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "core/OrvaCore.h"
#include "model/ControlIds.h"
#include "protocol/Frames.h"
#include "support/Fakes.h"

namespace orva::test {

// The core after start-up over a fake port that keeps its writes apart; what the start-up
// wrote is already taken.
class MonitorFixture : public ::testing::Test {
  protected:
    MonitorFixture() {
        core.initialise();
        port.takeWrites();
    }

    void act(ActionKind kind, ControlKey key, int value = 0) {
        core.onUserAction({kind, key, value, {}});
    }
    void click(ControlKey key) { act(ActionKind::Click, key); }
    void check(ControlKey key, bool on) { act(ActionKind::Check, key, on ? 1 : 0); }

    // The bytes of every write since the last call, one string per write.
    std::vector<std::string> writes() {
        std::vector<std::string> out;
        for (const auto& w : port.takeWrites()) {
            out.push_back(w.bytes);
        }
        return out;
    }

    WindowModel& model() { return core.model(); }
    ProtocolMode mode() { return core.link().mode(); }
    int number(int customId) { return model().value({Dialog::Custom, customId}); }
    const std::string& text(int customId) { return model().text({Dialog::Custom, customId}); }

    FakeClock clock;
    FakePort port{clock};
    ScriptedPrompts prompts;
    MemoryFiles files;
    OrvaCore core{port, clock, prompts, files};
};

// A monitor frame: the tag, the fields as given, and the two trailing characters.
inline std::string monitorFrame(std::string_view tag, std::string_view fields) {
    std::string frame(tag);
    frame += fields;
    frame += "\r\n";
    return frame;
}

}  // namespace orva::test
