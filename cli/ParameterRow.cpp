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
                row.shown = ParameterCatalogue::shownNumber(*entry, *state);
                if (const auto item = ParameterCatalogue::itemText(*entry, state->number)) {
                    row.item = std::string(*item);
                }
            }
        }
    }
    return row;
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
