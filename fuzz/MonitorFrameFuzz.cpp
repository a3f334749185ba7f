// The live stream's frames as the monitor decodes them: the tag, the eight fields of the
// receiver and output frames, and the sensor frame's numbers and coordinate texts.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "monitor/MonitorFrames.h"
#include "monitor/MonitorValues.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view window(reinterpret_cast<const char*>(data), size);
    orva::MonitorValues values;
    switch (orva::monitor_frames::kindOf(window)) {
        case orva::monitor_frames::FrameKind::Channels:
            orva::monitor_frames::readChannels(window, values);
            break;
        case orva::monitor_frames::FrameKind::Outputs:
            orva::monitor_frames::readOutputs(window, values);
            break;
        case orva::monitor_frames::FrameKind::Sensors:
            orva::monitor_frames::readSensors(window, values);
            break;
        case orva::monitor_frames::FrameKind::None:
            break;
    }
    // The coordinate texts keep their shape whatever the field holds: degrees, a point and six
    // fraction digits, with at most a sign in front.
    const std::string longitude = orva::monitor_frames::longitudeText(window);
    const std::string latitude = orva::monitor_frames::latitudeText(window);
    if (longitude.size() < 8 || longitude.size() > 11 || latitude.size() < 8 ||
        latitude.size() > 10) {
        __builtin_trap();
    }
    return 0;
}
