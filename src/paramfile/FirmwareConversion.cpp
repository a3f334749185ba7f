#include "paramfile/FirmwareConversion.h"

#include <algorithm>

#include "paramfile/ParameterSaveFile.h"
#include "settings/ParameterCatalogue.h"

namespace orva {

int FirmwareConversion::wire(char code, int wire, int savedOn, int target) {
    const ParameterEntry& entry = ParameterCatalogue::at(code);
    const auto shown = ParameterCatalogue::decode(entry, wire, savedOn);
    const auto converted = ParameterCatalogue::encode(entry, *shown, target);
    const ReadRule& accepted = ParameterCatalogue::activeRule(entry, target);
    return std::clamp(*converted, accepted.min, accepted.max);
}

std::string FirmwareConversion::convert(RestoreEntries& entries, int savedOn, int target) {
    if (ParameterCatalogue::oldFirmware(savedOn) == ParameterCatalogue::oldFirmware(target)) {
        return {};
    }
    std::string codes;
    for (const ParameterEntry& entry : ParameterCatalogue::entries()) {
        if (entry.encoding != Encoding::VersionOffset) {
            continue;
        }
        // Line 0 is the port line: a slot's entry is one further on.
        const int index = entry.slot + 1;
        const int value = wire(entry.code, entries.integer(index), savedOn, target);
        entries.store(index, std::string(RestoreEntries::kValueStart, ' ') +
                                 ParameterSaveFile::valueText(entry.slot, value));
        codes.push_back(entry.code);
    }
    return codes;
}

}  // namespace orva
