#include "sim/CraftMotion.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "protocol/Frames.h"

namespace orva::sim {
namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr int kPulseMin = 1000;
constexpr int kPulseCentre = 1500;
constexpr int kPulseMax = 2000;
constexpr std::array<int, 3> kSwitchPulses = {1100, 1500, 1900};

// The track circles a point just west of the meridian, so the longitude crosses zero.
constexpr double kHomeLatitude = 51.476852;
constexpr double kHomeLongitude = -0.000500;
constexpr double kTrackRadiusDeg = 0.000800;
constexpr double kTrackPeriodS = 60.0;

double wave(double seconds, double periodS, double phase = 0.0) {
    return std::sin(kTwoPi * seconds / periodS + phase);
}

int clampPulse(double value) {
    return std::clamp(static_cast<int>(std::lround(value)), kPulseMin, kPulseMax);
}

int switchPulse(double seconds, double dwellS, int positions, int offset) {
    const long step = static_cast<long>(seconds / dwellS) + offset;
    const int position = static_cast<int>(step % positions);
    return positions == 2 ? kSwitchPulses[position == 0 ? 0 : 2] : kSwitchPulses[position];
}

void appendField(std::string& out, int value, int width) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*d", width, value);
    out.append(text, static_cast<std::size_t>(width));
}

// Sign character, degree digits, six fraction digits.
void appendCoordinate(std::string& out, long microDeg, int degreeDigits) {
    out.push_back(microDeg < 0 ? '-' : '+');
    const long magnitude = std::labs(microDeg);
    appendField(out, static_cast<int>(magnitude / 1000000), degreeDigits);
    appendField(out, static_cast<int>(magnitude % 1000000), 6);
}

std::string frame(std::string_view tag, const CraftMotion::Channels& fields) {
    std::string out(tag);
    for (int value : fields) {
        appendField(out, std::clamp(value, 0, 9999), 4);
    }
    out += "\r\n";
    return out;
}

}  // namespace

CraftMotion::Channels CraftMotion::receiver(double seconds) {
    const double throttle = kPulseMin + 100 + 800 * (0.5 - 0.5 * std::cos(kTwoPi * seconds / 8.0));
    return {
        clampPulse(kPulseCentre + 400 * wave(seconds, 4.0)),       // roll
        clampPulse(kPulseCentre + 400 * wave(seconds, 5.0, 1.0)),  // pitch
        clampPulse(throttle),
        clampPulse(kPulseCentre + 300 * wave(seconds, 6.0, 2.0)),  // yaw
        switchPulse(seconds, 3.0, 3, 0),
        switchPulse(seconds, 4.0, 3, 1),
        switchPulse(seconds, 5.0, 2, 0),
        switchPulse(seconds, 7.0, 3, 2),
    };
}

int CraftMotion::motorCount(int multiAxis, int customMotors) {
    switch (multiAxis) {
        case 1:  // gimbal only
            return 0;
        case 2:
            return 2;
        case 3:
            return 3;
        case 4:
        case 5:
        case 6:
            return 4;
        case 7:
        case 8:
        case 9:
        case 15:
            return 6;
        case 10:
        case 11:
        case 12:
            return 8;
        case 13:
        case 14:
            return 1;  // wings: one motor, the rest are servos
        case 16:
            return std::clamp(customMotors, 0, kChannels);
        default:
            return 4;
    }
}

CraftMotion::Channels CraftMotion::outputs(double seconds, int multiAxis, int customMotors) {
    const Channels stick = receiver(seconds);
    const double roll = stick[0] - kPulseCentre;
    const double pitch = stick[1] - kPulseCentre;
    const double yaw = stick[3] - kPulseCentre;
    const int motors = motorCount(multiAxis, customMotors);
    Channels out{};
    for (int m = 0; m < kChannels; ++m) {
        if (m < motors) {
            // Motors spaced evenly around the frame, alternating propeller direction.
            const double angle = kTwoPi * (m + 0.5) / motors;
            const double mix = 0.3 * roll * std::sin(angle) + 0.3 * pitch * std::cos(angle) +
                               0.2 * yaw * (m % 2 == 0 ? 1 : -1);
            out[m] = clampPulse(stick[2] + (stick[2] > kPulseMin + 150 ? mix : 0.0));
        } else {
            // Spare outputs drive gimbal servos that follow the craft's tilt.
            out[m] = clampPulse(kPulseCentre - 0.5 * (m % 2 == 0 ? roll : pitch));
        }
    }
    return out;
}

CraftMotion::Sensors CraftMotion::sensors(double seconds) {
    Sensors s;
    const double heightM = 3.0 + 2.5 * wave(seconds, 20.0);
    // The ultrasonic sensor sees the ground up to 4 m and reads 0 beyond.
    s.ultrasonicMm = heightM <= 4.0 ? static_cast<int>(std::lround(heightM * 1000)) : 0;
    s.baroDm = static_cast<int>(std::lround(heightM * 10 + 120 + 2 * wave(seconds, 1.3)));
    s.headingDeg = static_cast<int>(std::fmod(seconds * 12.0, 360.0));
    s.vibration =
        static_cast<int>(std::lround(20 + 8 * wave(seconds, 2.0) + 6 * wave(seconds, 0.7)));
    const double angle = kTwoPi * seconds / kTrackPeriodS;
    s.longitudeMicroDeg = std::lround((kHomeLongitude + kTrackRadiusDeg * std::cos(angle)) * 1e6);
    s.latitudeMicroDeg = std::lround((kHomeLatitude + kTrackRadiusDeg * std::sin(angle)) * 1e6);
    return s;
}

CraftMotion::Channels CraftMotion::reversed(Channels values, int reverseBits) {
    for (int n = 0; n < kChannels; ++n) {
        if (reverseBits & (1 << n)) {
            values[n] = 2 * kPulseCentre - values[n];
        }
    }
    return values;
}

std::string CraftMotion::channelsFrame(const Channels& channels) {
    return frame(frames::kMonitorChannels, channels);
}

std::string CraftMotion::outputsFrame(const Channels& outputs) {
    return frame(frames::kMonitorOutputs, outputs);
}

std::string CraftMotion::sensorsFrame(const Sensors& sensors) {
    std::string out(frames::kMonitorSensors);
    appendField(out, std::clamp(sensors.ultrasonicMm, 0, 9999), 4);
    appendField(out, std::clamp(sensors.baroDm, 0, 9999), 4);
    appendField(out, std::clamp(sensors.headingDeg, 0, 359), 3);
    appendField(out, std::clamp(sensors.vibration, 0, 99), 2);
    appendCoordinate(out, std::clamp(sensors.longitudeMicroDeg, -180000000L, 180000000L), 3);
    appendCoordinate(out, std::clamp(sensors.latitudeMicroDeg, -90000000L, 90000000L), 2);
    out += "\r\n";
    return out;
}

}  // namespace orva::sim
