#pragma once

#include <functional>
#include <iosfwd>
#include <string>

#include "cli/CliFiles.h"
#include "cli/CliOptions.h"
#include "cli/CliPrompts.h"
#include "cli/CliTexts.h"
#include "cli/ExitCode.h"
#include "cli/PortChoice.h"
#include "cli/WatchedPort.h"
#include "core/OrvaCore.h"
#include "platform/PosixFiles.h"
#include "platform/SteadyClock.h"
#include "platform/SystemCalendar.h"
#include "qtserial/QtCommPort.h"

namespace orva::cli {

// The window's core behind a command line: the real port and files, the window's questions
// answered from the command line, and the time-out the window does not have. Needs a
// QCoreApplication.
class CliSession {
  public:
    CliSession(const CliOptions& options, PortChoice port);

    // Opens the port and runs the read-back that starts every connection.
    ExitCode connect();
    // Runs the event loop until `done` holds, or until the controller has been silent for the
    // time-out, the line is lost, or the window would have shown a warning (then `onProblem`).
    // `tick` runs on every turn, for progress.
    ExitCode waitFor(const std::function<bool()>& done, ExitCode onProblem = ExitCode::Refused,
                     const std::function<void()>& tick = {});
    // Reads every setting again, as the end of a restore or an upgrade does.
    ExitCode readBackAgain();
    // Main read-backs finished so far.
    int readbacks() const { return m_readbacks; }

    void act(ActionKind kind, ControlKey key, int value = 0);

    // Progress and messages, unless --quiet; errors always.
    void note(Msg msg, std::initializer_list<std::string> args = {});
    void error(Msg msg, std::initializer_list<std::string> args = {});
    void errorText(const std::string& text);
    // Before an overwrite: a backup needs a read-back in which every value was read; otherwise
    // says so and gives the exit code (nothing is written then).
    ExitCode backupCheck();
    // After the overwrite's first step: the backup the core kept, or why there is none; not
    // Done when the overwrite stopped for want of one.
    ExitCode noteBackup();
    // Writes over the current stderr line; a note ends it.
    void progress(const std::string& text);

    OrvaCore& core() { return m_core; }
    CliPrompts& prompts() { return m_prompts; }
    WatchedPort& port() { return m_port; }
    CliFiles& files() { return m_files; }
    const PortChoice& portChoice() const { return m_choice; }
    IClock& clock() { return m_clock; }
    const CliOptions& options() const { return m_options; }
    Language language() const { return m_options.language; }
    // The firmware version as the window shows it, e.g. "1.220".
    std::string firmwareText();

  private:
    void endProgress();

    const CliOptions& m_options;
    PortChoice m_choice;
    SteadyClock m_clock;
    SystemCalendar m_calendar;
    PosixFiles m_posix;
    CliFiles m_files;
    CliPrompts m_prompts;
    QtCommPort m_qtPort;
    WatchedPort m_port;
    OrvaCore m_core;
    int m_readbacks = 0;
    bool m_progressShown = false;
    bool m_stderrTerminal;
};

}  // namespace orva::cli
