#pragma once

namespace orva {

// How the receive event frames bytes and which exchange gets them. The values are the numbers
// the protocol itself uses for its modes.
enum class ProtocolMode : int {
    Idle = 0,             // read-back replies, ordinary set commands, default-set acknowledgement
    LoaderReady = 2,      // upgrade: waiting for the loader's ready word
    LoaderData = 3,       // upgrade: the answer to the start packet or a data packet
    LoaderLastData = 4,   // upgrade: the answer to the last data packet
    LoaderEnd = 5,        // upgrade: the answer to the end packet, with the loader's checksum
    LoaderConfirm = 6,    // upgrade: the answer to the confirm packet
    Restore = 7,          // acknowledgements of the restore chain
    Monitor = 10,         // live monitor frames
    AckChain = 15,        // calibration, custom frame and reverse acknowledgements
    MonitorReverse = 20,  // the reverse bits read again while the monitor runs
    UpgradeEntry = 30,    // upgrade: the loader's answer naming its firmware tag
};

}  // namespace orva
