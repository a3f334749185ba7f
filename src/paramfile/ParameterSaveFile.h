#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "settings/ParameterStore.h"

namespace orva {

// The positional text file that keeps a controller's settings on the computer: a port line, one
// line per stored value (a 13-byte label, then the value text from byte 13 on), four remark
// lines. GBK throughout, every line ended by CR CR LF except the last. The restore reads the
// values back from fixed byte positions, so labels, widths and line order are the format itself.
class ParameterSaveFile {
  public:
    static constexpr int kLabelBytes = 13;
    static constexpr int kStoredValues = ParameterStore::kUsed;  // lines 1 to 191
    static constexpr int kRemarkLines = 4;
    static constexpr int kLineCount = 1 + kStoredValues + kRemarkLines;
    // What a text-mode stream makes of a line text ending in CR LF.
    static constexpr std::string_view kLineEnd = "\r\r\n";
    // The name the save dialog proposes, and the suffix it adds.
    static constexpr const char* kDefaultName = "QDMC_Data";
    static constexpr const char* kDefaultSuffix = "txt";

    // The label of stored value `slot` (0 to 190), in UTF-8; empty outside that range.
    static std::string label(int slot);
    // The value text that follows the label.
    static std::string valueText(int slot, int value);
    // Line 0 without its terminator, in UTF-8: the port text and the COM number with at least
    // two digits.
    static std::string portLine(int portNumber);
    // The remark lines, in UTF-8, without terminators.
    static std::string_view remark(int index);

    // Checks a file before its values are written to a controller: nothing when the bytes are
    // exactly what `compose` writes for the port and values they hold, and every value sent is
    // one Save Data could have written there (a list position, a check box's 1 or 0, a number
    // the read-back keeps); otherwise the number of the first line (1 for the first) that is
    // not. A file cut short, edited, or of another kind fails here, so none of it goes out.
    static std::optional<int> firstForeignLine(std::string_view bytes);

    // The whole file in GBK. `portPosition` is the COM list's selection (0 for COM1). Nothing
    // when a text cannot be put into GBK.
    static std::optional<std::string> compose(const ParameterStore& store, int portPosition);
};

}  // namespace orva
