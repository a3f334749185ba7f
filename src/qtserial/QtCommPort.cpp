#include "qtserial/QtCommPort.h"

#include <unistd.h>

#include <QStringList>
#include <array>
#include <cerrno>
#include <utility>

namespace orva {

QtCommPort::QtCommPort(PortResolver resolver, QObject* parent)
    : QObject(parent), m_resolver(std::move(resolver)) {
    connect(&m_serial, &QSerialPort::readyRead, this, &QtCommPort::onReadyRead);
    connect(&m_serial, &QSerialPort::errorOccurred, this, &QtCommPort::onError);
}

void QtCommPort::SetCommPort(int port) {
    m_port = port;
}

std::string QtCommPort::DeviceName() const {
    // Devices plugged in later may renumber the ports; the open one stays what it was opened on.
    return m_serial.isOpen() ? m_openDevice : m_resolver.deviceFor(m_port);
}

bool QtCommPort::SetPortOpen(bool open) {
    if (!open) {
        m_waiting.clear();  // held writes belong to the line being closed, as written ones do
        if (m_serial.isOpen()) {
            m_serial.close();
        }
        return true;
    }
    if (m_serial.isOpen()) {
        return true;
    }
    const std::string device = DeviceName();
    if (device.empty()) {
        m_lastError = "no serial device stands for COM" + std::to_string(m_port);
        m_openFailure = OpenFailure::NoDevice;
        return false;
    }
    m_serial.setPortName(QString::fromStdString(device));
    m_serial.setReadBufferSize(m_inBufferSize);
    if (!m_serial.open(QIODevice::ReadWrite)) {
        m_lastError = device + ": " + m_serial.errorString().toStdString();
        m_openFailure = failureOf(m_serial.error(), device);
        return false;
    }
    m_openDevice = device;
    m_lastError.clear();
    m_openFailure = OpenFailure::None;
    return true;
}

// The serial port reports a device held by another program (EBUSY, or its lock file taken) as a
// permission error too; the file's own access rights tell the two apart.
CMSComm::OpenFailure QtCommPort::failureOf(QSerialPort::SerialPortError error,
                                           const std::string& device) {
    switch (error) {
        case QSerialPort::DeviceNotFoundError:
            return OpenFailure::Gone;
        case QSerialPort::PermissionError:
            if (::access(device.c_str(), R_OK | W_OK) == 0) {
                return OpenFailure::Busy;
            }
            return errno == ENOENT   ? OpenFailure::Gone
                   : errno == EACCES ? OpenFailure::Permission
                                     : OpenFailure::Other;
        default:
            return OpenFailure::Other;
    }
}

void QtCommPort::SetInBufferSize(int bytes) {
    m_inBufferSize = bytes;
    m_serial.setReadBufferSize(bytes);
}

void QtCommPort::SetSettings(const std::string& settings) {
    // "baud,parity,data,stop"
    const QStringList parts = QString::fromStdString(settings).split(',');
    if (parts.size() != 4) {
        return;
    }
    m_serial.setBaudRate(parts[0].toInt());
    const QChar parity = parts[1].isEmpty() ? QChar('n') : parts[1][0].toLower();
    m_serial.setParity(parity == 'e'   ? QSerialPort::EvenParity
                       : parity == 'o' ? QSerialPort::OddParity
                       : parity == 'm' ? QSerialPort::MarkParity
                       : parity == 's' ? QSerialPort::SpaceParity
                                       : QSerialPort::NoParity);
    m_serial.setDataBits(static_cast<QSerialPort::DataBits>(parts[2].toInt()));
    m_serial.setStopBits(parts[3] == "2" ? QSerialPort::TwoStop : QSerialPort::OneStop);
}

void QtCommPort::SetHandshaking(Handshaking handshaking) {
    m_serial.setFlowControl(handshaking == Handshaking::RtsCts    ? QSerialPort::HardwareControl
                            : handshaking == Handshaking::XonXoff ? QSerialPort::SoftwareControl
                                                                  : QSerialPort::NoFlowControl);
}

std::vector<std::uint8_t> QtCommPort::GetInput() {
    if (!m_serial.isOpen()) {
        return {};
    }
    const QByteArray taken = m_inputLen > 0 ? m_serial.read(m_inputLen) : m_serial.readAll();
    std::vector<std::uint8_t> bytes(taken.begin(), taken.end());
    if (m_inputLen <= 0) {
        // What the device holds and the port object has not yet taken in is waiting too: a
        // discard that left it would let a late line end head the next answer. The device is
        // non-blocking; an end of file is left for the port's own error to report, and a line
        // that never stops talking is read a bounded piece at a time.
        constexpr std::size_t kMostPerRead = 16 * 1024;
        std::array<char, 4096> chunk{};
        ssize_t n = 0;
        while (bytes.size() < kMostPerRead &&
               (n = ::read(static_cast<int>(m_serial.handle()), chunk.data(), chunk.size())) > 0) {
            bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + n);
        }
    }
    return bytes;
}

void QtCommPort::SetOutput(std::string_view bytes) {
    if (!m_serial.isOpen()) {
        return;
    }
    if (m_held) {
        m_waiting.emplace_back(bytes);
        return;
    }
    m_serial.write(bytes.data(), static_cast<qint64>(bytes.size()));
    // Frames are tiny; hand them to the line now rather than at the next event-loop turn, so the
    // order of bytes and busy waits stays as written.
    m_serial.flush();
}

void QtCommPort::releaseOutput() {
    m_held = false;
    for (const std::string& bytes : std::exchange(m_waiting, {})) {
        SetOutput(bytes);
    }
}

void QtCommPort::onReadyRead() {
    m_event = kCommEventReceive;
    RaiseOnComm();
}

}  // namespace orva

namespace orva {

// A pulled cable or a closed line leaves the device readable with nothing to read, which would
// wake the event loop without end: the port closes and the core is told once.
void QtCommPort::onError(QSerialPort::SerialPortError error) {
    // A hung-up line reads as end of file, which the port reports as a read error.
    if ((error != QSerialPort::ResourceError && error != QSerialPort::ReadError) ||
        !m_serial.isOpen()) {
        return;
    }
    m_lastError = "line lost: plug the controller in again and press Refresh";
    m_serial.close();
    m_event = kCommEventLineLost;
    RaiseOnComm();
}

}  // namespace orva
