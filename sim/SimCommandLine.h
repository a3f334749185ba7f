#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "sim/SimOptions.h"

namespace orva::sim {

// The options of the kivrel-sim executable.
class SimCommandLine {
  public:
    struct Result {
        SimOptions options;
        bool help = false;
        bool version = false;
        std::string error;  // empty when the arguments were understood
    };

    // `arguments` without the program name.
    static Result parse(const std::vector<std::string>& arguments);
    static std::string usage(const std::string& program);

  private:
    // Sets what `option` (without its dashes) asks for from its value `text`.
    static void apply(std::string_view option, const std::string& text, Result& result);
};

}  // namespace orva::sim
