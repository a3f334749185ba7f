#pragma once

#include <cstdint>

namespace orva {

// A monotonic millisecond tick counter; the protocol's short pauses are busy waits on it.
class IClock {
  public:
    virtual ~IClock() = default;
    virtual std::uint64_t tickMs() = 0;
};

// Holds the calling thread until at least `ms` milliseconds have passed on `clock`.
void busyWait(IClock& clock, std::uint64_t ms);

}  // namespace orva
