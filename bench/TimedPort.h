#pragma once

#include <time.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "protocol/Link.h"
#include "qtserial/QtCommPort.h"

namespace orva::bench {

inline std::int64_t nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

inline std::int64_t threadCpuNs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<std::int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

// The real Qt port, time-stamping every write (once handed to the line) and every non-empty read.
// It also counts the receive events after which the link's reply buffer stood empty: in the
// live monitor's mode that is one decoded frame each.
class TimedPort : public QtCommPort {
  public:
    struct Event {
        std::int64_t ns;
        bool out;
        std::string bytes;
        std::int64_t cpuNs = threadCpuNs();  // of the window's thread, at the same moment
    };

    using QtCommPort::QtCommPort;

    // A held write is recorded when it is released.
    void SetOutput(std::string_view bytes) override {
        const bool held = outputHeld();
        QtCommPort::SetOutput(bytes);
        if (!held) {
            events.push_back({nowNs(), true, std::string(bytes)});
        }
    }
    std::vector<std::uint8_t> GetInput() override {
        settleLastRead();
        auto bytes = QtCommPort::GetInput();
        if (!bytes.empty()) {
            events.push_back({nowNs(), false, std::string(bytes.begin(), bytes.end())});
            m_readPending = true;
        }
        return bytes;
    }
    // Called before each read and once at the end: the last read has been handled by now.
    void settleLastRead() {
        if (m_readPending && link != nullptr && link->waitingText().empty()) {
            ++emptiedAfterRead;
        }
        m_readPending = false;
    }

    std::vector<Event> events;
    const Link* link = nullptr;
    long emptiedAfterRead = 0;

  private:
    bool m_readPending = false;
};

}  // namespace orva::bench
