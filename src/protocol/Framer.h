#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "protocol/Frame.h"
#include "protocol/ProtocolMode.h"

namespace orva {

// The reply buffer and the received count, and the rules by which each protocol mode turns the
// bytes of one receive event into a frame. No I/O: the link reads the port and hands the bytes
// over. Framing is per receive event, with the protocol's own quirks kept: an idle reply is taken
// only when the count is exactly 10 (so a count passing 10 stalls until the reply is emptied),
// zero bytes are counted but not stored. Where the rules would lose a healthy answer cut into
// several reads (the loader's tag, the line end after its ready word) or let a chatty line grow
// the buffer without end, the framer stays safe instead.
class Framer {
  public:
    // More than any exchange needs; older characters give way past it.
    static constexpr std::size_t kTextCapacity = 1024;
    // The count stops here rather than overflow; every rule compares it with far smaller numbers.
    static constexpr int kCountCeiling = 1 << 30;

    // The read-back replies recognised while idle, in the order they are compared.
    static constexpr std::string_view kIdleReplyCodes =
        "CABDEFG!@#$HIJK%^&()_+LRT`YZQ4567MNOPVabcdef=ghi<jklmnopqrstuvwxyz";
    // The reverse bits, read again while the monitor runs.
    static constexpr std::string_view kReverseReplyCodes = "NO";

    // False for a mode the protocol does not list: its events read nothing.
    static bool reads(ProtocolMode mode);

    // One receive event in `mode`. `input` holds the bytes read, or is empty when the event read
    // nothing (a line-state change), in which case only the mode's completion test runs.
    std::optional<Frame> feed(ProtocolMode mode,
                              std::optional<std::span<const std::uint8_t>> input);

    // Reply emptied and count back to 0, as a sender starting an exchange does.
    void reset();
    void emptyText() { m_text.clear(); }
    void restartCount() { m_count = 0; }

    const std::string& text() const { return m_text; }
    int count() const { return m_count; }

  private:
    std::optional<Frame> frameIdle(bool inputRead);
    std::optional<Frame> frameReply(std::string_view codes);
    std::optional<Frame> frameAcknowledgement(bool exact, int length);
    std::optional<Frame> frameMonitor();
    std::optional<Frame> frameTag();
    std::optional<Frame> frameReady();
    std::optional<Frame> framePacket();

    // One character per received byte; zero bytes are counted but not stored.
    std::string m_text;
    // Bytes read since last set to 0, zero bytes included.
    int m_count = 0;
    // The loader's binary answer, filled by position in the packet modes.
    std::array<std::uint8_t, 64> m_packet{};
    // After the ready word: its line end may still come, ahead of the first packet answer.
    bool m_skipLineEnd = false;
};

}  // namespace orva
