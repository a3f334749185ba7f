#include "monitor/LiveMonitor.h"

#include <utility>

#include <string>

#include "model/ControlIds.h"
#include "model/ControlTexts.h"
#include "monitor/MonitorFrames.h"
#include "platform/LeadingInteger.h"
#include "protocol/Frames.h"
#include "settings/LiveDisplayLocks.h"
#include "settings/ParameterCatalogue.h"

namespace orva {
namespace {

using D = Dialog;

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

LiveMonitor::LiveMonitor(Link& link, const ReadbackChain& readback, WindowModel& model,
                         ParameterStore& store, const LanguageFlag& language)
    : m_link(link), m_readback(readback), m_model(model), m_store(store), m_language(language) {
    m_link.on<MonitorWindow>(ProtocolMode::Monitor, Exchange::Monitor, *this,
                             [this](const MonitorWindow& frame) { onFrame(frame.text); });
    m_link.on<QueryReply>(ProtocolMode::MonitorReverse, Exchange::Monitor, *this,
                          [this](const QueryReply& reply) { onReverseReply(reply); });
}

void LiveMonitor::onRestart(RestartKind kind) {
    switch (kind) {
        case RestartKind::File:
            m_running = false;
            break;
        case RestartKind::Combo:
            clearChannels();
            break;
    }
}

void LiveMonitor::registerWith(ActionTable& actions) {
    actions.on(ActionKind::Click, ids::custom::kDataDisplay,
               [this](const UserAction&) { toggle(); });
}

void LiveMonitor::toggle() {
    if (m_running) {
        stop(StopCause::Button);
    } else {
        start();
    }
}

void LiveMonitor::clearChannels() {
    m_values.receiver.fill(0);
    m_values.outputs.fill(0);
}

void LiveMonitor::start() {
    m_link.enter(ProtocolMode::Monitor, Reply::Emptied);
    m_link.apply(
        {LineSetting::BinaryInput, LineSetting::EveryByteRaisesEvent, LineSetting::WholeInput});
    m_link.discardInput();

    setLocked(true);
    m_link.sendBytes(frames::kMonitorStart);
    m_model.setText(ids::custom::kDataDisplay, pick(m_language(), kStopChinese, kStopEnglish));
    m_running = true;
}

// Stopped even when it is not running: the controller may still be streaming.
void LiveMonitor::stop(StopCause cause) {
    const bool wasRunning = std::exchange(m_running, false);
    m_link.enter(ProtocolMode::Idle);
    const bool english = m_language() == Language::English;
    m_model.setText(ids::custom::kDataDisplay, std::string(english ? data_display::kStartEnglish
                                                                   : data_display::kStartChinese));
    setLocked(false);
    if (cause == StopCause::PageSwitch) {
        // The chosen image's path gives way to the hint, so the Upgrade button goes off with it.
        m_model.setText(
            ids::main::kUpgradeHint,
            std::string(english ? upgrade_hint::kEnglishAfterPageSwitch : upgrade_hint::kChinese));
        m_model.setEnabled(ids::main::kUpgrade, false);
    } else {
        // The button always puts back the Chinese hint, whatever the language.
        m_model.setText(ids::main::kUpgradeHint, std::string(upgrade_hint::kChinese));
    }
    m_link.apply({LineSetting::BinaryInput});
    m_link.sendBytes(frames::kMonitorStop);
    if (wasRunning) {
        m_result({.exchange = Exchange::Monitor});
    }
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

void LiveMonitor::onFrame(const std::string& frame) {
    const monitor_frames::FrameKind kind = monitor_frames::kindOf(frame);
    switch (kind) {
        case monitor_frames::FrameKind::Channels:
            monitor_frames::readChannels(frame, m_values);
            break;
        case monitor_frames::FrameKind::Outputs:
            monitor_frames::readOutputs(frame, m_values);
            break;
        case monitor_frames::FrameKind::Sensors:
            monitor_frames::readSensors(frame, m_values);
            break;
        case monitor_frames::FrameKind::None:
            return;
    }
    showValues();
    if (m_frameListener) {
        m_frameListener(kind);
    }
}

// The reverse bits as the controller now holds them; then the stream resumes.
void LiveMonitor::onReverseReply(const QueryReply& reply) {
    const int bits = leadingInteger(reply.value);
    const ParameterEntry& entry = ParameterCatalogue::at(reply.code);
    const auto shown = ParameterCatalogue::decode(entry, bits, m_readback.firmwareVersion());
    if (shown) {
        ParameterCatalogue::toControls(m_model, entry, *shown);
        ParameterCatalogue::storeRead(m_store, entry, *shown, bits);
    }
    m_link.enter(ProtocolMode::Monitor);
    m_link.sendBytes(frames::kMonitorStart);
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
