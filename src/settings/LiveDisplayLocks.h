#pragma once

#include <span>

#include "model/ControlKey.h"

namespace orva {

// The setting controls that must not be used while the live data display streams: changing a
// setting then would interleave set commands with the controller's data frames. The sixteen
// channel-reverse boxes are not among them; they stay usable during the display. The parameters'
// controls among them are flagged in the catalogue.
std::span<const ControlKey> liveDisplayLockedControls();

}  // namespace orva
