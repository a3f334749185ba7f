#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/Language.h"

namespace orva::cli {

enum class Command { Ports, Read, Save, Restore, Diff, Default, Get, Set, Monitor, Flash };

// The command line of orva-cli, checked before anything is opened.
struct CliOptions {
    static constexpr int kDefaultTimeoutMs = 3000;

    Command command = Command::Read;
    std::vector<std::string> args;  // the command's own operands, in order
    std::string port;               // "COMn" or a device path; empty: the window's last port
    bool json = false;
    bool quiet = false;
    bool dryRun = false;
    bool backup = true;
    bool keepSettings = false;   // flash: restore the backup after the upgrade, then compare
    std::optional<int> savedOn;  // restore, diff: the firmware a file was saved on
    int count = 0;               // monitor frames; 0 until Ctrl-C
    int timeoutMs = kDefaultTimeoutMs;
    Language language = Language::English;

    // What to do instead of running a command: print the usage, or say what is wrong.
    enum class Outcome { Run, Help, Version, Error };
    struct Parsed;
    // `locale` is the user's (LC_ALL, else LC_MESSAGES, else LANG): Chinese ones give Chinese
    // messages unless --lang says otherwise.
    static Parsed parse(const std::vector<std::string>& argv, std::string_view locale = {});
    static std::string usage();
};

struct CliOptions::Parsed {
    Outcome outcome = Outcome::Run;
    CliOptions options;
    std::string error;  // for Outcome::Error
};

}  // namespace orva::cli
