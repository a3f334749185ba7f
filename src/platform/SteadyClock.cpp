#include "platform/SteadyClock.h"

#include <chrono>

namespace orva {

std::uint64_t SteadyClock::tickMs() {
    using namespace std::chrono;
    return static_cast<std::uint64_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void busyWait(IClock& clock, std::uint64_t ms) {
    const std::uint64_t start = clock.tickMs();
    while (clock.tickMs() - start < ms) {
    }
}

}  // namespace orva
