#include "settings/ReadbackChain.h"

#include <string>

#include "model/ControlIds.h"
#include "platform/LeadingInteger.h"
#include "settings/ParameterCatalogue.h"

namespace orva {
namespace {

using Link = ReadbackChain::Link;

constexpr char kEnd = 0;

constexpr Link kLinks[] = {
    // Main chain.
    {'V', 'C'},
    {'C', 'A'},
    {'A', 'B'},
    {'B', 'D'},
    {'D', 'E'},
    {'E', 'F'},
    {'F', 'G'},
    {'G', '!'},
    {'!', '@'},
    {'@', '#'},
    {'#', '$'},
    {'$', 'H'},
    {'H', 'I'},
    {'I', 'J'},
    {'J', 'K'},
    {'K', '%'},
    {'%', '^'},
    {'^', '&'},
    {'&', '('},
    {'(', ')'},
    {')', '_'},
    {'_', '+'},
    {'+', 'L'},
    {'L', 'R'},
    {'R', 'T'},
    {'T', '`'},
    {'`', 'Y'},
    {'Y', 'Z'},
    {'Z', 'Q'},
    {'Q', '4'},
    {'4', '5'},
    {'5', '6'},
    {'6', '7'},
    {'7', 'M'},
    {'M', 'N'},
    {'N', 'O'},
    {'O', 'P'},
    {'P', 'a'},
    {'a', 'b'},
    {'b', 'c'},
    {'c', 'd'},
    {'d', 'e'},
    {'e', 'f'},
    {'f', '='},
    {'=', 'g'},
    {'g', 'h'},
    {'h', 'i'},
    {'i', '<'},
    {'<', 'j'},
    {'j', kEnd, false, true},
    // Frame chain.
    {'k', 'l'},
    {'l', 'm'},
    {'m', 'n'},
    {'n', 'o'},
    {'o', 'p'},
    {'p', 'q'},
    {'q', 'r'},
    {'r', 's'},
    {'s', 't'},
    {'t', 'u'},
    {'u', 'v'},
    {'v', 'w'},
    {'w', 'x'},
    {'x', 'y'},
    {'y', 'z', true},
    {'z', kEnd, true},
};

}  // namespace

ReadbackChain::ReadbackChain(ProtocolEngine& engine, WindowModel& model, ParameterStore& store,
                             LanguageSource language)
    : m_engine(engine), m_model(model), m_store(store), m_language(std::move(language)) {
    for (const Link& link : kLinks) {
        m_engine.setReplyHandler(link.code,
                                 [this, &link](std::string_view value) { onReply(link, value); });
    }
}

void ReadbackChain::onReply(const Link& link, std::string_view valueChars) {
    int value = 0;
    if (link.code == kMainFirst) {
        value = showVersion(valueChars);
    } else {
        value = leadingInteger(valueChars);
        showValue(link.code, value);
    }
    if (link.redrawPlan) {
        redrawPlan();
    }

    // A 0 may be a reply the controller was not ready to give: ask again while retries remain.
    ProtocolState& state = m_engine.state();
    if (state.retryCounter >= 1 && value == 0) {
        --state.retryCounter;
        m_engine.discardAndQuery(link.code);
        return;
    }
    if (link.next == kEnd) {
        if (link.discardAtEnd) {
            m_engine.discardInput();
        }
        return;
    }
    state.retryCounter = ProtocolState::kRetryStart;
    m_engine.discardAndQuery(link.next);
}

int ReadbackChain::showVersion(std::string_view valueChars) {
    m_engine.state().firmwareVersion = leadingInteger(valueChars);
    m_model.setText(ids::main::kVersionCaption, pick(m_language(), "固件版本:V", "FW Version:V"));
    // "1220" is shown as "1.220".
    std::string text(valueChars.substr(0, 1));
    text += '.';
    text += valueChars.substr(valueChars.empty() ? 0 : 1);
    m_model.setText(ids::main::kVersionText, text);
    return leadingInteger(text);
}

void ReadbackChain::showValue(char code, int value) {
    const ParameterEntry& entry = ParameterCatalogue::at(code);
    const auto shown = ParameterCatalogue::decode(entry, value, m_engine.state().firmwareVersion);
    if (!shown) {
        return;
    }
    ParameterCatalogue::toControls(m_model, entry, *shown);
    ParameterCatalogue::storeRead(m_store, entry, *shown, value);
    if (code == 'A') {
        m_model.setEnabled(ids::main::kEditFrame, shown->number == kIrregularFrameIndex);
    } else if (code == kFrameFirst) {
        applyAxisCount(entry.indexMap[shown->number]);
    }
}

void ReadbackChain::applyAxisCount(int axisCount) {
    m_model.setValue(ids::frame::kAxisCount, axisCount);
    const bool sixAxes = axisCount == 6;
    for (ControlKey key : ids::frame::kExtraMotorControls) {
        m_model.setEnabled(key, sixAxes);
    }
    redrawPlan();
}

void ReadbackChain::redrawPlan() {
    m_model.setValue(ids::frame::kPlanRedraw, m_model.value(ids::frame::kPlanRedraw) + 1);
}

}  // namespace orva
