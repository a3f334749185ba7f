#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orva {

// Converts the UTF-8 of the tool's own texts to GBK (code page 936), the encoding of
// the parameter files. A call converts the whole text or fails; nothing is half converted.
class GbkConverter {
  public:
    // Nothing when the text holds a character GBK lacks, or is not valid UTF-8.
    static std::optional<std::string> toGbk(std::string_view utf8);
};

}  // namespace orva
