#include "settings/SettingWrite.h"

#include "model/ControlIds.h"

namespace orva {
namespace {

// Numbers typed into an edit that only a button sends.
struct EditButton {
    char code;
    ControlKey button;
};
constexpr EditButton kEditButtons[] = {{'Q', ids::main::kDeclinationSet}};

}  // namespace

SettingWrite::SettingWrite(const Link& link, ReadbackChain& readback, WindowModel& model, Act act)
    : m_link(link), m_readback(readback), m_model(model), m_act(std::move(act)) {}

std::optional<UserAction> SettingWrite::actionFor(const ParameterEntry& entry,
                                                  const ControlValue& state, WindowModel& model) {
    using Catalogue = ParameterCatalogue;
    if (entry.encoding == Encoding::ReadOnly) {
        return std::nullopt;
    }
    if (entry.combo != 0) {
        return UserAction{ActionKind::Select, Catalogue::key(entry, entry.combo), state.number, {}};
    }
    if (entry.slider != 0) {
        // The delay's failsafe box is part of the frame its slider sends.
        for (std::size_t bit = 0; bit < entry.boxes.size(); ++bit) {
            model.setValue(Catalogue::key(entry, entry.boxes[bit]), (state.boxes >> bit) & 1u);
        }
        return UserAction{
            ActionKind::SliderRelease, Catalogue::key(entry, entry.slider), state.number, {}};
    }
    if (!entry.boxes.empty()) {
        // One click sends the whole row: the other boxes take their state first, and the box
        // clicked is the last that changes (the first box when none does).
        std::size_t clicked = 0;
        const ControlValue now = Catalogue::fromControls(model, entry);
        for (std::size_t bit = 0; bit < entry.boxes.size(); ++bit) {
            const unsigned want = (state.boxes >> bit) & 1u;
            if (want != ((now.boxes >> bit) & 1u)) {
                clicked = bit;
            }
            model.setValue(Catalogue::key(entry, entry.boxes[bit]), static_cast<int>(want));
        }
        const ControlKey box = Catalogue::key(entry, entry.boxes[clicked]);
        return UserAction{ActionKind::Check, box, model.value(box), {}};
    }
    for (const EditButton& e : kEditButtons) {
        if (e.code == entry.code) {
            model.setNumber(Catalogue::key(entry, entry.edit), state.number);
            return UserAction{ActionKind::Click, e.button, 0, {}};
        }
    }
    return std::nullopt;
}

std::optional<int> SettingWrite::start(char code, int shown) {
    const ParameterEntry* entry = ParameterCatalogue::lookup(code);
    const auto state = entry ? ParameterCatalogue::fromShown(*entry, shown) : std::nullopt;
    const auto wire = state
                          ? ParameterCatalogue::encode(*entry, *state, m_readback.firmwareVersion())
                          : std::nullopt;
    const auto action = wire ? actionFor(*entry, *state, m_model) : std::nullopt;
    if (!action) {
        return std::nullopt;
    }
    m_code = code;
    m_wire = *wire;
    m_answersBefore = m_link.answers();
    const std::uint64_t startsBefore = m_readback.starts();
    m_act(*action);
    // A new frame type reopens the line and reads everything by itself.
    m_phase = m_readback.starts() != startsBefore ? Phase::ReadBack : Phase::Answer;
    return m_wire;
}

void SettingWrite::check() {
    if (m_phase == Phase::Answer && m_link.answers() > m_answersBefore) {
        m_phase = Phase::ReadBack;
        m_readback.startAgain();
    }
}

void SettingWrite::onReadBack() {
    if (m_phase != Phase::ReadBack) {
        return;
    }
    m_phase = Phase::None;
    if (m_readback.wireValue(m_code) == m_wire) {
        m_result({.exchange = Exchange::Set, .detail = std::string(1, m_code)});
    } else {
        m_result({Exchange::Set, Outcome::Refused, Refusal::NotKept, std::string(1, m_code)});
    }
}

}  // namespace orva
