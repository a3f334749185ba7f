#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "core/OrvaCore.h"
#include "protocol/Frames.h"
#include "support/Fakes.h"

namespace orva::test {

// The core after start-up, with the port open and the first "?V\r" already taken off the line.
class SettingsFixture : public ::testing::Test {
  protected:
    SettingsFixture() {
        core.initialise();
        port.takeWritten();
    }

    // The controller's answer to "?<code>\r": the query, one byte, four value characters, CR LF.
    void answer(char code, std::string_view valueChars) {
        std::string reply{'?', code, '\r', ' '};
        reply += valueChars;
        reply += "\r\n";
        port.receive(reply);
    }
    void answer(char code, int value) { answer(code, frames::digits4(value)); }

    void act(ActionKind kind, ControlKey key, int value = 0, std::string text = {}) {
        core.onUserAction({kind, key, value, std::move(text)});
    }

    WindowModel& model() { return core.model(); }
    ParameterStore& store() { return core.store(); }
    ProtocolMode mode() { return core.link().mode(); }

    FakePort port;
    FakeClock clock;
    ScriptedPrompts prompts;
    MemoryFiles files;
    OrvaCore core{port, clock, prompts, files};
};

}  // namespace orva::test
