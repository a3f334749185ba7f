#pragma once

#include <gtest/gtest.h>

#include <string>

#include "core/OrvaCore.h"
#include "model/ControlIds.h"
#include "support/Fakes.h"

namespace orva::test {

// A started main window over a fake port; what the start-up wrote is already taken.
class WindowFixture : public ::testing::Test {
  protected:
    void start() {
        core.initialise();
        port.takeWritten();
    }
    void click(ControlKey key) { core.onUserAction({ActionKind::Click, key}); }
    void selectTab(int index) { core.onUserAction({ActionKind::Tab, ids::main::kTabs, index}); }
    const std::string& text(ControlKey key) { return core.model().text(key); }
    bool visible(ControlKey key) { return core.model().visible(key); }
    bool enabled(ControlKey key) { return core.model().enabled(key); }

    FakePort port;
    FakeClock clock;
    ScriptedPrompts prompts;
    MemoryFiles files;
    OrvaCore core{port, clock, prompts, files};
};

}  // namespace orva::test
