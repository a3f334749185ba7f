#pragma once

#include <string>
#include <vector>

#include "sim/SimOptions.h"

namespace orva::sim {

// The options of the kivrel-sim executable.
class SimCommandLine {
  public:
    struct Result {
        SimOptions options;
        bool help = false;
        std::string error;  // empty when the arguments were understood
    };

    // `arguments` without the program name.
    static Result parse(const std::vector<std::string>& arguments);
    static std::string usage(const std::string& program);
};

}  // namespace orva::sim
