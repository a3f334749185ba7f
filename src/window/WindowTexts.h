#pragma once

#include <span>
#include <string_view>

#include "model/ControlKey.h"
#include "model/ControlTexts.h"

namespace orva {

// One language-dependent control text of the main window or of a page. The Chinese form that
// the window starts with is the dialog template's; switching to English and back writes
// `chineseRestored` instead where the two differ (spacing, shorter captions, a template typo).
struct ControlText {
    ControlKey key;
    std::string_view chinese;
    std::string_view english;
    std::string_view chineseRestored = {};  // empty: the template form is written back

    std::string_view chineseAfterSwitch() const {
        return chineseRestored.empty() ? chinese : chineseRestored;
    }
};

// Every text that the language switch sets, page by page: the window title, labels, label
// buttons, page buttons, group boxes, check box captions and the data display captions.
std::span<const ControlText> controlTexts();

// Tab item texts in tab order; set once, Chinese in both languages.
std::span<const std::string_view> tabItemTexts();

}  // namespace orva
