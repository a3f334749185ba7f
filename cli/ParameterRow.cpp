#include "cli/ParameterRow.h"

#include "protocol/Frames.h"

namespace orva::cli {

ParameterRow ParameterRow::of(char code, std::optional<int> wire, int firmwareVersion) {
    ParameterRow row{.code = code, .wire = wire};
    if (const ParameterEntry* entry = ParameterCatalogue::lookup(code)) {
        row.english = entry->english;
        row.chinese = entry->chinese;
        row.list = !entry->items.empty();
        if (wire) {
            if (const auto state = ParameterCatalogue::decode(*entry, *wire, firmwareVersion)) {
                row.shown = shownNumber(*entry, *state);
                if (const auto item = ParameterCatalogue::itemText(*entry, state->number)) {
                    row.item = std::string(*item);
                }
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
            return ParameterCatalogue::encode(entry, state, 0).value_or(0);
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
        // Shown as on the wire: a number that no state encodes to is outside the range.
        const auto packed = ParameterCatalogue::decode(entry, shown, 0);
        if (!packed || ParameterCatalogue::encode(entry, *packed, 0) != shown) {
            return std::nullopt;
        }
        number = packed->number;
        state.boxes = packed->boxes;
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
