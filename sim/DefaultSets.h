#pragma once

#include <utility>
#include <vector>

namespace orva::sim {

// The controller's four factory parameter sets, one per frame size: up to 300 mm, 300 to 450,
// 450 to 650, and above 650. Each set covers the flight settings; measurements (cell voltages),
// the magnetic declination and the custom frame are not part of it.
class DefaultSets {
  public:
    static constexpr int kCount = 4;

    // The wire values of set `set` (0..3). The gimbal scales and the roll and Z angle limits
    // carry 100 more on firmware 1211 and older, as those versions expect.
    static std::vector<std::pair<char, int>> wireValues(int set, int firmwareVersion);
};

}  // namespace orva::sim
