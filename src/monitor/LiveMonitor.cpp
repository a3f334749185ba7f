#include "monitor/LiveMonitor.h"

#include <string>

#include "model/ControlIds.h"
#include "monitor/MonitorFrames.h"
#include "platform/LeadingInteger.h"
#include "protocol/Frames.h"
#include "settings/ParameterCatalogue.h"
#include "window/LiveDisplayLocks.h"
#include "window/WindowTexts.h"

namespace orva {
namespace {

using D = Dialog;

// The stream's frames are 38 characters; one is decoded once 36 have arrived, since the last
// two are never read.
constexpr int kFrameReadable = 36;

constexpr const char* kStopChinese = "停止显示";
constexpr const char* kStopEnglish = "Display Stop";

// Display controls of the custom function page.
constexpr int kReceiverEdits[MonitorValues::kChannels] = {1102, 1103, 1104, 1105,
                                                          1106, 1107, 1108, 1109};
constexpr int kOutputEdits[MonitorValues::kChannels] = {1121, 1122, 1123, 1124,
                                                        1125, 1126, 1127, 1128};
// The switch indicators of CH5 to CH8, and the failsafe indicator, which follows CH5.
struct Indicator {
    int slider;
    int channel;  // 0 for CH1
};
constexpr Indicator kIndicators[] = {{1038, 4}, {1039, 5}, {1040, 6}, {1045, 7}, {1046, 4}};
constexpr ControlKey kUltrasonic{D::Custom, 1041};
constexpr ControlKey kBarometric{D::Custom, 1029};
constexpr ControlKey kMagnetic{D::Custom, 1044};
constexpr ControlKey kVibration{D::Custom, 1030};
constexpr ControlKey kLongitude{D::Custom, 1031};
constexpr ControlKey kLatitude{D::Custom, 1032};

constexpr char kReceiverReverseCode = 'N';
constexpr char kOutputReverseCode = 'O';
constexpr char kReverseCodes[] = {kReceiverReverseCode, kOutputReverseCode};

}  // namespace

LiveMonitor::LiveMonitor(ProtocolEngine& engine, WindowModel& model, ParameterStore& store,
                         LanguageSource language)
    : m_engine(engine), m_model(model), m_store(store), m_language(std::move(language)) {
    m_engine.setModeHandler(mode::kMonitor, [this](bool) { onMonitorInput(); });
    m_engine.setModeHandler(mode::kMonitorReverse, [this](bool) { onReverseInput(); });
}

void LiveMonitor::registerWith(ActionTable& actions) {
    actions.on(ActionKind::Click, ids::custom::kDataDisplay,
               [this](const UserAction&) { toggle(); });
}

void LiveMonitor::toggle() {
    if (m_running) {
        stop();
    } else {
        start();
    }
}

void LiveMonitor::clearChannels() {
    m_values.receiver.fill(0);
    m_values.outputs.fill(0);
}

void LiveMonitor::start() {
    ProtocolState& state = m_engine.state();
    state.mode = mode::kMonitor;
    m_engine.resetReply();

    CMSComm& port = m_engine.port();
    port.SetInputMode(CMSComm::InputMode::Binary);
    port.SetRThreshold(1);
    port.SetInputLen(0);
    m_engine.discardInput();

    setLocked(true);
    m_engine.sendBytes(frames::kMonitorStart);
    const bool english = m_language() == Language::English;
    m_model.setText(ids::custom::kDataDisplay, english ? kStopEnglish : kStopChinese);
    m_running = true;
}

void LiveMonitor::stop() {
    m_running = false;
    m_engine.state().mode = mode::kIdle;
    const bool english = m_language() == Language::English;
    m_model.setText(ids::custom::kDataDisplay, std::string(english ? data_display::kStartEnglish
                                                                   : data_display::kStartChinese));
    setLocked(false);
    // The button always puts back the Chinese hint, whatever the language.
    m_model.setText(ids::main::kUpgradeHint, std::string(upgrade_hint::kChinese));
    m_engine.port().SetInputMode(CMSComm::InputMode::Binary);
    m_engine.sendBytes(frames::kMonitorStop);
}

void LiveMonitor::setLocked(bool locked) {
    for (ControlKey key : liveDisplayLockedControls()) {
        // Upgrade comes back only with a checked firmware image, not with the display's end.
        if (locked || key != ids::main::kUpgrade) {
            m_model.setEnabled(key, !locked);
        }
    }
    if (locked) {
        // Reversing a channel is how the user checks its direction against the live values.
        for (char code : kReverseCodes) {
            const ParameterEntry& entry = ParameterCatalogue::at(code);
            for (int box : entry.boxes) {
                m_model.setEnabled(ParameterCatalogue::key(entry, box), true);
            }
        }
    }
}

void LiveMonitor::onMonitorInput() {
    ProtocolState& state = m_engine.state();
    if (state.receivedCount < kFrameReadable) {
        return;
    }
    // The frame that ends at the end of the buffer; anything before it is stale.
    const std::string& buffer = state.replyBuffer;
    const std::size_t length = std::min(buffer.size(), frames::kMonitorFrameLength);
    const std::string window = buffer.substr(buffer.size() - length);
    const monitor_frames::FrameKind kind = monitor_frames::kindOf(window);
    switch (kind) {
        case monitor_frames::FrameKind::Channels:
            monitor_frames::readChannels(window, m_values);
            break;
        case monitor_frames::FrameKind::Outputs:
            monitor_frames::readOutputs(window, m_values);
            break;
        case monitor_frames::FrameKind::Sensors:
            monitor_frames::readSensors(window, m_values);
            break;
        case monitor_frames::FrameKind::None:
            // Misaligned: later bytes shift the window until a frame lines up with the end.
            return;
    }
    m_engine.resetReply();
    showValues();
}

void LiveMonitor::onReverseInput() {
    ProtocolState& state = m_engine.state();
    if (state.receivedCount != static_cast<int>(frames::kReplyLength)) {
        return;
    }
    state.receivedCount = 0;
    const std::string& buffer = state.replyBuffer;
    for (char code : kReverseCodes) {
        if (!buffer.starts_with(frames::query(code))) {
            continue;
        }
        // The value stands where a query reply carries it: the first four of the last six.
        const std::size_t at = buffer.size() >= 6 ? buffer.size() - 6 : 0;
        const int bits = leadingInteger(std::string_view(buffer).substr(at, 4));
        state.replyBuffer.clear();
        const ParameterEntry& entry = ParameterCatalogue::at(code);
        const auto shown = ParameterCatalogue::decode(entry, bits, state.firmwareVersion);
        if (shown) {
            ParameterCatalogue::toControls(m_model, entry, *shown);
            ParameterCatalogue::storeRead(m_store, entry, *shown, bits);
        }
        state.mode = mode::kMonitor;
        m_engine.sendBytes(frames::kMonitorStart);
        return;
    }
    // Anything else stays in the buffer, and the tool stays in this mode.
}

void LiveMonitor::showValues() {
    for (int k = 0; k < MonitorValues::kChannels; ++k) {
        m_model.setNumber({D::Custom, kReceiverEdits[k]}, m_values.receiver[k]);
        m_model.setNumber({D::Custom, kOutputEdits[k]}, m_values.outputs[k]);
    }
    for (const Indicator& indicator : kIndicators) {
        m_model.setValue({D::Custom, indicator.slider}, m_values.receiver[indicator.channel]);
    }
    m_model.setNumber(kUltrasonic, m_values.ultrasonicHeight);
    m_model.setNumber(kBarometric, m_values.barometricHeight);
    m_model.setNumber(kMagnetic, m_values.magneticAngle);
    m_model.setNumber(kVibration, m_values.vibration);
    m_model.setText(kLongitude, m_values.longitude);
    m_model.setText(kLatitude, m_values.latitude);
}

}  // namespace orva
