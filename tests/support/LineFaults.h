#pragma once

#include <chrono>
#include <ostream>

#include "sim/SimOptions.h"

namespace orva::test {

// The faults a real line has, as the simulated controller plays them: answers cut, held and
// joined, paced byte by byte or answer by answer, joined by an adapter's latency timer, their
// line ends late. The system test and the fault benchmark run every long exchange under each.
struct LineFault {
    const char* name;    // as a test name takes it
    const char* option;  // as kivrel-sim takes it
    sim::SimOptions options;
};

// Test names show the option, not the bytes of the options.
inline void PrintTo(const LineFault& fault, std::ostream* out) {
    *out << fault.option;
}

inline const LineFault kLineFaults[] = {
    {"split", "--split", {.faults = {.split = true}}},
    {"join_every_2", "--join-every 2", {.faults = {.joinEvery = 2}}},
    {"wire_timing", "--wire-timing", {.wireTiming = sim::WireTiming::PerByte}},
    {"answer_timing", "--answer-timing", {.wireTiming = sim::WireTiming::PerAnswer}},
    {"join_window", "--join-window 16", {.faults = {.joinWindow = std::chrono::milliseconds{16}}}},
    {"late_line_end",
     "--late-line-end 3",
     {.faults = {.lateLineEnd = std::chrono::milliseconds{3}}}},
};

}  // namespace orva::test
