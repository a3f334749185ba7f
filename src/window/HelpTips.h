#pragma once

#include <span>
#include <string>

#include "model/ControlKey.h"

namespace orva {

// The help message box behind a label button: Chinese in both languages.
struct HelpTip {
    ControlKey label;
    std::string title;
    std::string text;
};

// Every label button of the main window and of the pages that explains its setting.
std::span<const HelpTip> helpTips();

// The tip of `label`, if it has one.
const HelpTip* findHelpTip(ControlKey label);

}  // namespace orva
