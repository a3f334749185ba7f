#include "settings/ReadbackChain.h"

#include <string>

#include "model/ControlIds.h"
#include "platform/LeadingInteger.h"
#include "protocol/Frames.h"
#include "settings/FrameControls.h"
#include "settings/ParameterCatalogue.h"

namespace orva {
namespace {

constexpr char kMainFirst = 'V';
constexpr char kFrameFirst = 'k';
// Only the main chain's last reply still empties the port's input.
constexpr char kMainLast = 'j';
constexpr char kFrameLast = 'z';
// The last two coordinates of the frame chain complete the plan.
constexpr std::string_view kPlanCodes = "yz";

// The query that the reply to `code` leads to; 0 at a chain's end.
char nextQuery(char code) {
    for (std::string_view chain : {frames::kMainChainCodes, frames::kFrameChainCodes}) {
        const std::size_t at = chain.find(code);
        if (at != std::string_view::npos) {
            return at + 1 < chain.size() ? chain[at + 1] : 0;
        }
    }
    return 0;
}

}  // namespace

ReadbackChain::ReadbackChain(Link& link, WindowModel& model, ParameterStore& store,
                             const LanguageFlag& language)
    : m_link(link), m_model(model), m_store(store), m_language(language) {
    m_link.on<QueryReply>(ProtocolMode::Idle, Exchange::Readback, *this,
                          [this](const QueryReply& reply) { onReply(reply.code, reply.value); });
    m_link.setReadbackStart([this] { start(); });
}

void ReadbackChain::onRestart(RestartKind kind) {
    switch (kind) {
        case RestartKind::File:
            m_firmwareVersion = 0;
            break;
        case RestartKind::Combo:
            break;
    }
}

void ReadbackChain::start() {
    ++m_starts;
    m_retries = kRetryStart;
    m_link.sendQuery(kMainFirst);
}

void ReadbackChain::startAgain() {
    m_link.discardInput();
    m_link.enter(ProtocolMode::Idle, Reply::Emptied);
    start();
}

// Replies carry no checksum: value characters that are no number (blanks and a sign, then
// digits) come from a damaged reply, and are asked again as a 0 is.
bool ReadbackChain::wellFormed(std::string_view valueChars) {
    std::size_t at = valueChars.find_first_not_of(' ');
    if (at != std::string_view::npos && (valueChars[at] == '-' || valueChars[at] == '+')) {
        ++at;
    }
    return valueChars.size() == 4 && at < valueChars.size() &&
           valueChars.find_first_not_of("0123456789", at) == std::string_view::npos;
}

void ReadbackChain::onReply(char code, std::string_view valueChars) {
    if (!wellFormed(valueChars)) {
        if (m_retries >= 1) {
            --m_retries;
            m_link.discardAndQuery(code);
            return;
        }
        // Shown as not read rather than as a wrong number; the chain goes on.
        if (m_notRead.find(code) == std::string::npos) {
            m_notRead.push_back(code);
        }
        m_model.notices().set(Notice::Readback,
                              pick(m_language(), "未读到: ", "not read: ") + m_notRead);
        advance(code);
        return;
    }
    int value = 0;
    if (code == kMainFirst) {
        m_complete = false;
        // A new main read-back: what the last one could not read is asked again.
        if (!m_notRead.empty()) {
            m_notRead.clear();
            m_model.notices().set(Notice::Readback, {});
        }
        value = showVersion(valueChars);
    } else {
        value = leadingInteger(valueChars);
        showValue(code, value);
    }
    m_wire[static_cast<unsigned char>(code) & 0x7F] = leadingInteger(valueChars);
    if (kPlanCodes.find(code) != std::string_view::npos) {
        redrawPlan();
    }

    // A 0 may be a reply the controller was not ready to give: ask again while retries remain.
    if (m_retries >= 1 && value == 0) {
        --m_retries;
        m_link.discardAndQuery(code);
        return;
    }
    advance(code);
}

void ReadbackChain::advance(char code) {
    const char next = nextQuery(code);
    if (next == 0) {
        if (code == kMainLast) {
            m_complete = true;
            m_link.discardInput();
            m_result({.exchange = Exchange::Readback, .detail = m_notRead});
        } else if (code == kFrameLast && m_frameChainEnd) {
            m_frameChainEnd();
        }
        return;
    }
    m_retries = kRetryStart;
    m_link.discardAndQuery(next);
}

std::optional<int> ReadbackChain::wireValue(char code) const {
    return m_wire[static_cast<unsigned char>(code) & 0x7F];
}

int ReadbackChain::showVersion(std::string_view valueChars) {
    m_firmwareVersion = leadingInteger(valueChars);
    const ParameterEntry& version = ParameterCatalogue::at(kMainFirst);
    m_model.setText(ids::main::kVersionCaption,
                    pick(m_language(), version.chinese, version.english));
    // "1220" is shown as "1.220".
    std::string text(valueChars.substr(0, 1));
    text += '.';
    text += valueChars.substr(valueChars.empty() ? 0 : 1);
    m_model.setText(ids::main::kVersionText, text);
    return leadingInteger(text);
}

void ReadbackChain::showValue(char code, int value) {
    const ParameterEntry& entry = ParameterCatalogue::at(code);
    const auto shown = ParameterCatalogue::decode(entry, value, m_firmwareVersion);
    if (!shown) {
        return;
    }
    ParameterCatalogue::toControls(m_model, entry, *shown);
    // A value outside the limits shows as its fallback; a store that keeps wire values keeps
    // what the fallback sends, so a save file never holds a number no control could send.
    const ReadRule& rule = ParameterCatalogue::activeRule(entry, m_firmwareVersion);
    const int kept =
        value >= rule.min && value <= rule.max
            ? value
            : ParameterCatalogue::encode(entry, *shown, m_firmwareVersion).value_or(value);
    ParameterCatalogue::storeRead(m_store, entry, *shown, kept);
    if (code == 'A') {
        frame_controls::showFrameType(m_model, shown->number);
    } else if (code == kFrameFirst) {
        frame_controls::showAxisCount(m_model, entry.indexMap[shown->number]);
        redrawPlan();
    }
}

void ReadbackChain::redrawPlan() {
    if (m_planRedraw) {
        m_planRedraw();
    }
}

}  // namespace orva
