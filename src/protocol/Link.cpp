#include "protocol/Link.h"

#include <utility>

#include "model/ControlIds.h"
#include "protocol/Frames.h"

namespace orva {
namespace {

constexpr const char* kLineSettings = "115200,n,8,1";
constexpr int kBufferSize = 1024;
// The controller needs a moment after each acknowledgement before it takes the next command.
constexpr std::uint64_t kAcknowledgementPauseMs = 50;

}  // namespace

Link::Link(CMSComm& port, IClock& clock, ConfigFile& config, WindowModel& model,
           const LanguageFlag& language)
    : m_port(port), m_clock(clock), m_config(config), m_model(model), m_language(language) {
    m_port.SetOnComm([this] { onComm(); });
}

void Link::onComm() {
    if (m_port.GetCommEvent() == CMSComm::kCommEventLineLost) {
        onLineLost();
        return;
    }
    if (!Framer::reads(m_mode)) {
        return;
    }
    std::optional<Frame> frame;
    if (m_port.GetCommEvent() == CMSComm::kCommEventReceive) {
        const std::vector<std::uint8_t> bytes = m_port.GetInput();
        if (!bytes.empty()) {
            heard();
        }
        frame = m_framer.feed(m_mode, std::span<const std::uint8_t>(bytes));
    } else {
        frame = m_framer.feed(m_mode, std::nullopt);
    }
    if (frame) {
        dispatch(*frame);
    }
}

// Whatever exchange was under way has lost its line: the window goes back to idle, says the
// port is not open, and Refresh opens it again.
void Link::onLineLost() {
    if (m_port.GetPortOpen()) {
        m_port.SetPortOpen(false);
    }
    enter(ProtocolMode::Idle, Reply::Emptied);
    // Nothing can answer on a lost line: what to do is said instead of the silence.
    stopAwaiting();
    m_diagnosis.lost();
    showStatus(false);
}

void Link::dispatch(const Frame& frame) {
    const ProtocolMode mode = m_mode;
    if (std::holds_alternative<Acknowledgement>(frame)) {
        pause(kAcknowledgementPauseMs);
    }
    for (auto& handler : m_handlers[index(mode)]) {
        if (handler(frame)) {
            return;
        }
    }
}

void Link::enter(ProtocolMode mode, Reply reply) {
    m_mode = mode;
    switch (reply) {
        case Reply::Kept:
            break;
        case Reply::Emptied:
            m_framer.reset();
            break;
        case Reply::Recounted:
            m_framer.restartCount();
            break;
    }
}

void Link::write(std::string_view bytes) {
    m_port.SetOutput(bytes);
    // A closed port has its own words beside the list; no answer is awaited from it.
    m_awaiting = m_port.GetPortOpen();
    m_quietSince.reset();
}

bool Link::stopAwaiting() {
    m_awaiting = false;
    m_quietSince.reset();
    return std::exchange(m_quietShown, false);
}

void Link::heard() {
    if (stopAwaiting()) {
        showStatus();
    }
}

void Link::checkQuiet() {
    constexpr std::uint64_t kQuietMs = 2000;
    if (!m_awaiting || m_quietShown) {
        return;
    }
    const std::uint64_t now = m_clock.tickMs();
    if (!m_quietSince) {
        m_quietSince = now;
    } else if (now - *m_quietSince >= kQuietMs) {
        m_quietShown = true;
        showStatus();
    }
}

void Link::followDevices() {
    const std::string device = m_port.DeviceName();
    if (m_shownDevice &&
        (device != *m_shownDevice || m_diagnosis.appeared(device) != m_shownAppeared)) {
        showStatus();
    }
}

void Link::sendQuery(char code) {
    write(frames::query(code));
}

void Link::discardAndQuery(char code) {
    discardInput();
    sendQuery(code);
}

void Link::sendSet(char code, int value) {
    write(frames::set(code, value));
}

void Link::sendBytes(std::string_view bytes) {
    write(bytes);
}

void Link::discardInput() {
    if (!m_port.GetInput().empty()) {
        heard();
    }
}

void Link::pause(std::uint64_t ms) {
    busyWait(m_clock, ms);
}

void Link::apply(std::initializer_list<LineSetting> settings) {
    for (LineSetting setting : settings) {
        switch (setting) {
            case LineSetting::BinaryInput:
                m_port.SetInputMode(CMSComm::InputMode::Binary);
                break;
            case LineSetting::EveryByteRaisesEvent:
                m_port.SetRThreshold(1);
                break;
            case LineSetting::WholeInput:
                m_port.SetInputLen(0);
                break;
            case LineSetting::NoHandshake:
                m_port.SetHandshaking(CMSComm::Handshaking::None);
                break;
        }
    }
}

void Link::restartFromFile() {
    enter(ProtocolMode::Idle, Reply::Emptied);
    heard();
    m_openFailed = false;
    if (m_port.GetPortOpen()) {
        m_port.SetPortOpen(false);
    }
    selectStoredPort();
    setBufferSizes();
    if (m_port.GetPortOpen()) {
        // The port refused to close: report it closed and leave the file alone.
        showStatus(false);
    } else {
        open();
        rememberPort(m_model.value(ids::main::kPortCombo) + 1);
    }
    configureLine();
    m_mode = ProtocolMode::Idle;
    if (m_readbackStart) {
        m_readbackStart();
    }
}

void Link::restartFromCombo() {
    heard();
    m_impossiblePort.reset();
    m_openFailed = false;
    if (m_port.GetPortOpen()) {
        m_port.SetPortOpen(false);
    }
    const int position = m_model.value(ids::main::kPortCombo);
    m_port.SetCommPort(position + 1);
    setBufferSizes();
    if (!m_port.GetPortOpen()) {
        open();
        m_framer.restartCount();
        rememberPort(position + 1);
    }
    configureLine();
    enter(ProtocolMode::Idle);
    m_framer.emptyText();
    if (m_readbackStart) {
        m_readbackStart();
    }
}

void Link::openStoredPortIfClosed() {
    if (m_port.GetPortOpen()) {
        return;
    }
    selectStoredPort();
    m_port.SetPortOpen(true);
}

void Link::selectStoredPort() {
    m_impossiblePort.reset();
    std::string error;
    const auto stored = m_config.read(error);
    if (!stored) {
        // Nothing to go by: the port the list shows, COM3 at start-up. The write that follows
        // says whether the choice can be remembered.
        m_configError = error;
        m_configErrorLanguage = m_language();
        const int position = m_model.value(ids::main::kPortCombo);
        m_port.SetCommPort(position >= 0 && position < kPortCount ? position + 1 : kDefaultPort);
        return;
    }
    if (stored->recorded && stored->port >= 1 && stored->port <= kPortCount) {
        m_port.SetCommPort(stored->port);
        m_model.setValue(ids::main::kPortCombo, stored->port - 1);
    } else if (stored->recorded) {
        // A number the list does not hold: COM3, and COM3 is what gets written back.
        m_impossiblePort = stored->port;
        m_port.SetCommPort(kDefaultPort);
        m_model.setValue(ids::main::kPortCombo, kDefaultPort - 1);
    } else {
        m_port.SetCommPort(kDefaultPort);
    }
}

void Link::rememberPort(int port) {
    std::string error;
    m_configError = m_config.write(port, error) ? std::string() : error;
    m_configErrorLanguage = m_language();
    showStatus();
}

void Link::open() {
    m_openFailed = !m_port.SetPortOpen(true);
    if (m_openFailed) {
        m_diagnosis.failed(m_port);
    } else {
        m_diagnosis.clear();
    }
    showStatus(!m_openFailed);
}

void Link::setBufferSizes() {
    m_port.SetInBufferSize(kBufferSize);
    m_port.SetOutBufferSize(kBufferSize);
}

void Link::configureLine() {
    m_port.SetSettings(kLineSettings);
    m_port.SetInputMode(CMSComm::InputMode::Binary);
    m_port.SetRThreshold(1);
    m_port.SetInputLen(0);
    discardInput();
    m_port.SetHandshaking(CMSComm::Handshaking::None);
}

void Link::showStatus() {
    showStatus(m_statusOpened);
}

void Link::setNotice(Notice which, std::string text) {
    m_notices.at(static_cast<std::size_t>(which)) = std::move(text);
    showStatus();
}

void Link::showStatus(bool opened) {
    m_statusOpened = opened;
    const Language language = m_language();
    m_model.setText(ids::main::kStatus, opened ? pick(language, "串口已打开", "COM Opened")
                                               : pick(language, "串口未打开", "COM Not Opened"));
    const std::string device = m_port.DeviceName();
    m_shownDevice = device;
    m_shownAppeared = m_diagnosis.appeared(device);
    if (m_configErrorLanguage != language) {
        // The file layer worded the error in the language of its moment.
        m_configError = m_config.reword(m_configError);
        m_configErrorLanguage = language;
    }
    // What wants the user's eye comes first, so that a narrow label still shows its start; the
    // device the number stands for closes the line.
    std::string text;
    const auto say = [&text](const std::string& words) {
        if (!words.empty()) {
            text += words + "  ";
        }
    };
    if (m_quietShown) {
        say(pick(language, "飞控已2秒无应答：请检查连线和串口，然后按刷新",
                 "No answer from the controller for 2 s: check the cable and the port, then "
                 "press Refresh"));
    }
    if (!opened) {
        const std::string why = m_diagnosis.describe(language, device);
        say(why.empty() ? m_port.LastError() : why);
    }
    if (m_impossiblePort) {
        const std::string port = std::to_string(*m_impossiblePort);
        say(language == Language::English
                ? "qdmcconfig.ini records port " + port +
                      ", which is not one of COM1 to COM20: COM3 is used"
                : "qdmcconfig.ini 记录的串口 " + port + " 不在 COM1 至 COM20 之内：已改用 COM3");
    }
    if (!m_configError.empty()) {
        say(language == Language::English
                ? "The port choice will not be remembered (" + m_configError + ")"
                : "串口选择不会被记住（" + m_configError + "）");
    }
    for (const std::string& notice : m_notices) {
        say(notice);
    }
    text += "COM" + std::to_string(m_port.GetCommPort()) + " = " +
            (device.empty() ? std::string("?") : device);
    m_model.setText(ids::main::kPortDevice, text);
}

}  // namespace orva
