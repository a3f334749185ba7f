#pragma once

#include <string>
#include <string_view>

#include "monitor/MonitorValues.h"

namespace orva::monitor_frames {

enum class FrameKind { None, Channels, Outputs, Sensors };

// The kind of frame whose tag starts `window`; None for anything else.
FrameKind kindOf(std::string_view window);

// Take the fields of a tagged window into `values`. A window cut short (zero bytes are counted
// but not kept) reads its missing characters as nothing: such fields show 0.
void readChannels(std::string_view window, MonitorValues& values);
void readOutputs(std::string_view window, MonitorValues& values);
void readSensors(std::string_view window, MonitorValues& values);

// The display texts of the sensor frame's coordinates: a sign character, the degree digits
// (three for longitude, two for latitude) and six fraction digits.
std::string longitudeText(std::string_view field);
std::string latitudeText(std::string_view field);

}  // namespace orva::monitor_frames
