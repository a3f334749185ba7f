#pragma once

#include <string>

#include "serial/CMSComm.h"
#include "sim/ControllerModel.h"

namespace orva::test {

// A port wired straight to the simulated controller in memory: no line, no timing, so what is
// measured is the tool's own work per exchange (plus the controller model's).
class LoopbackController : public CMSComm {
  public:
    void SetCommPort(int port) override { m_port = port; }
    int GetCommPort() const override { return m_port; }
    bool SetPortOpen(bool open) override {
        m_open = open;
        return true;
    }
    bool GetPortOpen() const override { return m_open; }
    void SetInBufferSize(int) override {}
    void SetOutBufferSize(int) override {}
    void SetSettings(const std::string&) override {}
    void SetInputMode(InputMode) override {}
    void SetRThreshold(int) override {}
    void SetInputLen(int) override {}
    void SetHandshaking(Handshaking) override {}
    std::vector<std::uint8_t> GetInput() override {
        std::vector<std::uint8_t> out(m_pending.begin(), m_pending.end());
        m_pending.clear();
        return out;
    }
    void SetOutput(std::string_view bytes) override {
        ++m_writes;
        for (const auto& message : m_controller.receive(bytes)) {
            m_pending += message.bytes;
        }
    }
    int GetCommEvent() const override { return kCommEventReceive; }
    std::string DeviceName() const override { return "loopback"; }
    std::string LastError() const override { return {}; }

    // Delivers answers as receive events until the controller has nothing more to say.
    void pump() {
        while (!m_pending.empty()) {
            RaiseOnComm();
        }
    }
    long writes() const { return m_writes; }

  private:
    sim::ControllerModel m_controller;
    std::string m_pending;
    int m_port = 0;
    bool m_open = false;
    long m_writes = 0;
};

}  // namespace orva::test
