#pragma once

#include <string>

#include "paramfile/RestoreEntries.h"

namespace orva {

// A save file holds wire values, and the gimbal scales and the roll and Z angle limits mean
// something else on the wire from firmware 1212 on: older firmware takes them 100 up. A file
// saved on one side of that boundary and restored on the other is rewritten so that each
// setting shows the number it showed when saved.
class FirmwareConversion {
  public:
    // The wire value that shows on firmware `target` what `wire` showed on `savedOn`, kept to
    // what the target's read-back accepts.
    static int wire(char code, int wire, int savedOn, int target);
    // Rewrites the version-dependent entries of a file saved on `savedOn` for `target`; returns
    // the codes rewritten, empty when both versions encode alike.
    static std::string convert(RestoreEntries& entries, int savedOn, int target);
};

}  // namespace orva
