#pragma once

#include <map>
#include <optional>
#include <string>

#include "cli/CliOptions.h"
#include "cli/CliTexts.h"
#include "cli/ExitCode.h"
#include "cli/ParameterRow.h"
#include "cli/Report.h"

namespace orva::cli {

class CliSession;

// The commands of orva-cli. Each checks its operands before anything is opened, then drives
// the window's core as a user drives the window.
class CliCommands {
  public:
    explicit CliCommands(const CliOptions& options) : m_options(options) {}

    ExitCode run();

  private:
    // Wire values by code, in the order a restore sends them.
    using FileValues = std::vector<std::pair<char, int>>;

    ExitCode ports();
    ExitCode read(CliSession& session);
    ExitCode save(CliSession& session);
    ExitCode restore(CliSession& session, const FileValues& file);
    ExitCode diff(CliSession* session, const FileValues& left, const FileValues* right);
    ExitCode loadDefault(CliSession& session, int set);
    ExitCode get(CliSession& session, char code);
    ExitCode set(CliSession& session, char code, int shown);
    ExitCode monitor(CliSession& session);
    ExitCode flash(CliSession& session);

    // A saved parameter file as the restore would send it; nothing (said) when it is no such file.
    std::optional<FileValues> readSaveFile(const std::string& path);
    // The controller's read-back against `file`: the parameters that differ.
    std::vector<Difference> against(CliSession& session, const FileValues& file);
    // The parameter's name in the language of the messages.
    std::string name(const ParameterEntry& entry) const;
    void error(const std::string& text);
    void say(Msg msg, std::initializer_list<std::string> args);

    const CliOptions& m_options;
};

}  // namespace orva::cli
