#pragma once

#include <functional>
#include <vector>

namespace orva::test {

// The parameter store as the read-back rules say it must look after the main chain, for a
// controller holding `wire(code)` and firmware 1220; worked out from the wire values directly
// and not through the catalogue, so the two can check each other. The custom frame's slots
// (175..189) are not part of the main chain and stay 0.
std::vector<int> expectedStore(const std::function<int(char)>& wire);

}  // namespace orva::test
