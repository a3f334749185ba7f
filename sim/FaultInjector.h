#pragma once

#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "sim/Outgoing.h"
#include "sim/SimOptions.h"

namespace orva::sim {

// One write to the line, after a pause.
struct WireWrite {
    std::chrono::microseconds delay{0};
    std::string bytes;
};

// What the line does with one message: the writes, and whether the line closes after them.
struct WirePlan {
    std::vector<WireWrite> writes;
    bool closeLine = false;
};

// The faulty line between the controller and the tool: turns each message into the writes that
// reach the wire, dropping, corrupting, holding back, cutting or stalling them as the options
// say. Without faults every message is one write. No I/O and no clock: the pauses are data.
class FaultInjector {
  public:
    explicit FaultInjector(FaultOptions options = {});

    WirePlan shape(const Outgoing& message);
    // Answers held back for joining, and how long they may wait for company.
    bool holding() const { return !m_held.empty(); }
    std::chrono::milliseconds holdLimit() const;
    // The answers held back, sent alone now that their window has passed.
    WirePlan release();

    long bytesSent() const { return m_bytesSent; }
    bool closed() const { return m_closed; }

  private:
    // The writes of `bytes`, with the faults that cut and pace them.
    WirePlan plan(std::string bytes, Outgoing::Kind kind);
    void split(WirePlan& plan);
    void limit(WirePlan& plan);

    FaultOptions m_options;
    std::mt19937 m_random;
    long m_answers = 0;
    long m_loaderAnswers = 0;
    std::string m_held;
    long m_bytesSent = 0;
    bool m_closed = false;
};

}  // namespace orva::sim
