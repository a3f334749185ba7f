#pragma once

#include <string_view>

namespace orva {

// The leading decimal integer of a text, as the C library reads it: blanks and a sign allowed,
// reading stops at the first non-digit, 0 when there is no number. Saturates instead of
// overflowing on absurd input.
int leadingInteger(std::string_view text);

}  // namespace orva
