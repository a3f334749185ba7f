#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace orva {

// The protocol modes: how the receive event frames bytes and whose handler gets them.
namespace mode {
constexpr int kIdle = 0;  // read-back replies, ordinary set commands
constexpr int kUpgradeFirst = 2;
constexpr int kUpgradeLast = 6;
constexpr int kRestore = 7;
constexpr int kMonitor = 10;
constexpr int kAckChain = 15;  // calibration, custom frame, reverse acknowledgements
constexpr int kMonitorReverse = 20;
constexpr int kUpgradeEntry = 30;
}  // namespace mode

// The protocol engine's shared state; the link restart and the senders reset parts of it.
struct ProtocolState {
    static constexpr int kRetryStart = 3;
    static constexpr std::size_t kPacketSize = 64;

    int mode = mode::kIdle;
    // One character per received byte; zero bytes are counted but not stored.
    std::string replyBuffer;
    // Bytes read since last set to 0, zero bytes included.
    int receivedCount = 0;
    int retryCounter = kRetryStart;
    // Four-digit number of the version reply; 0 until read.
    int firmwareVersion = 0;
    // The upgrade loader's binary answer, filled in modes 3 to 6.
    std::array<std::uint8_t, kPacketSize> packetReply{};
};

}  // namespace orva
