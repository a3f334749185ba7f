#pragma once

#include <string_view>

namespace orva {

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

}  // namespace orva
