#pragma once

#include "sim/ControllerModel.h"
#include "support/Fakes.h"

namespace orva::bench {

// A port wired straight to the simulated controller in memory: no line, no timing, so what is
// measured is the tool's own work per exchange (plus the controller model's).
class LoopbackController : public test::FakePort {
  public:
    void SetOutput(std::string_view bytes) override {
        ++m_writes;
        for (const auto& message : m_controller.receive(bytes)) {
            pending += message.bytes;
        }
    }
    // Delivers answers as receive events until the controller has nothing more to say.
    void pump() {
        while (!pending.empty()) {
            RaiseOnComm();
        }
    }
    long writes() const { return m_writes; }

  private:
    sim::ControllerModel m_controller;
    long m_writes = 0;
};

}  // namespace orva::bench
