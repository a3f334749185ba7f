#include "settings/CustomPageSenders.h"

#include <string>
#include <string_view>

#include "protocol/Frames.h"

namespace orva {
namespace {

// The function rows of the switch matrix, top to bottom.
constexpr std::string_view kRowCodes = "abcdef=ghi";
// Heading lock and headless flight cannot both hold at one switch position.
constexpr char kHeadingLockCode = 'd';
constexpr char kHeadlessCode = 'e';
constexpr char kReverseCodes[] = {'N', 'O'};
constexpr char kDelayCode = '<';

}  // namespace

CustomPageSenders::CustomPageSenders(Link& link, WindowModel& model, ParameterStore& store)
    : m_link(link), m_model(model), m_store(store) {}

void CustomPageSenders::registerWith(ActionTable& actions) {
    using Catalogue = ParameterCatalogue;
    const ParameterEntry* headingLock = &Catalogue::at(kHeadingLockCode);
    const ParameterEntry* headless = &Catalogue::at(kHeadlessCode);
    for (char code : kRowCodes) {
        const ParameterEntry* row = &Catalogue::at(code);
        ActionTable::Handler handler;
        if (code == kHeadingLockCode) {
            handler = [this, headingLock, headless](const UserAction&) {
                onExclusiveRowClicked(*headingLock, *headless);
            };
        } else if (code == kHeadlessCode) {
            handler = [this, headingLock, headless](const UserAction&) {
                onExclusiveRowClicked(*headless, *headingLock);
            };
        } else {
            handler = [this, row](const UserAction&) { onRowClicked(*row); };
        }
        for (int box : row->boxes) {
            actions.on(ActionKind::Check, Catalogue::key(*row, box), handler);
        }
    }
    for (char code : kReverseCodes) {
        const ParameterEntry* group = &Catalogue::at(code);
        for (int box : group->boxes) {
            actions.on(ActionKind::Check, Catalogue::key(*group, box),
                       [this, group](const UserAction&) { onReverseClicked(*group); });
        }
    }

    const ParameterEntry& delay = Catalogue::at(kDelayCode);
    const ControlKey slider = Catalogue::key(delay, delay.slider);
    auto moved = [this](const UserAction& a) { showDelay(a.value); };
    actions.on(ActionKind::SliderDraw, slider, moved);
    actions.on(ActionKind::SliderKey, slider, moved);
    actions.on(ActionKind::SliderRelease, slider, [this](const UserAction& a) {
        // The toolkit draws the final position before it reports the release.
        showDelay(a.value);
        onDelaySet();
    });
    for (int box : delay.boxes) {
        actions.on(ActionKind::Check, Catalogue::key(delay, box),
                   [this](const UserAction&) { onDelaySet(); });
    }
}

std::string CustomPageSenders::storeAndFrame(const ParameterEntry& row) {
    const ControlValue state = ParameterCatalogue::fromControls(m_model, row);
    const int wire = ParameterCatalogue::encode(row, state, 0).value_or(0);
    ParameterCatalogue::storeSent(m_store, row, state, wire);
    return frames::set(row.code, wire);
}

void CustomPageSenders::discardAndWrite(const std::string& bytes) {
    m_link.discardInput();
    m_link.sendBytes(bytes);
}

void CustomPageSenders::onRowClicked(const ParameterEntry& row) {
    const std::string frame = storeAndFrame(row);
    m_link.enter(ProtocolMode::Idle);
    discardAndWrite(frame);
}

void CustomPageSenders::onExclusiveRowClicked(const ParameterEntry& row,
                                              const ParameterEntry& other) {
    std::string bytes = storeAndFrame(row);
    m_link.enter(ProtocolMode::Idle);
    discardAndWrite(bytes);

    // Every position now held by the clicked row is taken from the other one.
    const ControlValue held = ParameterCatalogue::fromControls(m_model, row);
    for (std::size_t bit = 0; bit < row.boxes.size() && bit < other.boxes.size(); ++bit) {
        if ((held.boxes >> bit) & 1u) {
            m_model.setValue(ParameterCatalogue::key(other, other.boxes[bit]), 0);
        }
    }
    const std::string otherFrame = storeAndFrame(other);
    m_link.pause(kExclusionPauseMs);
    // The second write repeats the clicked row's frame ahead of the other row's.
    bytes += otherFrame;
    discardAndWrite(bytes);
}

void CustomPageSenders::onReverseClicked(const ParameterEntry& group) {
    // Usable while the live display streams, so the protocol mode is left alone.
    discardAndWrite(storeAndFrame(group));
}

void CustomPageSenders::showDelay(int position) {
    const ParameterEntry& delay = ParameterCatalogue::at(kDelayCode);
    m_model.setNumber(ParameterCatalogue::key(delay, delay.edit), position);
}

void CustomPageSenders::onDelaySet() {
    const ParameterEntry& delay = ParameterCatalogue::at(kDelayCode);
    const ControlValue state = ParameterCatalogue::fromControls(m_model, delay);
    const int wire = ParameterCatalogue::encode(delay, state, 0).value_or(0);
    discardAndWrite(frames::set(delay.code, wire));
}

}  // namespace orva
