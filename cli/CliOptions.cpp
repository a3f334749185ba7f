#include "cli/CliOptions.h"

#include <algorithm>
#include <charconv>

namespace orva::cli {
namespace {

struct CommandRow {
    const char* name;
    Command command;
    std::size_t minArgs;
    std::size_t maxArgs;
};

constexpr CommandRow kCommands[] = {
    {"ports", Command::Ports, 0, 0},     {"read", Command::Read, 0, 0},
    {"save", Command::Save, 1, 1},       {"restore", Command::Restore, 1, 1},
    {"diff", Command::Diff, 1, 2},       {"default", Command::Default, 1, 1},
    {"get", Command::Get, 1, 1},         {"set", Command::Set, 2, 2},
    {"monitor", Command::Monitor, 0, 0}, {"flash", Command::Flash, 1, 1},
};

std::optional<int> number(const std::string& text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

CliOptions::Parsed CliOptions::parse(const std::vector<std::string>& argv) {
    Parsed parsed;
    CliOptions& o = parsed.options;
    auto fail = [&](std::string error) {
        parsed.outcome = Outcome::Error;
        parsed.error = std::move(error);
        return parsed;
    };
    std::optional<std::string> name;
    for (std::size_t i = 0; i < argv.size(); ++i) {
        const std::string& a = argv[i];
        // Options that take a value: "--timeout 500" or "--timeout=500".
        std::string value;
        auto takeValue = [&](const char* option) -> bool {
            const std::string prefix = std::string(option) + "=";
            if (a.rfind(prefix, 0) == 0) {
                value = a.substr(prefix.size());
                return true;
            }
            if (a == option && i + 1 < argv.size()) {
                value = argv[++i];
                return true;
            }
            return false;
        };
        if (a == "--help" || a == "-h") {
            parsed.outcome = Outcome::Help;
            return parsed;
        } else if (a == "--version") {
            parsed.outcome = Outcome::Version;
            return parsed;
        } else if (a == "--json") {
            o.json = true;
        } else if (a == "--quiet" || a == "-q") {
            o.quiet = true;
        } else if (a == "--dry-run") {
            o.dryRun = true;
        } else if (a == "--no-backup") {
            o.backup = false;
        } else if (takeValue("--port")) {
            o.port = value;
        } else if (takeValue("--timeout")) {
            const auto ms = number(value);
            if (!ms || *ms < 1) {
                return fail("--timeout wants a number of milliseconds, not \"" + value + "\"");
            }
            o.timeoutMs = *ms;
        } else if (takeValue("--count")) {
            const auto n = number(value);
            if (!n || *n < 1) {
                return fail("--count wants a number of frames, not \"" + value + "\"");
            }
            o.count = *n;
        } else if (takeValue("--lang")) {
            if (value != "en" && value != "zh") {
                return fail("--lang is en or zh, not \"" + value + "\"");
            }
            o.language = value == "zh" ? Language::Chinese : Language::English;
        } else if (a.size() > 1 && a[0] == '-' &&
                   (a[1] < '0' || a[1] > '9')) {  // not a negative value
            return fail("unknown option " + a);
        } else if (!name) {
            name = a;
        } else {
            o.args.push_back(a);
        }
    }
    if (!name) {
        return fail("no command given");
    }
    const auto row = std::find_if(std::begin(kCommands), std::end(kCommands),
                                  [&](const CommandRow& r) { return *name == r.name; });
    if (row == std::end(kCommands)) {
        return fail("unknown command " + *name);
    }
    o.command = row->command;
    if (o.args.size() < row->minArgs || o.args.size() > row->maxArgs) {
        return fail(std::string("wrong number of operands for ") + row->name);
    }
    return parsed;
}

std::string CliOptions::usage() {
    return R"(Usage: orva-cli [OPTIONS] COMMAND [ARGS]

Every Kivrel controller operation of the Orva window, from a terminal or a script. Each command
that talks to the controller first reads all its settings, as the window does when it connects.

Commands:
  ports                  the COM numbers and the device each stands for
  read [--json]          the firmware version, then every parameter: code, English name,
                         Chinese name, shown value, wire value
  save FILE              read back, then write FILE as the window's Save Data does
  restore FILE [--dry-run]
                         show what would change, then write FILE to the controller and read back
  diff FILE [FILE2]      the parameters that differ between the controller and FILE, or two files
  default N              load the controller's default set N (0 to 3), then read back
  get CODE               one parameter, as read shows it
  set CODE VALUE         write one parameter (VALUE as read shows it), then read back to confirm
  monitor [--count N] [--json]
                         the live data stream, one line per frame, until N frames or Ctrl-C
  flash IMAGE.bin        save a backup of the parameters, upgrade the firmware, read back

Options:
  --port COMn|DEVICE     the controller's port (default: the window's last port, else COM3);
                         ORVA_COM<n>=DEVICE in the environment maps COMn as in the window
  --timeout MS           how long to wait for each answer of the controller (default 3000)
  --json                 results as JSON (ports, read, get, diff, default, monitor)
  --no-backup            no backup of the parameters before restore, default and flash
                         (backups: $XDG_DATA_HOME or ~/.local/share, Orva/backups, newest 20)
  --quiet, -q            no progress or messages on stderr, only errors
  --lang en|zh           messages in English (default) or Chinese
  --help, --version

Results go to stdout; progress and messages to stderr.

Exit codes:
  0  done
  2  usage error (unknown command, option, code, or a value out of range); nothing was written
  3  the port cannot be opened (the system's reason follows)
  4  the controller is not answering (the command that got no answer follows)
  5  refused by the controller (checksum, bad block, a value not taken)
  6  bad file (unreadable, not a saved parameter file, not a firmware image)

Examples:
  orva-cli ports
  orva-cli --port COM1 read --json > settings.json
  orva-cli --port /dev/ttyACM0 save before-crash.txt
  orva-cli restore before-crash.txt --dry-run
  orva-cli set C 37
  orva-cli monitor --count 20
)";
}

}  // namespace orva::cli
