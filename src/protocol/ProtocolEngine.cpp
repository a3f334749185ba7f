#include "protocol/ProtocolEngine.h"

#include "protocol/Frames.h"

namespace orva {
namespace {

// The controller acknowledges a default-set command with a reply beginning "Sj0"; the main
// read-back then starts again after a short pause so the controller has loaded the set.
constexpr std::string_view kDefaultSetAck = "Sj0";
constexpr int kDefaultSetAckMinBytes = 5;
constexpr std::uint64_t kDefaultSetPauseMs = 10;

}  // namespace

ProtocolEngine::ProtocolEngine(CMSComm& port, IClock& clock, ProtocolState& state)
    : m_port(port), m_clock(clock), m_state(state) {}

bool ProtocolEngine::isListedMode(int mode) {
    return mode == mode::kIdle || (mode >= mode::kUpgradeFirst && mode <= mode::kUpgradeLast) ||
           mode == mode::kRestore || mode == mode::kMonitor || mode == mode::kAckChain ||
           mode == mode::kMonitorReverse || mode == mode::kUpgradeEntry;
}

void ProtocolEngine::setReplyHandler(char code, ReplyHandler handler) {
    m_replyHandlers[static_cast<unsigned char>(code) & 0x7F] = std::move(handler);
}

void ProtocolEngine::setModeHandler(int mode, ModeHandler handler) {
    if (mode >= 0 && mode < static_cast<int>(m_modeHandlers.size())) {
        m_modeHandlers[mode] = std::move(handler);
    }
}

void ProtocolEngine::onComm() {
    const int mode = m_state.mode;
    if (!isListedMode(mode)) {
        return;
    }
    bool inputRead = false;
    if (m_port.GetCommEvent() == CMSComm::kCommEventReceive) {
        const std::vector<std::uint8_t> bytes = m_port.GetInput();
        inputRead = true;
        const bool packetMode = mode >= 3 && mode <= mode::kUpgradeLast;
        std::size_t at =
            static_cast<std::size_t>(m_state.receivedCount < 0 ? 0 : m_state.receivedCount);
        for (std::uint8_t b : bytes) {
            if (packetMode) {
                // Bytes past one packet are dropped; the loader never sends more than one.
                if (at < m_state.packetReply.size()) {
                    m_state.packetReply[at] = b;
                }
                ++at;
            } else if (b != 0) {
                m_state.replyBuffer.push_back(static_cast<char>(b));
            }
        }
        m_state.receivedCount += static_cast<int>(bytes.size());
    }
    if (mode == mode::kIdle) {
        frameIdle(inputRead);
    } else if (m_modeHandlers[mode]) {
        m_modeHandlers[mode](inputRead);
    }
}

void ProtocolEngine::frameIdle(bool inputRead) {
    if (inputRead && m_state.receivedCount >= kDefaultSetAckMinBytes &&
        m_state.replyBuffer.starts_with(kDefaultSetAck)) {
        busyWait(m_clock, kDefaultSetPauseMs);
        resetReply();
        sendQuery('V');
        return;
    }
    if (m_state.receivedCount != static_cast<int>(frames::kReplyLength)) {
        return;
    }
    m_state.receivedCount = 0;
    const std::string_view buffer = m_state.replyBuffer;
    if (buffer.size() < frames::kQueryLength || buffer[0] != '?' || buffer[2] != frames::kCr) {
        return;
    }
    const char code = buffer[1];
    if (kReplyCodeOrder.find(code) == std::string_view::npos) {
        return;
    }
    ReplyHandler& handler = m_replyHandlers[static_cast<unsigned char>(code) & 0x7F];
    if (!handler) {
        return;
    }
    // The value is the first four of the last six characters: characters 5 to 8 of a whole
    // reply, shifted when a zero byte was dropped.
    std::string value;
    if (buffer.size() >= 6) {
        value = std::string(buffer.substr(buffer.size() - 6, 4));
    }
    m_state.replyBuffer.clear();
    handler(value);
}

void ProtocolEngine::sendQuery(char code) {
    m_port.SetOutput(frames::query(code));
}

void ProtocolEngine::discardAndQuery(char code) {
    discardInput();
    sendQuery(code);
}

void ProtocolEngine::sendSet(char code, int value) {
    m_port.SetOutput(frames::set(code, value));
}

void ProtocolEngine::sendBytes(std::string_view bytes) {
    m_port.SetOutput(bytes);
}

void ProtocolEngine::discardInput() {
    (void)m_port.GetInput();
}

void ProtocolEngine::resetReply() {
    m_state.replyBuffer.clear();
    m_state.receivedCount = 0;
}

}  // namespace orva
