#include "sim/DefaultSets.h"

#include <array>
#include <string_view>

namespace orva::sim {
namespace {

struct Row {
    char code;
    std::array<int, DefaultSets::kCount> values;  // small frame to large frame
};

// Larger frames fly heavier and slower: more stability, softer balance, more sensors.
constexpr Row kRows[] = {
    {'A', {5, 5, 9, 10}},  // QUADX, QUADX, HEX6X, OCTOX8
    {'B', {7, 7, 4, 3}},   // ESC rate: 400 Hz on small frames, slower on large ones
    {'P', {7, 4, 3, 1}},   // servo rate
    {'C', {45, 55, 60, 70}},
    {'D', {40, 45, 50, 55}},
    {'E', {50, 50, 55, 60}},
    {'F', {40, 50, 55, 65}},
    {'G', {35, 40, 45, 50}},
    {'Y', {50, 55, 60, 65}},
    {'Z', {40, 45, 50, 55}},
    {'R', {45, 50, 55, 60}},
    {'T', {30, 35, 40, 45}},
    {'`', {50, 50, 55, 60}},
    {'@', {40, 45, 50, 55}},
    {'#', {35, 40, 45, 50}},
    {'$', {30, 35, 40, 45}},
    {'!', {50, 45, 40, 35}},
    {'J', {50, 50, 60, 65}},      // gimbal roll scale
    {'K', {50, 55, 60, 65}},      // gimbal pitch scale
    {'%', {40, 45, 50, 50}},      // gimbal Z scale
    {'^', {100, 100, 100, 100}},  // servo mid points, wire 100 is the centre
    {'&', {100, 100, 100, 100}},
    {'(', {100, 100, 100, 100}},
    {')', {45, 45, 60, 60}},
    {'_', {45, 45, 60, 60}},
    {'+', {30, 40, 50, 60}},
    {'L', {330, 340, 350, 360}},  // alarm voltage, hundredths of a volt per cell
    {'M', {47, 63, 191, 255}},    // sensors: small frames fly without GPS and compass
    {'N', {0, 0, 0, 0}},
    {'O', {0, 0, 0, 0}},
    {'a', {1, 1, 1, 1}},  // auto-stabilise on CH5 low
    {'b', {0, 0, 0, 0}},
    {'c', {2, 2, 2, 2}},        // height lock on CH5 middle
    {'d', {0, 16, 16, 16}},     // heading lock on CH6 middle
    {'e', {16, 0, 0, 0}},       // care-free on CH6 middle (excludes heading lock)
    {'f', {0, 0, 2048, 2048}},  // gimbal stabilisation on CH8 high
    {'=', {0, 0, 0, 1024}},     // Z follow on CH8 middle
    {'g', {0, 4, 4, 4}},        // position hold on CH5 high
    {'h', {0, 32, 32, 32}},     // go home on CH6 high
    {'i', {0, 256, 256, 256}},  // auto-landing on CH7 high
    {'<', {21, 21, 23, 26}},    // power-off delay with the failsafe box set
};

// Firmware 1211 and older take the gimbal scales and the roll and Z angle limits 100 up.
constexpr std::string_view kVersionOffsetCodes = "JK%)+";
constexpr int kLastOffsetVersion = 1211;
constexpr int kVersionOffset = 100;

}  // namespace

std::vector<std::pair<char, int>> DefaultSets::wireValues(int set, int firmwareVersion) {
    std::vector<std::pair<char, int>> out;
    if (set < 0 || set >= kCount) {
        return out;
    }
    for (const Row& row : kRows) {
        int value = row.values[static_cast<std::size_t>(set)];
        if (firmwareVersion <= kLastOffsetVersion &&
            kVersionOffsetCodes.find(row.code) != std::string_view::npos) {
            value += kVersionOffset;
        }
        out.emplace_back(row.code, value);
    }
    return out;
}

}  // namespace orva::sim
