#include "settings/PageSenders.h"

#include <algorithm>

#include "model/ControlIds.h"
#include "settings/FrameControls.h"
#include "settings/IntegerText.h"

namespace orva {
namespace {

// The slider pages; on the basic and voltage pages every drawn position also goes into the
// parameter store, on the GPS and gimbal pages only a release stores (the GPS page not even
// then: its slots keep what the read-back put there).
struct SliderPage {
    Dialog dialog;
    bool drawWritesStore;
};
constexpr SliderPage kSliderPages[] = {
    {Dialog::Basic, true},
    {Dialog::Gps, false},
    {Dialog::Gimbal, false},
    {Dialog::Voltage, true},
};

constexpr char kMultiAxisCode = 'A';
constexpr char kSensorCode = 'M';
constexpr char kDeclinationCode = 'Q';
constexpr char kCalibrationStartCode = '0';
constexpr char kCellCodes[] = {'4', '5', '6', '7'};
constexpr const char* kMainTitleChinese = "Halvane提示:";
constexpr const char* kMainTitleEnglish = "Halvane Mentioned:";

}  // namespace

PageSenders::PageSenders(Link& link, const ReadbackChain& readback, WindowModel& model,
                         ParameterStore& store, IPrompts& prompts, const LanguageFlag& language,
                         std::function<void()> linkRestart)
    : m_link(link),
      m_readback(readback),
      m_model(model),
      m_store(store),
      m_prompts(prompts),
      m_language(language),
      m_linkRestart(std::move(linkRestart)) {
    m_link.joinRestarts(*this);
}

void PageSenders::onRestart(RestartKind kind) {
    switch (kind) {
        case RestartKind::File:
            m_calibration.fill(0);
            break;
        case RestartKind::Combo:
            break;
    }
}

void PageSenders::registerWith(ActionTable& actions) {
    using Catalogue = ParameterCatalogue;
    for (const ParameterEntry& entry : Catalogue::entries()) {
        if (entry.slider == 0) {
            continue;
        }
        for (const SliderPage& page : kSliderPages) {
            if (page.dialog != entry.dialog) {
                continue;
            }
            const ParameterEntry* e = &entry;
            const bool stores = page.drawWritesStore;
            const ControlKey slider = Catalogue::key(entry, entry.slider);
            auto moved = [this, e, stores](const UserAction& a) {
                onSliderMoved(*e, a.value, stores);
            };
            actions.on(ActionKind::SliderDraw, slider, moved);
            actions.on(ActionKind::SliderKey, slider, moved);
            actions.on(ActionKind::SliderRelease, slider, [this, e, stores](const UserAction& a) {
                onSliderReleased(*e, a.value, stores);
            });
        }
    }

    for (char code : {'A', 'B', 'P'}) {
        const ParameterEntry* e = &Catalogue::at(code);
        actions.on(ActionKind::Select, Catalogue::key(*e, e->combo),
                   [this, e](const UserAction&) { onListSelected(*e); });
    }
    const ParameterEntry& sensors = Catalogue::at(kSensorCode);
    for (int box : sensors.boxes) {
        actions.on(ActionKind::Check, Catalogue::key(sensors, box),
                   [this](const UserAction&) { onSensorClicked(); });
    }

    actions.on(ActionKind::Click, ids::main::kDeclinationSet,
               [this](const UserAction&) { onDeclinationSet(); });
    actions.on(ActionKind::Click, ids::voltage::kCalibrate,
               [this](const UserAction&) { onCalibrate(); });
    std::vector<ControlKey> typedEdits{ids::main::kDeclination};
    for (char code : kCellCodes) {
        const ParameterEntry& cell = Catalogue::at(code);
        typedEdits.push_back(Catalogue::key(cell, cell.edit));
    }
    for (ControlKey edit : typedEdits) {
        actions.on(ActionKind::EditCommit, edit,
                   [this, edit](const UserAction& a) { onEditTyped(edit, a.text); });
    }
}

void PageSenders::onSliderMoved(const ParameterEntry& entry, int position, bool writesStore) {
    m_model.setNumber(ParameterCatalogue::key(entry, entry.edit), position);
    if (writesStore) {
        const ControlValue state{position};
        const auto wire = ParameterCatalogue::encode(entry, state, firmwareVersion());
        ParameterCatalogue::storeSent(m_store, entry, state, wire.value_or(position));
    }
}

void PageSenders::onSliderReleased(const ParameterEntry& entry, int position, bool writesStore) {
    // The toolkit draws the final position before it reports the release, so the edit box
    // already shows what is sent.
    onSliderMoved(entry, position, writesStore);
    m_link.enter(ProtocolMode::Idle);
    send(entry, ParameterCatalogue::fromControls(m_model, entry));
}

void PageSenders::onListSelected(const ParameterEntry& entry) {
    m_link.enter(ProtocolMode::Idle);
    const ControlValue state = ParameterCatalogue::fromControls(m_model, entry);
    const auto wire = ParameterCatalogue::encode(entry, state, firmwareVersion());
    if (!wire) {
        return;
    }
    ParameterCatalogue::storeSent(m_store, entry, state, *wire);
    const bool frameType = entry.code == kMultiAxisCode;
    if (frameType) {
        frame_controls::showFrameType(m_model, state.number);
    }
    m_link.sendSet(entry.code, *wire);
    if (frameType) {
        // A new frame type changes what the controller holds: reopen and read everything again.
        m_linkRestart();
    }
}

void PageSenders::onSensorClicked() {
    m_link.enter(ProtocolMode::Idle);
    const ParameterEntry& sensors = ParameterCatalogue::at(kSensorCode);
    send(sensors, ParameterCatalogue::fromControls(m_model, sensors));
}

void PageSenders::onDeclinationSet() {
    const Language language = m_language();
    const MessageBox question{
        pick(language, "您需要立即设置本地磁偏角值吗?",
             "Are you sure to set local magnetic declination value at once ? "),
        pick(language, "Halvane提示:本地磁偏角设置", kMainTitleEnglish), MessageButtons::OkCancel,
        MessageIcon::Question, MessageResult::Ok};
    if (m_prompts.message(question) != MessageResult::Ok) {
        return;
    }
    // The acknowledgement is framed as 8 bytes from here on; bytes left from another framing
    // would keep that count from ever being met.
    m_link.enter(ProtocolMode::AckChain, Reply::Emptied);

    const ParameterEntry& entry = ParameterCatalogue::at(kDeclinationCode);
    const ControlKey edit = ParameterCatalogue::key(entry, entry.edit);
    int degrees = 0;
    exchange(edit, degrees);
    // Beyond half a turn the value would leave the four digits of the frame; the nearest end
    // is sent, and shown, instead.
    const int sent = std::clamp(degrees, entry.uiMin, entry.uiMax);
    if (sent != degrees) {
        m_model.setNumber(edit, sent);
    }
    send(entry, ControlValue{sent});
}

void PageSenders::onCalibrate() {
    const MessageBox question{
        "请先用万用表测出各电压的精确值，并将所得值输入相应的组框中,\r"
        "再点击按扭“校准”您的电池。您确定需要立即对电池的电压进行校准吗？",
        "Halvane提示：", MessageButtons::OkCancel, MessageIcon::Question, MessageResult::Cancel};
    if (m_prompts.message(question) != MessageResult::Ok) {
        return;
    }
    m_link.enter(ProtocolMode::AckChain, Reply::Emptied);

    // Read in the order of the page's data exchange; after a refused text the boxes that
    // follow keep the numbers they held.
    bool refused = false;
    for (std::size_t i = 0; i < m_calibration.size(); ++i) {
        const ParameterEntry& cell = ParameterCatalogue::at(kCellCodes[i]);
        const ControlKey edit = ParameterCatalogue::key(cell, cell.edit);
        int volts = m_model.value(edit);
        if (!refused) {
            refused = !exchange(edit, volts);
        }
        m_calibration[i] = volts;
        ParameterCatalogue::storeSent(m_store, cell, ControlValue{volts}, volts);
    }
    send(ParameterCatalogue::at(kCalibrationStartCode), ControlValue{m_calibration[0]});
}

void PageSenders::send(const ParameterEntry& entry, const ControlValue& state) {
    const auto wire = ParameterCatalogue::encode(entry, state, firmwareVersion());
    if (!wire) {
        return;
    }
    ParameterCatalogue::storeSent(m_store, entry, state, *wire);
    m_link.sendSet(entry.code, *wire);
}

bool PageSenders::exchange(ControlKey edit, int& number) {
    const ControlState& shown = m_model.get(edit);
    if (const auto parsed = integerText(shown.text)) {
        number = *parsed;
        m_typed.erase(edit);
        m_model.setNumber(edit, number);
        return true;
    }
    number = shown.value;
    if (shown.text.empty() && !m_typed.contains(edit)) {
        return true;  // never typed into: it shows its number
    }
    refuseText();
    return false;
}

void PageSenders::refuseText() {
    m_prompts.message({kNotAnInteger, pick(m_language(), kMainTitleChinese, kMainTitleEnglish),
                       MessageButtons::Ok, MessageIcon::Warning, MessageResult::Ok});
}

void PageSenders::onEditTyped(ControlKey edit, const std::string& text) {
    m_typed.insert(edit);
    m_model.setText(edit, text);
}

}  // namespace orva
