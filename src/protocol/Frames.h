#pragma once

#include <string>
#include <string_view>

namespace orva {

// The command words of the Kivrel link. Shared by the tool and the simulated controller.
namespace frames {

constexpr char kCr = '\r';
constexpr std::size_t kQueryLength = 3;
constexpr std::size_t kSetLength = 7;
// A query reply: the 3 query bytes, one byte, four value characters, two more bytes.
constexpr std::size_t kReplyLength = 10;
// The controller acknowledges a set command with 8 bytes beginning "S" + code.
constexpr std::size_t kAckLength = 8;

constexpr std::string_view kMonitorStart = "S~0001\r";
constexpr std::string_view kMonitorStop = "S~0000\r";
constexpr std::string_view kUpgradeKindQuery = "?W\r";
constexpr std::string_view kUpgradeEnterQdmc = "UPQDMC\r";
constexpr std::string_view kUpgradeEnterQdec = "UPQDEC\r";
constexpr char kDefaultSetCode = 'j';
constexpr char kMonitorCode = '~';
constexpr char kUpgradeKindCode = 'W';

// The read-back chains in the order the tool asks them.
constexpr std::string_view kMainChainCodes = "VCABDEFG!@#$HIJK%^&()_+LRT`YZQ4567MNOPabcdef=ghi<j";
constexpr std::string_view kFrameChainCodes = "klmnopqrstuvwxyz";
// A code either chain asks: the replies the tool takes while idle.
constexpr bool readBackCode(char code) {
    return kMainChainCodes.find(code) != std::string_view::npos ||
           kFrameChainCodes.find(code) != std::string_view::npos;
}
// Battery calibration set commands carry the tap voltages under these codes, in this order.
constexpr std::string_view kCalibrationCodes = "0123";

// Live monitor frames: a 4-character tag, 32 characters of fields, 2 trailing characters.
constexpr std::size_t kMonitorFrameLength = 38;
constexpr std::size_t kMonitorTagLength = 4;
constexpr std::string_view kMonitorChannels = "CHDA";
constexpr std::string_view kMonitorOutputs = "MSDA";
constexpr std::string_view kMonitorSensors = "SSDA";

// Upgrade loader: the firmware tags, the ready words, and the 64-byte packets.
constexpr std::string_view kTagQdmc = "QDMC";
constexpr std::string_view kTagQdec = "QDEC";
constexpr std::string_view kReadyQdmc = "RADY";
constexpr std::string_view kReadyQdec = "RADE";
constexpr std::size_t kPacketSize = 64;
constexpr std::size_t kPacketDataBytes = 56;
constexpr std::size_t kPacketBlockOffset = 4;     // block number, 32 bits, LSB first
constexpr std::size_t kPacketChecksumOffset = 8;  // end packet and its answer
constexpr std::size_t kPacketDataOffset = 8;
constexpr unsigned char kPacketStart = 0xA0;
constexpr unsigned char kPacketData = 0xA5;
constexpr unsigned char kPacketEnd = 0xC8;
constexpr unsigned char kPacketConfirm = 0xA6;

// "?" + code + CR.
std::string query(char code);
// "S" + code + four digits of (value mod 10000), thousands first, + CR.
std::string set(char code, int value);
// The four ASCII digits a set command carries for `value`.
std::string digits4(int value);

}  // namespace frames
}  // namespace orva
