#include <QCoreApplication>

#include <iostream>

#include "cli/CliCommands.h"
#include "cli/CliOptions.h"

int main(int argc, char** argv) {
    using orva::cli::CliOptions;
    using orva::cli::ExitCode;
    const CliOptions::Parsed parsed = CliOptions::parse({argv + 1, argv + argc});
    switch (parsed.outcome) {
        case CliOptions::Outcome::Help:
            std::cout << CliOptions::usage();
            return 0;
        case CliOptions::Outcome::Version:
            std::cout << "orva-cli " << ORVA_VERSION << '\n';
            return 0;
        case CliOptions::Outcome::Error:
            std::cerr << "orva-cli: " << parsed.error << "\n\n" << CliOptions::usage();
            return orva::cli::exitStatus(ExitCode::Usage);
        case CliOptions::Outcome::Run:
            break;
    }
    QCoreApplication app(argc, argv);
    return orva::cli::exitStatus(orva::cli::CliCommands(parsed.options).run());
}
