#pragma once

#include <optional>
#include <string>
#include <vector>

#include "settings/ParameterCatalogue.h"

namespace orva::cli {

// One parameter as orva-cli prints it: its code and names, the number the window shows for it
// (list index, check boxes as bits, or the number itself), the value on the wire, and for a list
// the text of the item shown.
struct ParameterRow {
    char code = 0;
    std::string english;
    std::string chinese;
    std::optional<int> shown;
    std::optional<int> wire;  // nothing: not read
    bool list = false;
    std::optional<std::string> item;  // a list's item; nothing: not read, or no item

    // The row of `code` for a value read from (or bound for) the controller.
    static ParameterRow of(char code, std::optional<int> wire, int firmwareVersion);

    // The codes the main read-back asks, without the version and the default-set choice.
    static std::string readableCodes();
};

}  // namespace orva::cli
