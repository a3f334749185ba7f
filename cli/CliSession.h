#pragma once

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

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
    // Runs the event loop until `done` holds, or until the controller has given no whole answer
    // for the time-out or the line is lost (both said). `tick` runs on every turn, for progress.
    ExitCode waitFor(const std::function<bool()>& done, const std::function<void()>& tick = {});
    // Results reported so far; a mark taken before an action finds the results it led to.
    std::size_t resultMark() const { return m_results.size(); }
    // The first result of `exchange` since `mark`, waiting for it as waitFor does (`stop` ends
    // the wait early); a time-out or a lost line gives that outcome.
    ExchangeResult waitForResult(Exchange exchange, std::size_t mark,
                                 const std::function<void()>& tick = {},
                                 const std::function<bool()>& stop = {});
    // The first result of `exchange` since `mark`, if one came.
    std::optional<ExchangeResult> resultSince(Exchange exchange, std::size_t mark) const;
    // The exit code of a result; a refusal is said (a value not kept by the caller, who knows
    // what was sent).
    ExitCode exitFor(const ExchangeResult& result);
    // Reads every setting again, as the end of a restore or an upgrade does.
    ExitCode readBackAgain();

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
    std::vector<ExchangeResult> m_results;
    bool m_progressShown = false;
    bool m_stderrTerminal;
};

}  // namespace orva::cli
