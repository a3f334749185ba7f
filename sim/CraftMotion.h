#pragma once

#include <array>
#include <string>

namespace orva::sim {

// What a craft on the bench reports while the monitor runs: sticks sweeping, switches stepping
// through their positions, motors following the sticks, a slow climb and descent, a heading
// turning, and a GPS track circling the Greenwich meridian so that the longitude changes sign.
// Every reading is a pure function of the time since power-on.
class CraftMotion {
  public:
    static constexpr int kChannels = 8;
    using Channels = std::array<int, kChannels>;

    struct Sensors {
        int ultrasonicMm = 0;
        int baroDm = 0;
        int headingDeg = 0;
        int vibration = 0;
        long longitudeMicroDeg = 0;
        long latitudeMicroDeg = 0;
    };

    // Receiver pulse widths in microseconds, CH1 to CH8, before any reversing.
    static Channels receiver(double seconds);
    // Outputs M/S1 to M/S8 for multi-axis mode `multiAxis` (the wire value of code A) with
    // `motors` motors on a custom frame.
    static Channels outputs(double seconds, int multiAxis, int customMotors);
    static Sensors sensors(double seconds);

    // The 38-character frames, fields as the tool reads them.
    static std::string channelsFrame(const Channels& channels);
    static std::string outputsFrame(const Channels& outputs);
    static std::string sensorsFrame(const Sensors& sensors);

    // Reversed channels read mirrored about the centre pulse.
    static Channels reversed(Channels values, int reverseBits);
    static int motorCount(int multiAxis, int customMotors);
};

}  // namespace orva::sim
