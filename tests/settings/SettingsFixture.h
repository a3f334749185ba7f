#pragma once

// Temporary: only the frame dialog test still derives from this, until it moves onto CoreHarness.
#include "protocol/Frames.h"
#include "support/CoreHarness.h"

namespace orva::test {

class SettingsFixture : public CoreHarness {
  protected:
    using CoreHarness::answer;
    void answer(char code, int value) { answer(code, frames::digits4(value)); }
};

}  // namespace orva::test
