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

// A port that also notes the tick counter at each write, so tests can see the pauses between
// an acknowledgement and the command it releases.
class TimedPort : public FakePort {
  public:
    explicit TimedPort(FakeClock& clock) : m_clock(clock) {}
    void SetOutput(std::string_view bytes) override {
        FakePort::SetOutput(bytes);
        writes.emplace_back(m_clock.now, std::string(bytes));
    }
    std::vector<std::pair<std::uint64_t, std::string>> writes;

  private:
    FakeClock& m_clock;
};

// The core after start-up, with the start-up's "?V\r" already taken off the line.
class ParamFileFixture : public ::testing::Test {
  protected:
    ParamFileFixture() {
        core.initialise();
        port.takeWritten();
        port.writes.clear();
    }

    void select(int restoreIndex) {
        core.onUserAction({ActionKind::Select, ids::main::kRestoreChoice, restoreIndex});
    }
    void click(ControlKey key) { core.onUserAction({ActionKind::Click, key}); }
    // The controller's acknowledgement of a set command: the command's bytes and LF.
    void acknowledge(char code) { port.receive(frames::set(code, 0) + "\n"); }
    ProtocolMode mode() { return core.link().mode(); }

    FakeClock clock;
    TimedPort port{clock};
    ScriptedPrompts prompts;
    MemoryFiles files;
    OrvaCore core{port, clock, prompts, files};
};

}  // namespace orva::test
