#include "cli/CliOptions.h"

#include <QCommandLineParser>

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

// The options, by their first name; a value name marks an option that takes a value.
struct OptionRow {
    QStringList names;
    const char* valueName;
};

const OptionRow kOptions[] = {
    {{"h", "help"}, nullptr},  {{"version"}, nullptr},       {{"json"}, nullptr},
    {{"q", "quiet"}, nullptr}, {{"dry-run"}, nullptr},       {{"no-backup"}, nullptr},
    {{"port"}, "COMn|DEVICE"}, {{"timeout"}, "MS"},          {{"count"}, "N"},
    {{"lang"}, "en|zh"},       {{"keep-settings"}, nullptr}, {{"saved-on"}, "VERSION"},
};

// A negative number is an operand ("set ^ -30"), not a row of short options; it is hidden
// from the parser behind this mark.
constexpr char kNegative = '\x01';

bool isNegativeNumber(const std::string& a) {
    return a.size() > 1 && a[0] == '-' &&
           std::all_of(a.begin() + 1, a.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string unmarked(const QString& text) {
    std::string s = text.toStdString();
    return !s.empty() && s[0] == kNegative ? s.substr(1) : s;
}

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

CliOptions::Parsed CliOptions::parse(const std::vector<std::string>& argv,
                                     std::string_view locale) {
    Parsed parsed;
    CliOptions& o = parsed.options;
    o.language = locale.starts_with("zh") ? Language::Chinese : Language::English;
    auto fail = [&](std::string error) {
        parsed.outcome = Outcome::Error;
        parsed.error = std::move(error);
        return parsed;
    };
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    for (const OptionRow& row : kOptions) {
        parser.addOption(row.valueName ? QCommandLineOption(row.names, {}, row.valueName)
                                       : QCommandLineOption(row.names));
    }
    QStringList arguments{"orva-cli"};
    for (const std::string& a : argv) {
        arguments << QString::fromStdString(isNegativeNumber(a) ? kNegative + a : a);
    }
    if (!parser.parse(arguments)) {
        return fail(parser.errorText().toStdString());
    }
    if (parser.isSet("help")) {
        parsed.outcome = Outcome::Help;
        return parsed;
    }
    if (parser.isSet("version")) {
        parsed.outcome = Outcome::Version;
        return parsed;
    }
    o.json = parser.isSet("json");
    o.quiet = parser.isSet("quiet");
    o.dryRun = parser.isSet("dry-run");
    o.backup = !parser.isSet("no-backup");
    o.keepSettings = parser.isSet("keep-settings");
    if (o.keepSettings && !o.backup) {
        return fail("--keep-settings restores the backup: it cannot go with --no-backup");
    }
    if (parser.isSet("saved-on")) {
        const std::string value = unmarked(parser.value("saved-on"));
        const auto version = number(value);
        if (!version || *version < 0 || *version > 9999) {
            return fail("--saved-on wants a firmware version such as 1211, not \"" + value + "\"");
        }
        o.savedOn = *version;
    }
    if (parser.isSet("port")) {
        o.port = unmarked(parser.value("port"));
    }
    if (parser.isSet("timeout")) {
        const std::string value = unmarked(parser.value("timeout"));
        const auto ms = number(value);
        if (!ms || *ms < 1) {
            return fail("--timeout wants a number of milliseconds, not \"" + value + "\"");
        }
        o.timeoutMs = *ms;
    }
    if (parser.isSet("count")) {
        const std::string value = unmarked(parser.value("count"));
        const auto n = number(value);
        if (!n || *n < 1) {
            return fail("--count wants a number of frames, not \"" + value + "\"");
        }
        o.count = *n;
    }
    if (parser.isSet("lang")) {
        const std::string value = unmarked(parser.value("lang"));
        if (value != "en" && value != "zh") {
            return fail("--lang is en or zh, not \"" + value + "\"");
        }
        o.language = value == "zh" ? Language::Chinese : Language::English;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty()) {
        return fail("no command given");
    }
    const std::string name = positional.front().toStdString();
    for (qsizetype i = 1; i < positional.size(); ++i) {
        o.args.push_back(unmarked(positional[i]));
    }
    const auto row = std::find_if(std::begin(kCommands), std::end(kCommands),
                                  [&](const CommandRow& r) { return name == r.name; });
    if (row == std::end(kCommands)) {
        return fail("unknown command " + name);
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
  flash IMAGE.bin [--keep-settings]
                         save a backup of the parameters, upgrade the firmware, read back;
                         --keep-settings then restores the backup and checks that every
                         setting shows what it showed before (exit 5 and the list if not)

Options:
  --port COMn|DEVICE     the controller's port (default: the window's last port, else the one
                         USB serial device plugged in); ORVA_COM<n>=DEVICE in the environment
                         maps COMn as in the window
  --timeout MS           how long to wait for each answer of the controller (default 3000)
  --json                 results as JSON: one object, or one object a line for the streams
                         ports and monitor; a value not received is null
  --no-backup            no backup of the parameters before restore, default and flash;
                         without it they write nothing when no backup can be written
  --saved-on VERSION     restore, diff: the firmware FILE was saved on (a backup's name says
                         it); across 1211/1212 the gimbal values are converted
                         (backups: $XDG_DATA_HOME or ~/.local/share, Orva/backups, newest 20)
  --quiet, -q            no progress or messages on stderr, only errors
  --lang en|zh           messages in English or Chinese (default: the locale's, LANG)
  --help, --version

Results go to stdout; progress and messages to stderr (the progress line only on a terminal).
FILE "-" is stdin for restore and diff, stdout for save. Options may stand anywhere, as
"--timeout 500" or "--timeout=500"; "--" ends them. A monitor sends its stop command however it
ends. Ctrl-C during restore, default or flash warns first; a second one stops and prints the
command that puts the backup back.

Exit codes:
  0  done
  2  usage error (unknown command, option, code, or a value out of range); nothing was written
  3  the port cannot be opened (the system's reason follows)
  4  the controller is not answering, or not every setting was read (damaged replies): save,
     restore, default and flash then write nothing
  5  refused by the controller (checksum, bad block, a value not taken)
  6  bad file (unreadable, not a saved parameter file, not a firmware image, no backup written)
  7  the results could not be written to stdout (the system's reason follows)
  130  stopped halfway through restore, default or flash: the controller is half-written

Examples:
  orva-cli ports
  orva-cli --port COM1 read --json > settings.json
  orva-cli --port /dev/ttyACM0 save before-crash.txt
  orva-cli restore before-crash.txt --dry-run
  orva-cli set C 37
  orva-cli monitor --count 20
  orva-cli save - | ssh backup-host 'cat > craft.txt'
)";
}

}  // namespace orva::cli
