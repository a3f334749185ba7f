#include "protocol/Framer.h"

#include <algorithm>

#include "protocol/Frames.h"

namespace orva {
namespace {

// The controller acknowledges a default-set command with a reply beginning "Sj0"; it is taken
// from 5 bytes on, the rest of it dropped as it comes.
constexpr std::string_view kDefaultSetAck = "Sj0";
constexpr std::size_t kDefaultSetAckMinBytes = 5;
// An acknowledgement is 8 bytes: the calibration and frame chains take it at 8, the restore
// from 7 on, and while idle or streaming one is dropped at 7, its first 7 bytes being the
// command echoed; an eighth byte that comes later opens no answer and goes as such.
constexpr std::size_t kAckFirstBytes = 7;
// Monitor frames are 38 characters; one is read once 36 have arrived, since the last two never
// are, and those two then go with the bytes between frames.
constexpr std::size_t kMonitorReadable = 36;
// The tag stands in the first four of the last eight characters of the "?W\r" answer.
constexpr std::size_t kTagWindow = 8;
constexpr std::size_t kTagLength = 4;
constexpr std::size_t kReadyLength = 4;
// A reply's value is the first four of its last six characters.
constexpr std::size_t kValueFromEnd = 6;
constexpr std::size_t kValueLength = 4;
// The first loader answer after the ready word answers the start packet, block 1, and so names
// block 2: that tells a line end left over from the ready word from an answer's own first byte.
constexpr std::uint32_t kFirstAnswerBlock = 2;
// The first characters of the answers above; no other byte can open one.
constexpr std::string_view kAnswerStarts = "?SCM";
constexpr std::string_view kMonitorTags[] = {frames::kMonitorChannels, frames::kMonitorOutputs,
                                             frames::kMonitorSensors};

bool isPacketMode(ProtocolMode mode) {
    return mode >= ProtocolMode::LoaderData && mode <= ProtocolMode::LoaderConfirm;
}

bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}

std::uint32_t littleEndian32(std::string_view bytes) {
    const auto b = [&](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i]));
    };
    return b(0) | b(1) << 8 | b(2) << 16 | b(3) << 24;
}

std::string withoutZeros(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (char c : bytes) {
        if (c != '\0') {
            text.push_back(c);
        }
    }
    return text;
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

void Framer::append(std::span<const std::uint8_t> bytes) {
    m_bytes.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

void Framer::reset() {
    m_bytes.clear();
    m_head = 0;
    m_afterReady = false;
}

std::string_view Framer::rest() const {
    return std::string_view(m_bytes).substr(m_head);
}

std::optional<Frame> Framer::next(ProtocolMode mode) {
    if (!reads(mode) || rest().empty()) {
        return std::nullopt;
    }
    switch (mode) {
        case ProtocolMode::UpgradeEntry:
            return nextTag();
        case ProtocolMode::LoaderReady:
            return nextReady();
        default:
            return isPacketMode(mode) ? nextPacket() : nextAnswer(mode);
    }
}

std::string Framer::take(std::size_t n) {
    std::string text = withoutZeros(rest().substr(0, n));
    consume(n);
    return text;
}

void Framer::drop(std::size_t n) {
    consume(n);
    m_dropped += n;
}

// The head moves on; the bytes behind it are let go now and then, so that a long read costs
// time in proportion to its length.
void Framer::consume(std::size_t n) {
    m_head += n;
    if (m_head == m_bytes.size()) {
        m_bytes.clear();
        m_head = 0;
    } else if (m_head >= kTextCapacity && m_head * 2 >= m_bytes.size()) {
        m_bytes.erase(0, m_head);
        m_head = 0;
    }
}

// What the controller's ASCII answers begin with: "?" + code + CR for a reply, "S" + code for an
// acknowledgement, a four-letter tag for a monitor frame. Anything else starts none.
Framer::Head Framer::head() const {
    const std::string_view bytes = rest();
    const std::size_t n = bytes.size();
    const char first = bytes[0];
    if (first == '?') {
        if (n < frames::kQueryLength) {
            return Head::Partial;
        }
        return bytes[1] != '\0' && bytes[2] == frames::kCr ? Head::Reply : Head::Junk;
    }
    if (first == 'S') {
        if (n < 2) {
            return Head::Partial;
        }
        // No parameter is named "S": "SS" can only open a sensor frame.
        if (bytes[1] != 'S') {
            return Head::Acknowledgement;
        }
    }
    const std::string_view start = bytes.substr(0, frames::kMonitorTagLength);
    for (std::string_view tag : kMonitorTags) {
        if (tag.starts_with(start)) {
            return start.size() < tag.size() ? Head::Partial : Head::MonitorFrame;
        }
    }
    return Head::Junk;
}

std::optional<Frame> Framer::nextAnswer(ProtocolMode mode) {
    while (!rest().empty()) {
        const std::string_view bytes = rest();
        const std::size_t n = bytes.size();
        switch (head()) {
            case Head::Partial:
                return std::nullopt;
            case Head::Junk: {
                // Up to the next byte that could open an answer.
                const std::size_t next = bytes.find_first_of(kAnswerStarts, 1);
                drop(next == std::string_view::npos ? n : next);
                continue;
            }
            case Head::Reply: {
                if (n < frames::kReplyLength) {
                    return std::nullopt;
                }
                const std::string text = take(frames::kReplyLength);
                ++m_answers;
                const bool asked = mode == ProtocolMode::Idle ? frames::readBackCode(text[1])
                                   : mode == ProtocolMode::MonitorReverse
                                       ? kReverseReplyCodes.find(text[1]) != std::string_view::npos
                                       : false;
                if (!asked) {
                    continue;  // a reply no exchange of this mode asked for
                }
                // Characters 5 to 8 of a whole reply, shifted when a zero byte was left out.
                QueryReply reply{text[1], {}};
                if (text.size() >= kValueFromEnd) {
                    reply.value = text.substr(text.size() - kValueFromEnd, kValueLength);
                }
                return reply;
            }
            case Head::Acknowledgement: {
                if (mode == ProtocolMode::Idle && bytes.starts_with(kDefaultSetAck.substr(
                                                      0, std::min(n, kDefaultSetAck.size())))) {
                    if (n < kDefaultSetAckMinBytes) {
                        return std::nullopt;
                    }
                    if (bytes.starts_with(kDefaultSetAck)) {
                        consume(kDefaultSetAckMinBytes);
                        ++m_answers;
                        return DefaultSetAck{};
                    }
                }
                const bool taken = mode == ProtocolMode::Restore || mode == ProtocolMode::AckChain;
                const std::size_t length =
                    mode == ProtocolMode::AckChain ? frames::kAckLength : kAckFirstBytes;
                if (n < length) {
                    return std::nullopt;
                }
                const std::string text = take(length);
                ++m_answers;
                if (taken) {
                    return Acknowledgement{text.substr(0, 2)};
                }
                continue;
            }
            case Head::MonitorFrame:
                if (n < kMonitorReadable) {
                    return std::nullopt;
                }
                ++m_answers;
                // Offered in every mode: outside the monitor it says the controller streams.
                return MonitorWindow{take(kMonitorReadable)};
        }
    }
    return std::nullopt;
}

// The answer to "?W\r" ends in the tag and four digits; it is taken once the text received ends
// that way, however it was cut.
std::optional<Frame> Framer::nextTag() {
    if (rest().size() > kTextCapacity) {
        drop(rest().size() - kTextCapacity);
    }
    const std::string text = withoutZeros(rest());
    const std::string last =
        text.size() > kTagWindow ? text.substr(text.size() - kTagWindow) : text;
    const std::string tag = last.substr(0, std::min(kTagLength, last.size()));
    if (tag != frames::kTagQdmc && tag != frames::kTagQdec) {
        return std::nullopt;
    }
    reset();
    ++m_answers;
    return LoaderTag{tag};
}

// The ready word is taken wherever it stands; the last three bytes wait for the rest of a word
// cut between reads, and its line end, now or later, is no answer.
std::optional<Frame> Framer::nextReady() {
    const std::string text = withoutZeros(rest());
    if (text.find(frames::kReadyQdmc) != std::string::npos ||
        text.find(frames::kReadyQdec) != std::string::npos) {
        reset();
        m_afterReady = true;
        ++m_answers;
        return ReadyWord{};
    }
    if (rest().size() > kReadyLength - 1) {
        drop(rest().size() - (kReadyLength - 1));
    }
    return std::nullopt;
}

// One 64-byte answer per packet sent, in strict alternation.
std::optional<Frame> Framer::nextPacket() {
    while (m_afterReady && rest().size() >= frames::kPacketSize && isLineEnd(rest()[0]) &&
           littleEndian32(rest().substr(frames::kPacketBlockOffset)) != kFirstAnswerBlock) {
        drop(1);
    }
    if (rest().size() < frames::kPacketSize) {
        return std::nullopt;
    }
    const std::string_view packet = rest().substr(0, frames::kPacketSize);
    LoaderAnswer answer{littleEndian32(packet.substr(frames::kPacketBlockOffset)),
                        littleEndian32(packet.substr(frames::kPacketChecksumOffset))};
    consume(frames::kPacketSize);
    m_afterReady = false;
    ++m_answers;
    return answer;
}

}  // namespace orva
