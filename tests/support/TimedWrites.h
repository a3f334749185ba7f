#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "support/Fakes.h"

namespace orva::test {

// A fake port that also keeps each write apart, with the fake clock's time when it was made,
// so that a test can tell one write of 14 bytes from two of 7 and see the pause between them.
class TimedWritesPort : public FakePort {
  public:
    struct Write {
        std::string bytes;
        std::uint64_t atMs;
        int discardsBefore;  // reads of Input so far
    };

    explicit TimedWritesPort(const FakeClock& clock) : m_clock(clock) {}

    void SetOutput(std::string_view bytes) override {
        FakePort::SetOutput(bytes);
        writes.push_back({std::string(bytes), m_clock.now, discards});
    }
    std::vector<Write> takeWrites() {
        takeWritten();
        std::vector<Write> out;
        out.swap(writes);
        return out;
    }

    std::vector<Write> writes;

  private:
    const FakeClock& m_clock;
};

}  // namespace orva::test
