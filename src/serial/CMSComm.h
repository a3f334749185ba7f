#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace orva {

// The serial port as the tool drives it: the operations of the communications control it was
// first written against, under their names. Implementations: the Qt adapter, and fakes in tests.
class CMSComm {
  public:
    enum class InputMode { Text, Binary };
    enum class Handshaking { None, XonXoff, RtsCts, RtsCtsXonXoff };
    // Why an opening failed, as far as the user can act on it.
    enum class OpenFailure {
        None,        // the last opening succeeded
        NoDevice,    // nothing stands for the port number
        Gone,        // the device file does not exist
        Permission,  // the user may not open the device
        Busy,        // another program holds the device
        Other,       // anything else: LastError() has the system's words
    };
    static constexpr int kCommEventReceive = 2;
    // The device went away or the line hung up; the port has closed itself.
    static constexpr int kCommEventLineLost = 1100;

    virtual ~CMSComm() = default;

    virtual void SetCommPort(int port) = 0;
    virtual int GetCommPort() const = 0;
    // Opening may fail (absent device, busy, no permission, bad number): returns false and
    // LastError() says why in the system's words.
    virtual bool SetPortOpen(bool open) = 0;
    virtual bool GetPortOpen() const = 0;
    virtual void SetInBufferSize(int bytes) = 0;
    virtual void SetOutBufferSize(int bytes) = 0;
    // "115200,n,8,1": baud, parity, data bits, stop bits.
    virtual void SetSettings(const std::string& settings) = 0;
    virtual void SetInputMode(InputMode mode) = 0;
    virtual void SetRThreshold(int bytes) = 0;
    virtual void SetInputLen(int bytes) = 0;
    virtual void SetHandshaking(Handshaking handshaking) = 0;
    // Every byte waiting, removed from the receive buffer; empty when none or closed.
    virtual std::vector<std::uint8_t> GetInput() = 0;
    // Exactly these bytes go to the line; nothing is added.
    virtual void SetOutput(std::string_view bytes) = 0;
    virtual int GetCommEvent() const = 0;

    // The device that the current port number stands for, e.g. "/dev/ttyUSB0"; empty if none.
    virtual std::string DeviceName() const = 0;
    // Why the last opening failed, for the user; empty after a successful one.
    virtual std::string LastError() const = 0;
    virtual OpenFailure LastOpenFailure() const = 0;

    // The receive event: raised on the user-interface thread whenever bytes arrive.
    void SetOnComm(std::function<void()> handler) { m_onComm = std::move(handler); }

  protected:
    void RaiseOnComm() {
        if (m_onComm) {
            m_onComm();
        }
    }

  private:
    std::function<void()> m_onComm;
};

}  // namespace orva
