#include "app/CommandLine.h"

#include <string_view>

namespace orva {
namespace {

constexpr std::string_view kUsage =
    "Usage: orva [--demo]\n"
    "Configures and upgrades the Kivrel flight controller over its USB serial link.\n"
    "\n"
    "  --demo       connect to a simulated controller instead of a real one\n"
    "  -h, --help   show this text\n"
    "  --version    show the version\n"
    "\n"
    "COMn in the port list is the device in the environment variable ORVA_COM<n> when set,\n"
    "otherwise the n-th serial device (USB adapters first).\n";
constexpr int kUsageError = 2;

}  // namespace

CommandLine CommandLine::parse(int argc, char** argv) {
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--demo") {
            line.demo = true;
        } else if (arg == "-h" || arg == "--help") {
            line.action = Action::Help;
            return line;
        } else if (arg == "--version") {
            line.action = Action::Version;
            return line;
        } else {
            line.action = Action::Usage;
            line.unknown = arg;
            return line;
        }
    }
    return line;
}

int CommandLine::answer(std::ostream& out, std::ostream& err) const {
    switch (action) {
        case Action::Help:
            out << kUsage;
            return 0;
        case Action::Version:
            out << "orva " << ORVA_VERSION << "\n";
            return 0;
        case Action::Usage:
            err << "orva: unknown option '" << unknown << "'\n" << kUsage;
            return kUsageError;
        case Action::Run:
            break;
    }
    return 0;
}

}  // namespace orva
