#pragma once

#include <QObject>
#include <QSerialPort>
#include <string>
#include <vector>

#include "serial/CMSComm.h"
#include "serial/PortResolver.h"

namespace orva {

// The serial port on QSerialPort. Its readyRead arrives on the GUI thread and is raised as the
// receive event, so the core reads bytes between window messages like any other event.
class QtCommPort : public QObject, public CMSComm {
    Q_OBJECT
  public:
    explicit QtCommPort(PortResolver resolver = PortResolver(), QObject* parent = nullptr);

    void SetCommPort(int port) override;
    int GetCommPort() const override { return m_port; }
    bool SetPortOpen(bool open) override;
    bool GetPortOpen() const override { return m_serial.isOpen(); }
    void SetInBufferSize(int bytes) override;
    void SetOutBufferSize(int bytes) override { m_outBufferSize = bytes; }
    void SetSettings(const std::string& settings) override;
    void SetInputMode(InputMode mode) override { m_inputMode = mode; }
    void SetRThreshold(int bytes) override { m_threshold = bytes; }
    void SetInputLen(int bytes) override { m_inputLen = bytes; }
    void SetHandshaking(Handshaking handshaking) override;
    std::vector<std::uint8_t> GetInput() override;
    void SetOutput(std::string_view bytes) override;
    int GetCommEvent() const override { return m_event; }
    std::string DeviceName() const override;
    std::string LastError() const override { return m_lastError; }
    OpenFailure LastOpenFailure() const override { return m_openFailure; }

    // While held, writes wait in order and leave on release, each as written. The application
    // holds the first query until the window has been painted once, so that no reply waits for
    // that paint.
    void holdOutput() { m_held = true; }
    bool outputHeld() const { return m_held; }
    void releaseOutput();

  private:
    void onReadyRead();
    void onError(QSerialPort::SerialPortError error);
    static OpenFailure failureOf(QSerialPort::SerialPortError error, const std::string& device);

    PortResolver m_resolver;
    QSerialPort m_serial;
    int m_port = 0;
    int m_inBufferSize = 1024;
    int m_outBufferSize = 1024;
    int m_threshold = 1;
    int m_inputLen = 0;
    InputMode m_inputMode = InputMode::Binary;
    int m_event = 0;
    std::string m_lastError;
    OpenFailure m_openFailure = OpenFailure::None;
    std::string m_openDevice;  // what the open port was opened on
    bool m_held = false;
    std::vector<std::string> m_waiting;  // writes held back, oldest first
};

}  // namespace orva
