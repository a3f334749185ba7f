#include "cli/ParameterRow.h"

#include "protocol/Frames.h"

namespace orva::cli {
namespace {

// Bit 4 of the packed code is its check box.
constexpr int kPackedBox = 16;
constexpr int kPackedNumberMask = 15;

}  // namespace

ParameterRow ParameterRow::of(char code, std::optional<int> wire, int firmwareVersion) {
    ParameterRow row{.code = code, .wire = wire};
    if (const ParameterEntry* entry = ParameterCatalogue::lookup(code)) {
        row.english = entry->english;
        row.chinese = entry->chinese;
        if (wire) {
            if (const auto state = ParameterCatalogue::decode(*entry, *wire, firmwareVersion)) {
                row.shown = shownNumber(*entry, *state);
            }
        }
    }
    return row;
}

int ParameterRow::shownNumber(const ParameterEntry& entry, const ControlValue& state) {
    switch (entry.encoding) {
        case Encoding::BitSet:
            return static_cast<int>(state.boxes);
        case Encoding::Packed:
            return state.number + ((state.boxes & 1u) != 0 ? kPackedBox : 0);
        default:
            return state.number;
    }
}

std::optional<ControlValue> ParameterRow::controlValue(const ParameterEntry& entry, int shown) {
    ControlValue state;
    int number = shown;
    if (entry.encoding == Encoding::BitSet) {
        state.boxes = static_cast<std::uint32_t>(shown);
    } else if (entry.encoding == Encoding::Packed) {
        number = shown & kPackedNumberMask;
        state.boxes = (shown & kPackedBox) != 0 ? 1u : 0u;
        if (shown < 0 || shown > (kPackedBox | kPackedNumberMask)) {
            return std::nullopt;
        }
    }
    if (number < entry.uiMin || number > entry.uiMax) {
        return std::nullopt;
    }
    state.number = number;
    return state;
}

std::string ParameterRow::readableCodes() {
    std::string codes;
    for (char code : frames::kMainChainCodes) {
        if (code != 'V' && code != frames::kDefaultSetCode) {
            codes.push_back(code);
        }
    }
    return codes;
}

}  // namespace orva::cli
