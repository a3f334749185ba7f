#pragma once

#include <span>
#include <string_view>

#include "model/ControlKey.h"

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

// The texts of the firmware path edit (1028) while no image has been chosen. The language switch
// and a page switch word the English hint differently.
namespace upgrade_hint {
constexpr std::string_view kChinese = "<-请先点击左侧按扭选择升级文件(*.bin),再点右侧按扭开始升级!";
constexpr std::string_view kEnglishAfterLanguageSwitch =
    "<-Please select FW file(*.bin),then click [upgrade]!";
constexpr std::string_view kEnglishAfterPageSwitch =
    "<-Please select FW file(*.bin),then click [Upgrade]!";
}  // namespace upgrade_hint

// The data display button (1118) while the display is stopped, in its switched forms.
namespace data_display {
constexpr std::string_view kStartChinese = "显示数据";
constexpr std::string_view kStartEnglish = "Data Display";
}  // namespace data_display

// Tab item texts in tab order; set once, Chinese in both languages.
std::span<const std::string_view> tabItemTexts();

}  // namespace orva
