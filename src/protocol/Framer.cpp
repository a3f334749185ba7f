#include "protocol/Framer.h"

#include <algorithm>

#include "protocol/Frames.h"

namespace orva {
namespace {

// The controller acknowledges a default-set command with a reply beginning "Sj0".
constexpr std::string_view kDefaultSetAck = "Sj0";
constexpr int kDefaultSetAckMinBytes = 5;
// A restore acknowledgement is taken from 7 bytes on; the other chains' at exactly 8.
constexpr int kRestoreAckMinBytes = 7;
// The stream's frames are 38 characters; one is decoded once 36 have arrived, since the last
// two are never read.
constexpr int kMonitorReadable = 36;
// The tag stands in the first four of the last eight characters of the "?W\r" answer.
constexpr std::size_t kTagWindow = 8;
constexpr std::size_t kTagLength = 4;
constexpr std::size_t kReadyLength = 4;
// A reply's value is the first four of its last six characters.
constexpr std::size_t kValueFromEnd = 6;
constexpr std::size_t kValueLength = 4;

bool isPacketMode(ProtocolMode mode) {
    return mode >= ProtocolMode::LoaderData && mode <= ProtocolMode::LoaderConfirm;
}

std::uint32_t littleEndian32(std::span<const std::uint8_t> bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

}  // namespace

bool Framer::reads(ProtocolMode mode) {
    switch (mode) {
        case ProtocolMode::Idle:
        case ProtocolMode::LoaderReady:
        case ProtocolMode::LoaderData:
        case ProtocolMode::LoaderLastData:
        case ProtocolMode::LoaderEnd:
        case ProtocolMode::LoaderConfirm:
        case ProtocolMode::Restore:
        case ProtocolMode::Monitor:
        case ProtocolMode::AckChain:
        case ProtocolMode::MonitorReverse:
        case ProtocolMode::UpgradeEntry:
            return true;
    }
    return false;
}

void Framer::reset() {
    m_text.clear();
    m_count = 0;
    m_skipLineEnd = false;
}

std::optional<Frame> Framer::feed(ProtocolMode mode,
                                  std::optional<std::span<const std::uint8_t>> input) {
    if (!reads(mode)) {
        return std::nullopt;
    }
    if (input) {
        std::size_t at = static_cast<std::size_t>(std::max(m_count, 0));
        std::size_t skipped = 0;
        for (std::uint8_t b : *input) {
            if (!isPacketMode(mode)) {
                if (b != 0) {
                    m_text.push_back(static_cast<char>(b));
                }
                continue;
            }
            if (m_skipLineEnd && at == 0 && (b == '\r' || b == '\n')) {
                ++skipped;
                continue;
            }
            m_skipLineEnd = false;
            // Bytes past one packet are dropped; the loader never sends more than one.
            if (at < m_packet.size()) {
                m_packet[at] = b;
            }
            ++at;
        }
        if (m_text.size() > kTextCapacity) {
            m_text.erase(0, m_text.size() - kTextCapacity);
        }
        const std::size_t counted = std::min<std::size_t>(input->size() - skipped, kCountCeiling);
        m_count = static_cast<int>(
            std::min<std::size_t>(static_cast<std::size_t>(m_count) + counted, kCountCeiling));
    }
    switch (mode) {
        case ProtocolMode::Idle:
            return frameIdle(input.has_value());
        case ProtocolMode::MonitorReverse:
            return frameReply(kReverseReplyCodes);
        case ProtocolMode::Restore:
            return frameAcknowledgement(false, kRestoreAckMinBytes);
        case ProtocolMode::AckChain:
            return frameAcknowledgement(true, static_cast<int>(frames::kAckLength));
        case ProtocolMode::Monitor:
            return frameMonitor();
        case ProtocolMode::UpgradeEntry:
            return frameTag();
        case ProtocolMode::LoaderReady:
            return frameReady();
        default:
            return framePacket();
    }
}

std::optional<Frame> Framer::frameIdle(bool inputRead) {
    if (inputRead && m_count >= kDefaultSetAckMinBytes && m_text.starts_with(kDefaultSetAck)) {
        reset();
        return DefaultSetAck{};
    }
    return frameReply(kIdleReplyCodes);
}

// Taken only at exactly 10 bytes; the count restarts either way, but a text that names none of
// `codes` stays at the head of the buffer.
std::optional<Frame> Framer::frameReply(std::string_view codes) {
    if (m_count != static_cast<int>(frames::kReplyLength)) {
        return std::nullopt;
    }
    m_count = 0;
    if (m_text.size() < frames::kQueryLength || m_text[0] != '?' || m_text[2] != frames::kCr ||
        codes.find(m_text[1]) == std::string_view::npos) {
        return std::nullopt;
    }
    QueryReply reply{m_text[1], {}};
    // Characters 5 to 8 of a whole reply, shifted when a zero byte was dropped.
    if (m_text.size() >= kValueFromEnd) {
        reply.value = m_text.substr(m_text.size() - kValueFromEnd, kValueLength);
    }
    m_text.clear();
    return reply;
}

// Only the first acknowledgement counts; whatever came with it goes with the buffer.
std::optional<Frame> Framer::frameAcknowledgement(bool exact, int length) {
    if (exact ? m_count != length : m_count < length) {
        return std::nullopt;
    }
    Acknowledgement ack{m_text.substr(0, 2)};
    reset();
    return ack;
}

// The frame that ends at the end of the buffer; anything before it is stale. A misaligned text
// waits for later bytes to shift the window until a frame lines up with the end.
std::optional<Frame> Framer::frameMonitor() {
    if (m_count < kMonitorReadable) {
        return std::nullopt;
    }
    const std::size_t length = std::min(m_text.size(), frames::kMonitorFrameLength);
    std::string window = m_text.substr(m_text.size() - length);
    if (!window.starts_with(frames::kMonitorChannels) &&
        !window.starts_with(frames::kMonitorOutputs) &&
        !window.starts_with(frames::kMonitorSensors)) {
        return std::nullopt;
    }
    reset();
    return MonitorWindow{std::move(window)};
}

// The answer to "?W\r" ends in the tag and four digits. It is taken when an event leaves the
// text ending that way; an answer cut into several reads collects until it does.
std::optional<Frame> Framer::frameTag() {
    const std::string last =
        m_text.size() > kTagWindow ? m_text.substr(m_text.size() - kTagWindow) : m_text;
    const std::string tag = last.substr(0, std::min(kTagLength, last.size()));
    if (tag != frames::kTagQdmc && tag != frames::kTagQdec) {
        m_count = 0;
        return std::nullopt;
    }
    reset();
    return LoaderTag{tag};
}

// The ready word usually stands at the head of the text or just before its line end; it is
// taken wherever it stands, and the last three characters wait for the rest of a word cut
// between reads.
std::optional<Frame> Framer::frameReady() {
    m_count = 0;
    if (m_text.find(frames::kReadyQdmc) != std::string::npos ||
        m_text.find(frames::kReadyQdec) != std::string::npos) {
        m_text.clear();
        m_skipLineEnd = true;
        return ReadyWord{};
    }
    if (m_text.size() > kReadyLength - 1) {
        m_text.erase(0, m_text.size() - (kReadyLength - 1));
    }
    return std::nullopt;
}

// Exactly one whole answer: two answers in one read pass 64 and are never taken.
std::optional<Frame> Framer::framePacket() {
    if (m_count != static_cast<int>(frames::kPacketSize)) {
        return std::nullopt;
    }
    m_count = 0;
    const std::span<const std::uint8_t> packet = m_packet;
    return LoaderAnswer{littleEndian32(packet.subspan(frames::kPacketBlockOffset, 4)),
                        littleEndian32(packet.subspan(frames::kPacketChecksumOffset, 4))};
}

}  // namespace orva
