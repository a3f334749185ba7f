#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "protocol/Frame.h"
#include "protocol/ProtocolMode.h"

namespace orva {

// The received bytes as one stream, cut into the controller's answers whatever the reads were.
// A real line joins answers to commands sent back to back into one read, delivers a line end
// after its text, or keeps streaming: each complete answer is taken out in order, a partial one
// waits for the rest, and bytes that belong to no answer (a stray line end, the tail of a late
// acknowledgement) are dropped from the head so that they never sit in front of the next one.
// The protocol mode decides which answers the running exchange takes; the others are complete
// answers too, and go as a discard would drop them. No I/O: the link reads the port.
class Framer {
  public:
    // Bytes kept while the loader's text answers collect; older ones give way past it.
    static constexpr std::size_t kTextCapacity = 1024;

    // The reverse bits, read again while the monitor runs.
    static constexpr std::string_view kReverseReplyCodes = "NO";

    // False for a mode the protocol does not list: its events read nothing.
    static bool reads(ProtocolMode mode);

    // Bytes read from the port, in order.
    void append(std::span<const std::uint8_t> bytes);
    // The next answer that `mode` takes, once it is whole; none while the head waits for more.
    std::optional<Frame> next(ProtocolMode mode);

    // Everything waiting dropped, as a sender starting a new exchange does.
    void reset();

    // What waits, one character per byte (zero bytes included).
    std::string waiting() const { return std::string(rest()); }
    // Complete answers cut out since the start, taken or not; bytes dropped as belonging to none.
    std::uint64_t answers() const { return m_answers; }
    std::uint64_t dropped() const { return m_dropped; }

  private:
    // What stands at the head of the stream.
    enum class Head { Partial, Junk, Reply, Acknowledgement, MonitorFrame };

    Head head() const;
    std::optional<Frame> nextAnswer(ProtocolMode mode);
    std::optional<Frame> nextTag();
    std::optional<Frame> nextReady();
    std::optional<Frame> nextPacket();
    // Takes the first `n` bytes, one character each with zero bytes left out.
    std::string take(std::size_t n);
    void drop(std::size_t n);
    void consume(std::size_t n);
    std::string_view rest() const;

    // Received bytes; those before m_head are taken already.
    std::string m_bytes;
    std::size_t m_head = 0;
    std::uint64_t m_answers = 0;
    std::uint64_t m_dropped = 0;
    // After the ready word: its line end may still come, ahead of the first packet answer.
    bool m_afterReady = false;
};

}  // namespace orva
