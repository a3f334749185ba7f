#pragma once

#include <cstdint>
#include <string>

#include "serial/CMSComm.h"

namespace orva::cli {

// The real port with a watch on it: what the last write was, so a command can say which of its
// commands got no answer. Everything else passes straight through.
class WatchedPort : public CMSComm {
  public:
    explicit WatchedPort(CMSComm& port);

    void SetCommPort(int port) override { m_port.SetCommPort(port); }
    int GetCommPort() const override { return m_port.GetCommPort(); }
    bool SetPortOpen(bool open) override { return m_port.SetPortOpen(open); }
    bool GetPortOpen() const override { return m_port.GetPortOpen(); }
    void SetInBufferSize(int bytes) override { m_port.SetInBufferSize(bytes); }
    void SetOutBufferSize(int bytes) override { m_port.SetOutBufferSize(bytes); }
    void SetSettings(const std::string& settings) override { m_port.SetSettings(settings); }
    void SetInputMode(InputMode mode) override { m_port.SetInputMode(mode); }
    void SetRThreshold(int bytes) override { m_port.SetRThreshold(bytes); }
    void SetInputLen(int bytes) override { m_port.SetInputLen(bytes); }
    void SetHandshaking(Handshaking handshaking) override { m_port.SetHandshaking(handshaking); }
    std::vector<std::uint8_t> GetInput() override { return m_port.GetInput(); }
    void SetOutput(std::string_view bytes) override;
    int GetCommEvent() const override { return m_port.GetCommEvent(); }
    std::string DeviceName() const override { return m_port.DeviceName(); }
    std::string LastError() const override { return m_port.LastError(); }
    OpenFailure LastOpenFailure() const override { return m_port.LastOpenFailure(); }

    // The last write as a user reads it: "?C", "S~0001", or "upgrade packet" for binary bytes.
    std::string lastCommand() const;
    // Writes whose first byte is `first`, since the start.
    int writesStartingWith(char first) const { return m_counts[static_cast<unsigned char>(first)]; }

  private:
    CMSComm& m_port;
    std::string m_lastWrite;
    int m_counts[256] = {};
};

}  // namespace orva::cli
