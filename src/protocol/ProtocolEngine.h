#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "platform/IClock.h"
#include "protocol/ProtocolState.h"
#include "serial/CMSComm.h"

namespace orva {

// The receive side of the link and the senders every exchange shares. The receive event reads
// what the port holds, frames it by protocol mode and hands complete replies to the handler
// that the mode (and in mode 0 the reply's prefix) selects.
class ProtocolEngine {
  public:
    // A mode-0 reply handler gets the reply's four value characters; the buffer is already empty.
    using ReplyHandler = std::function<void(std::string_view valueChars)>;
    // Other modes frame their own replies; `inputRead` says whether this event read the port.
    using ModeHandler = std::function<void(bool inputRead)>;

    // Mode-0 prefixes in the order they are compared.
    static constexpr std::string_view kReplyCodeOrder =
        "CABDEFG!@#$HIJK%^&()_+LRT`YZQ4567MNOPVabcdef=ghi<jklmnopqrstuvwxyz";

    ProtocolEngine(CMSComm& port, IClock& clock, ProtocolState& state);

    // The port's receive event.
    void onComm();

    void setReplyHandler(char code, ReplyHandler handler);
    void setModeHandler(int mode, ModeHandler handler);

    void sendQuery(char code);
    // Discards waiting input first, as every read-back handler does before its next query.
    void discardAndQuery(char code);
    void sendSet(char code, int value);
    void sendBytes(std::string_view bytes);
    void discardInput();

    // Empties the reply buffer and the received count, as a sender starting an exchange does.
    void resetReply();

    ProtocolState& state() { return m_state; }
    CMSComm& port() { return m_port; }
    IClock& clock() { return m_clock; }

  private:
    static bool isListedMode(int mode);
    void frameIdle(bool inputRead);

    CMSComm& m_port;
    IClock& m_clock;
    ProtocolState& m_state;
    std::array<ReplyHandler, 128> m_replyHandlers;
    std::array<ModeHandler, mode::kUpgradeEntry + 1> m_modeHandlers;
};

}  // namespace orva
