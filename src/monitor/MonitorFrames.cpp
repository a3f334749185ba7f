#include "monitor/MonitorFrames.h"

#include <algorithm>
#include <cstddef>

#include "platform/LeadingInteger.h"
#include "protocol/Frames.h"

namespace orva::monitor_frames {
namespace {

constexpr std::size_t kFieldWidth = 4;
constexpr std::size_t kFirstField = frames::kMonitorTagLength;

// The receiver frame carries CH3 and CH4 the other way round: its third field is CH4.
constexpr int kChannelOfField[MonitorValues::kChannels] = {0, 1, 3, 2, 4, 5, 6, 7};

// Sensor frame fields: position and width.
struct Field {
    std::size_t at;
    std::size_t width;
};
constexpr Field kUltrasonic{4, 4};
constexpr Field kBarometric{8, 4};
constexpr Field kMagnetic{12, 3};
constexpr Field kVibration{15, 2};
constexpr Field kLongitude{17, 10};
constexpr Field kLatitude{27, 9};

constexpr std::size_t kFractionDigits = 6;
constexpr std::size_t kLongitudeDegrees = 3;
constexpr std::size_t kLatitudeDegrees = 2;

std::string_view cut(std::string_view window, std::size_t at, std::size_t width) {
    if (at >= window.size()) {
        return {};
    }
    return window.substr(at, width);
}

int number(std::string_view window, Field field) {
    return leadingInteger(cut(window, field.at, field.width));
}

std::array<int, MonitorValues::kChannels> eightFields(std::string_view window) {
    std::array<int, MonitorValues::kChannels> fields{};
    for (std::size_t k = 0; k < fields.size(); ++k) {
        fields[k] = number(window, {kFirstField + kFieldWidth * k, kFieldWidth});
    }
    return fields;
}

// A sign character, `degreeDigits` digits and six fraction digits. The degrees lose their
// leading zeros but keep their last digit; a "+" is not shown; any other sign is, unless the
// whole coordinate is zero.
std::string coordinateText(std::string_view raw, std::size_t degreeDigits) {
    // Characters missing from a short window read as "0", so a cut field still gives a text
    // of the usual shape.
    std::string field(raw.substr(0, std::min(raw.size(), 1 + degreeDigits + kFractionDigits)));
    field.resize(1 + degreeDigits + kFractionDigits, '0');
    const char sign = field[0];
    const std::string_view degrees = std::string_view(field).substr(1, degreeDigits);
    const std::string_view fraction = std::string_view(field).substr(1 + degreeDigits);

    std::size_t first = 0;
    while (first + 1 < degrees.size() && degrees[first] == '0') {
        ++first;
    }
    std::string text(degrees.substr(first));
    text += '.';
    text += fraction;
    if (sign == '+') {
        return text;
    }
    const bool zero = degrees.find_first_not_of('0') == std::string_view::npos &&
                      fraction.find_first_not_of('0') == std::string_view::npos;
    if (zero) {
        return text;
    }
    return sign + text;
}

}  // namespace

FrameKind kindOf(std::string_view window) {
    if (window.starts_with(frames::kMonitorChannels)) {
        return FrameKind::Channels;
    }
    if (window.starts_with(frames::kMonitorOutputs)) {
        return FrameKind::Outputs;
    }
    if (window.starts_with(frames::kMonitorSensors)) {
        return FrameKind::Sensors;
    }
    return FrameKind::None;
}

void readChannels(std::string_view window, MonitorValues& values) {
    const auto fields = eightFields(window);
    for (std::size_t k = 0; k < fields.size(); ++k) {
        values.receiver[kChannelOfField[k]] = fields[k];
    }
}

void readOutputs(std::string_view window, MonitorValues& values) {
    values.outputs = eightFields(window);
}

void readSensors(std::string_view window, MonitorValues& values) {
    values.ultrasonicHeight = number(window, kUltrasonic);
    values.barometricHeight = number(window, kBarometric);
    values.magneticAngle = number(window, kMagnetic);
    values.vibration = number(window, kVibration);
    values.longitude = longitudeText(cut(window, kLongitude.at, kLongitude.width));
    values.latitude = latitudeText(cut(window, kLatitude.at, kLatitude.width));
}

std::string longitudeText(std::string_view field) {
    return coordinateText(field, kLongitudeDegrees);
}

std::string latitudeText(std::string_view field) {
    return coordinateText(field, kLatitudeDegrees);
}

}  // namespace orva::monitor_frames
