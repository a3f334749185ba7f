#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>

#include "cli/CliOptions.h"
#include "cli/CliTexts.h"
#include "cli/ExitCode.h"
#include "cli/ParameterRow.h"
#include "cli/Report.h"
#include "cli/StdoutWriter.h"
#include "paramfile/RestoreEntries.h"
#include "protocol/ExchangeResult.h"

namespace orva::cli {

class CliSession;

// The commands of orva-cli. Each checks its operands before anything is opened, then drives
// the window's core as a user drives the window.
class CliCommands {
  public:
    explicit CliCommands(const CliOptions& options) : m_options(options) {}

    ExitCode run();

  private:
    ExitCode runCommand();
    // Wire values by code, in the order a restore sends them.
    using FileValues = std::vector<std::pair<char, int>>;

    ExitCode ports();
    ExitCode read(CliSession& session);
    ExitCode save(CliSession& session);
    ExitCode restore(CliSession& session, const RestoreEntries& entries);
    // Writes the saved file at `path` through the window's restore, as `file` holds it for
    // this controller, and checks that the controller took every value.
    ExitCode writeFile(CliSession& session, const std::string& path, const FileValues& file);
    // Says, for each of `codes`, the value sent and the value the controller kept instead.
    void notTaken(CliSession& session, const std::string& codes, const FileValues& sent);
    ExitCode diff(CliSession* session, const FileValues& left, const FileValues* right);
    ExitCode loadDefault(CliSession& session, int set);
    ExitCode get(CliSession& session, char code);
    ExitCode set(CliSession& session, char code, int shown);
    ExitCode monitor(CliSession& session);
    ExitCode flash(CliSession& session);
    // After an upgrade: restores the backup taken before it, then compares what every setting
    // shows now with what it showed before (`wire` of the read-back then, on `version`).
    ExitCode keepSettings(CliSession& session, const std::vector<std::optional<int>>& wire,
                          int version);

    // A saved parameter file's entries; nothing (said) when it is no such file.
    std::optional<RestoreEntries> readSaveFile(const std::string& path);
    // The values a restore of `entries` sends.
    static FileValues valuesOf(const RestoreEntries& entries);
    // The values a restore sends to this controller: converted when the file was saved on the
    // other side of the gimbal encoding's boundary (said so).
    FileValues forController(CliSession& session, RestoreEntries entries, const std::string& path);
    // The controller's read-back against `file`: the parameters that differ.
    std::vector<Difference> against(CliSession& session, const FileValues& file);
    // The parameter's name in the language of the messages.
    std::string name(const ParameterEntry& entry) const;
    void error(const std::string& text);
    void say(Msg msg, std::initializer_list<std::string> args);
    // A command's results to stdout; false (said once) when stdout takes them no more.
    bool put(const std::string& text);

    // Waits for the result of `exchange` since `mark`, as CliSession::waitForResult does, while
    // it overwrites the controller, and gives its exit code (`result` keeps it). The first
    // Ctrl-C only warns; a second one, SIGTERM or SIGHUP stop it, and the user is told how far
    // it got (`where`) and the command that puts the backup back (`recovery`, before it).
    ExitCode overwriting(CliSession& session, Exchange exchange, std::size_t mark,
                         const std::function<void()>& tick,
                         const std::function<std::string()>& where, ExchangeResult& result,
                         const std::string& recovery = {});
    // "orva-cli --port COM3 ARGS", quoted for a shell.
    std::string command(CliSession& session, std::initializer_list<std::string> args) const;

    const CliOptions& m_options;
    StdoutWriter m_out;
};

}  // namespace orva::cli
