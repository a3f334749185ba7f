#pragma once

#include <atomic>
#include <chrono>
#include <optional>
#include <string>
#include <thread>

#include "sim/ControllerModel.h"
#include "sim/FaultInjector.h"
#include "sim/PtyTransport.h"
#include "sim/SimOptions.h"
#include "sim/WireLog.h"

namespace orva::sim {

// The simulated controller on its own pseudo-terminal, served by a background thread: it answers
// what arrives on the line, streams monitor frames while asked to, and applies the line faults
// and wire timing of its options. Start once; stop (or destruction) ends the thread and closes
// the line.
class SimRunner {
  public:
    using Clock = std::chrono::steady_clock;

    explicit SimRunner(SimOptions options = {});
    ~SimRunner();
    SimRunner(const SimRunner&) = delete;
    SimRunner& operator=(const SimRunner&) = delete;

    // Opens the pseudo-terminal (and the link, log and image paths of the options) and starts
    // serving it. Returns the slave device path. Throws std::runtime_error when it cannot.
    std::string start();
    // Ends the thread and closes the line; removes the link. Safe to call more than once.
    void stop();
    // False before start, after stop, and once a close fault has closed the line.
    bool running() const { return m_running.load(); }
    const std::string& slavePath() const { return m_pty.slavePath(); }

  private:
    void run();
    void serveInput(const std::string& bytes);
    void deliver(const Outgoing& message);
    void deliver(const WirePlan& plan);
    void releaseHeld();
    void writeToLine(std::string_view bytes);
    bool pause(std::chrono::microseconds delay);
    // Waits until `when`, to within a few microseconds; false when the runner is stopped first.
    bool pauseUntil(Clock::time_point when);
    void storeImage();
    void closeLine();
    void removeLink();

    SimOptions m_options;
    ControllerModel m_model;
    FaultInjector m_faults;
    PtyTransport m_pty;
    WireLog m_log;
    std::thread m_thread;
    int m_wake[2] = {-1, -1};
    int m_opened = -1;  // inotify: the slave device was opened
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_running{false};
    bool m_started = false;
    bool m_linked = false;
    bool m_hungUp = false;
    bool m_lineClosed = false;
    Clock::time_point m_start;
    Clock::time_point m_lineFree;  // when the controller's last byte has crossed the wire
    Clock::time_point m_inFree;    // when the tool's last byte has crossed the wire
    Clock::time_point m_ready;     // when the controller has done with the last command
    Clock::time_point m_nextFrame;
    std::optional<Clock::time_point> m_holdUntil;  // when answers held for joining go alone
};

}  // namespace orva::sim
