#pragma once

#include <ostream>
#include <string>

namespace orva {

// What `orva` was asked on its command line. Read before the window toolkit starts, so --help and
// --version work without a display.
struct CommandLine {
    enum class Action { Run, Help, Version, Usage };

    Action action = Action::Run;
    bool demo = false;
    std::string unknown;  // what made it a usage error, as the parser says it

    static CommandLine parse(int argc, char** argv);
    // Prints what --help, --version or a usage error ask for; returns the exit code.
    int answer(std::ostream& out, std::ostream& err) const;
};

}  // namespace orva
