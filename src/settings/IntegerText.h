#pragma once

#include <optional>
#include <string_view>

namespace orva {

// An edit box's integer exchange: the whole text must be one decimal integer (blanks around it
// and a sign allowed). Nothing when it is not, or when it does not fit an int; the dialog then
// says kNotAnInteger and keeps the number it held.
std::optional<int> integerText(std::string_view text);

constexpr const char* kNotAnInteger = "请键入一个整数。";

}  // namespace orva
