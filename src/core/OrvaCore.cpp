#include "core/OrvaCore.h"

#include "model/ControlIds.h"
#include "protocol/Frames.h"

namespace orva {
namespace {

constexpr const char* kLineSettings = "115200,n,8,1";
constexpr int kBufferSize = 1024;
// Store slot of the servo output rate; a link restart puts its "50 Hz" entry back.
constexpr int kServoRateSlot = 2;
// The controller needs a moment after each acknowledgement before it takes the next command.
constexpr std::uint64_t kAcknowledgementPauseMs = 50;

}  // namespace

OrvaCore::OrvaCore(CMSComm& port, IClock& clock, IPrompts& prompts, IFiles& files,
                   std::string configPath)
    : m_port(port),
      m_clock(clock),
      m_prompts(prompts),
      m_files(files),
      m_config(files, std::move(configPath)),
      m_engine(port, clock, m_state),
      m_window(m_model, m_engine, m_prompts, [this] { showStatus(m_statusOpened); }) {
    m_port.SetOnComm([this] {
        m_engine.onComm();
        m_frame.afterReceive();
    });
    m_engine.setModeHandler(mode::kAckChain, [this](bool) { onAcknowledgement(); });
    m_senders.registerWith(m_actions);
    m_paramFiles.registerWith(m_actions);
    m_customSenders.registerWith(m_actions);
    m_monitor.registerWith(m_actions);
    m_window.setLiveDisplayStopListener([this] { m_monitor.markStopped(); });
    m_frame.registerWith(m_actions);
    m_firmware.registerWith(m_actions);
    m_firmware.transfer().setChannelReset([this] { m_monitor.clearChannels(); });
    m_actions.on(ActionKind::Click, ids::main::kRefresh,
                 [this](const UserAction&) { onRefresh(); });
    m_actions.on(ActionKind::Select, ids::main::kPortCombo,
                 [this](const UserAction& a) { onPortSelected(a.value); });
    m_window.registerActions(m_actions);
}

void OrvaCore::onUserAction(const UserAction& action) {
    switch (action.kind) {
        case ActionKind::Check:
        case ActionKind::Select:
        case ActionKind::SliderDraw:
        case ActionKind::SliderRelease:
        case ActionKind::SliderKey:
            m_model.setValue(action.key, action.value);
            break;
        case ActionKind::Tab:
            m_model.setValue(ids::main::kTabs, action.value);
            break;
        case ActionKind::Click:
        case ActionKind::EditCommit:
            break;
    }
    m_actions.dispatch(action);
}

void OrvaCore::initialise() {
    m_window.initialise();
    m_model.setValue(ids::main::kPortCombo, kDefaultPort - 1);
    m_store.clear();
    m_model.setEnabled(ids::main::kUpgrade, false);
    linkRestartFromFile();
}

void OrvaCore::onRefresh() {
    linkRestartFromFile();
}

void OrvaCore::onPortSelected(int position) {
    m_model.setValue(ids::main::kPortCombo, position);
    linkRestartFromCombo();
}

void OrvaCore::linkRestartFromFile() {
    m_state.mode = mode::kIdle;
    m_engine.resetReply();
    m_openFailed = false;
    m_state.firmwareVersion = 0;
    m_store.set(kServoRateSlot, 1);
    m_monitor.reset();
    m_senders.resetCalibration();
    m_firmware.reset();
    m_model.setEnabled(ids::main::kUpgrade, false);

    if (m_port.GetPortOpen()) {
        m_port.SetPortOpen(false);
    }

    std::string error;
    auto stored = m_config.read(error);
    if (!stored) {
        reportFileError(error);
        return;
    }
    if (stored->recorded) {
        m_port.SetCommPort(stored->port);
        // Outside COM1..COM20 the list has no such entry and shows no selection.
        const int position = stored->port - 1;
        m_model.setValue(ids::main::kPortCombo,
                         position >= 0 && position < kPortCount ? position : -1);
    } else {
        m_port.SetCommPort(kDefaultPort);
    }
    m_port.SetInBufferSize(kBufferSize);
    m_port.SetOutBufferSize(kBufferSize);

    if (m_port.GetPortOpen()) {
        // The port refused to close: report it closed and leave the file alone.
        showStatus(false);
    } else {
        m_openFailed = !m_port.SetPortOpen(true);
        showStatus(!m_openFailed);
        if (!m_config.write(m_model.value(ids::main::kPortCombo) + 1, error)) {
            reportFileError(error);
            return;
        }
    }
    configureLine();
    m_state.mode = mode::kIdle;
    m_state.retryCounter = ProtocolState::kRetryStart;
    m_engine.sendQuery('V');
}

void OrvaCore::linkRestartFromCombo() {
    m_openFailed = false;
    if (m_port.GetPortOpen()) {
        m_port.SetPortOpen(false);
    }
    const int position = m_model.value(ids::main::kPortCombo);
    m_port.SetCommPort(position + 1);
    m_port.SetInBufferSize(kBufferSize);
    m_port.SetOutBufferSize(kBufferSize);
    if (!m_port.GetPortOpen()) {
        m_openFailed = !m_port.SetPortOpen(true);
        showStatus(!m_openFailed);
        m_state.receivedCount = 0;
        std::string error;
        if (!m_config.write(position + 1, error)) {
            reportFileError(error);
            return;
        }
    }
    configureLine();
    m_monitor.clearChannels();
    m_state.mode = mode::kIdle;
    m_state.replyBuffer.clear();
    m_state.retryCounter = ProtocolState::kRetryStart;
    m_engine.sendQuery('V');
}

void OrvaCore::configureLine() {
    m_port.SetSettings(kLineSettings);
    m_port.SetInputMode(CMSComm::InputMode::Binary);
    m_port.SetRThreshold(1);
    m_port.SetInputLen(0);
    m_engine.discardInput();
    m_port.SetHandshaking(CMSComm::Handshaking::None);
}

void OrvaCore::onAcknowledgement() {
    if (m_state.receivedCount != static_cast<int>(frames::kAckLength)) {
        return;
    }
    const std::string prefix = m_state.replyBuffer.substr(0, 2);
    m_engine.resetReply();
    busyWait(m_clock, kAcknowledgementPauseMs);
    if (m_calibration.onAcknowledgement(prefix)) {
        return;
    }
    m_frame.onAcknowledgement(prefix);
}

void OrvaCore::showStatus(bool opened) {
    m_statusOpened = opened;
    const bool english = language() == Language::English;
    if (!opened) {
        m_model.setText(ids::main::kStatus, english ? "COM Not Opened" : "串口未打开");
    } else {
        m_model.setText(ids::main::kStatus, english ? "COM Opened" : "串口已打开");
    }
    showPortDevice();
}

void OrvaCore::showPortDevice() {
    std::string device = m_port.DeviceName();
    std::string text = "COM" + std::to_string(m_port.GetCommPort()) + " = " +
                       (device.empty() ? std::string("?") : device);
    if (!m_statusOpened && !m_port.LastError().empty()) {
        text += "  (" + m_port.LastError() + ")";
    }
    m_model.setText(ids::main::kPortDevice, text);
}

void OrvaCore::reportFileError(const std::string& error) {
    const bool english = language() == Language::English;
    m_prompts.message({error, english ? "Halvane Mentioned:" : "Halvane提示:", MessageButtons::Ok,
                       MessageIcon::Error, MessageResult::Ok});
}

}  // namespace orva
