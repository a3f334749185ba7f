#pragma once

#include <array>
#include <string>

namespace orva {

// What the live data display shows: the latest value of every field of the three monitor
// frames. The page's display controls are written from here after each frame.
struct MonitorValues {
    static constexpr int kChannels = 8;

    std::array<int, kChannels> receiver{};
    std::array<int, kChannels> outputs{};
    int ultrasonicHeight = 0;  // mm
    int barometricHeight = 0;  // dm
    int magneticAngle = 0;     // degrees
    int vibration = 0;
    std::string longitude;
    std::string latitude;
};

}  // namespace orva
