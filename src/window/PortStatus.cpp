#include "window/PortStatus.h"

#include "model/ControlIds.h"
#include "window/PortDiagnosisText.h"

namespace orva {

PortStatus::PortStatus(const Link& link, PortRecord& record, WindowModel& model,
                       const LanguageFlag& language)
    : m_link(link), m_record(record), m_model(model), m_language(language) {}

void PortStatus::on(LineEvent event) {
    switch (event) {
        case LineEvent::Opened:
            m_opened = true;
            break;
        case LineEvent::OpenFailed:
        case LineEvent::NotClosed:
        case LineEvent::Lost:
            m_opened = false;
            break;
        case LineEvent::Quiet:
        case LineEvent::QuietEnded:
        case LineEvent::StreamStopped:
            break;
    }
    show();
}

void PortStatus::followDevices() {
    const std::string device = m_link.deviceName();
    if (m_shownDevice &&
        (device != *m_shownDevice || m_link.diagnosis().appeared(device) != m_shownAppeared)) {
        show();
    }
}

std::string PortStatus::openDiagnosis() const {
    return describePort(m_link.diagnosis(), m_language(), m_link.deviceName());
}

void PortStatus::show() {
    const Language language = m_language();
    m_model.setText(ids::main::kStatus, m_opened ? pick(language, "串口已打开", "COM Opened")
                                                 : pick(language, "串口未打开", "COM Not Opened"));
    const std::string device = m_link.deviceName();
    m_shownDevice = device;
    m_shownAppeared = m_link.diagnosis().appeared(device);
    // What wants the user's eye comes first, so that a narrow label still shows its start; the
    // device the number stands for closes the line.
    std::string text;
    const auto say = [&text](const std::string& words) {
        if (!words.empty()) {
            text += words + "  ";
        }
    };
    if (m_link.quiet() && m_link.heardSinceAnswer().empty()) {
        say(pick(language, "飞控已2秒无应答：请检查连线和串口，然后按刷新",
                 "No answer from the controller for 2 s: check the cable and the port, then "
                 "press Refresh"));
    } else if (m_link.quiet()) {
        say(pick(language, "飞控2秒内只发来无法识别的数据：请检查串口速率和连线，然后按刷新",
                 "For 2 s the controller sent only bytes that make no answer: check the port's "
                 "speed and the cable, then press Refresh"));
    }
    if (m_link.streamStopped()) {
        say(pick(language, "飞控仍在发送实时数据：已发送停止命令",
                 "The controller was still streaming live data: it was told to stop"));
    }
    if (!m_opened) {
        const std::string why = describePort(m_link.diagnosis(), language, device);
        say(why.empty() ? m_link.lastError() : why);
    }
    if (const std::optional<int> impossible = m_record.impossible()) {
        const std::string port = std::to_string(*impossible);
        say(language == Language::English
                ? "qdmcconfig.ini records port " + port +
                      ", which is not one of COM1 to COM20: COM3 is used"
                : "qdmcconfig.ini 记录的串口 " + port + " 不在 COM1 至 COM20 之内：已改用 COM3");
    }
    if (const std::string& error = m_record.error(language); !error.empty()) {
        say(language == Language::English ? "The port choice will not be remembered (" + error + ")"
                                          : "串口选择不会被记住（" + error + "）");
    }
    for (const std::string& notice : m_model.notices().all()) {
        say(notice);
    }
    text += "COM" + std::to_string(m_link.portNumber()) + " = " +
            (device.empty() ? std::string("?") : device);
    m_model.setText(ids::main::kPortDevice, text);
}

}  // namespace orva
