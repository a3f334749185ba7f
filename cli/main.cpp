#include <QCoreApplication>

#include <csignal>
#include <cstdlib>
#include <iostream>

#include "cli/CliCommands.h"
#include "cli/CliOptions.h"

int main(int argc, char** argv) {
    using orva::cli::CliOptions;
    using orva::cli::ExitCode;
    // A closed stdout is a write error to report, and a monitor must still send its stop
    // command: not a silent death by SIGPIPE.
    std::signal(SIGPIPE, SIG_IGN);
    // The messages' language follows the user's locale, as the first set of these names does.
    const char* locale = nullptr;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (locale == nullptr && value != nullptr && *value != '\0') {
            locale = value;
        }
    }
    const CliOptions::Parsed parsed =
        CliOptions::parse({argv + 1, argv + argc}, locale ? locale : "");
    switch (parsed.outcome) {
        case CliOptions::Outcome::Help:
            std::cout << CliOptions::usage() << std::flush;
            return std::cout ? 0 : orva::cli::exitStatus(ExitCode::OutputFailed);
        case CliOptions::Outcome::Version:
            std::cout << "orva-cli " << ORVA_VERSION << '\n' << std::flush;
            return std::cout ? 0 : orva::cli::exitStatus(ExitCode::OutputFailed);
        case CliOptions::Outcome::Error:
            std::cerr << "orva-cli: " << parsed.error << "\n\n" << CliOptions::usage();
            return orva::cli::exitStatus(ExitCode::Usage);
        case CliOptions::Outcome::Run:
            break;
    }
    QCoreApplication app(argc, argv);
    return orva::cli::exitStatus(orva::cli::CliCommands(parsed.options).run());
}
