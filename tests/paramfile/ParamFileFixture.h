#pragma once

#include "support/CoreHarness.h"

namespace orva::test {

// The core after start-up, for the save flow.
class ParamFileFixture : public CoreHarness {};

}  // namespace orva::test
