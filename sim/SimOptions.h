#pragma once

#include <chrono>
#include <cstddef>
#include <string>

namespace orva::sim {

// What the simulated controller is: its firmware and its power-on parameters.
struct ControllerOptions {
    int firmwareVersion = 1220;  // answered to "?V\r"
    std::string tag = "QDMC";    // firmware tag of the upgrade loader: QDMC or QDEC
    int powerOnSet = 1;          // default parameter set held at power-on (0..3)
    std::string silentCodes;     // codes whose commands are never answered
    std::string unkeptCodes;     // codes whose set commands are acknowledged, their value not kept
    // Version of the firmware a confirmed upgrade installs; 0 keeps the version as it was. New
    // firmware starts from the factory's first default set, encoded as that version expects.
    int upgradeTo = 0;
};

// Line faults, applied to what the controller sends. 0 turns a counter fault off.
struct FaultOptions {
    int dropEvery = 0;            // drop every Nth answer
    int corruptEvery = 0;         // invert one byte of every Nth answer
    std::size_t corruptByte = 4;  // index of that byte (the last byte when the answer is shorter)
    bool split = false;           // cut every write into random pieces
    std::chrono::microseconds splitGap{1000};  // pause before each further piece
    // Hold every Nth answer back and send it in one write with the next, or alone once the join
    // window has passed without one.
    int joinEvery = 0;
    // Answers that leave within this time of the first one held go out in one write, as a USB
    // adapter's latency timer joins the answers to commands sent back to back. 0: off; the
    // window of --join-every is then 16 ms. Loader answers fill a USB packet and go at once.
    std::chrono::milliseconds joinWindow{0};
    // Each answer's final line end goes out this long after the rest. 0: off.
    std::chrono::microseconds lateLineEnd{0};
    int stallPacket = 0;  // cut the answer to the Nth upgrade packet in the middle
    std::chrono::milliseconds stallTime{0};  // the rest follows after this; 0: never
    long closeAfter = 0;                     // close the line after this many bytes sent
    unsigned seed = 1;                       // of the random piece sizes
};

// How the line paces what the controller sends, at 115200 baud 8N1 (about 87 us a byte).
enum class WireTiming {
    None,       // every write at once, as soon as it is ready
    PerByte,    // one byte at a time, each at its wire time: the hardest case for framing
    PerAnswer,  // each write at once when its last byte would have crossed the wire, as a USB
                // serial adapter hands a short answer over in one packet; a command counts as
                // arrived only once its own bytes would have crossed the wire
};

struct SimOptions {
    ControllerOptions controller;
    FaultOptions faults;
    std::chrono::milliseconds streamInterval{40};  // between two monitor frames
    // How long the controller works on a command before it answers (a set command writes its
    // parameter memory). Commands that arrive together are therefore answered one by one, a
    // little apart, as a real controller does.
    std::chrono::microseconds commandTime{2000};
    WireTiming wireTiming = WireTiming::None;
    std::string linkPath;   // symbolic link to the slave device, when not empty
    std::string imagePath;  // where each firmware image the loader receives is written
    std::string logPath;    // log of every frame received and sent
};

}  // namespace orva::sim
