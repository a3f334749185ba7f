#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/OrvaCore.h"
#include "model/ControlIds.h"
#include "protocol/Frames.h"
#include "support/Fakes.h"

namespace orva::test {

// The core after start-up, with the start-up's "?V\r" already taken off the line.
class ParamFileFixture : public ::testing::Test {
  protected:
    ParamFileFixture() {
        core.initialise();
        port.takeWrites();
    }

    void select(int restoreIndex) {
        core.onUserAction({ActionKind::Select, ids::main::kRestoreChoice, restoreIndex});
    }
    void click(ControlKey key) { core.onUserAction({ActionKind::Click, key}); }
    // The controller's acknowledgement of a set command: the command's bytes and LF.
    void acknowledge(char code) { port.receive(frames::set(code, 0) + "\n"); }
    ProtocolMode mode() { return core.link().mode(); }

    FakeClock clock;
    FakePort port{clock};
    ScriptedPrompts prompts;
    MemoryFiles files;
    OrvaCore core{port, clock, prompts, files};
};

}  // namespace orva::test
