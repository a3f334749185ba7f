#include "app/CommandLine.h"

#include <QCommandLineParser>

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
    // The same parser as orva-cli's and kivrel-sim's, so --opt=value, -- and -h behave alike.
    QCommandLineParser parser;
    const QCommandLineOption demo("demo");
    const QCommandLineOption help(QStringList{"h", "help"});
    const QCommandLineOption version("version");
    parser.addOptions({demo, help, version});
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    CommandLine line;
    if (!parser.parse(arguments)) {
        line.action = Action::Usage;
        line.unknown = parser.errorText().toStdString();
    } else if (parser.isSet(help)) {
        line.action = Action::Help;
    } else if (parser.isSet(version)) {
        line.action = Action::Version;
    } else if (!parser.positionalArguments().isEmpty()) {
        line.action = Action::Usage;
        line.unknown =
            "Unexpected argument '" + parser.positionalArguments().front().toStdString() + "'.";
    }
    line.demo = parser.isSet(demo);
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
            err << "orva: " << unknown << "\n" << kUsage;
            return kUsageError;
        case Action::Run:
            break;
    }
    return 0;
}

}  // namespace orva
