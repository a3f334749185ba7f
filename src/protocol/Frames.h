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

// "?" + code + CR.
std::string query(char code);
// "S" + code + four digits of (value mod 10000), thousands first, + CR.
std::string set(char code, int value);
// The four ASCII digits a set command carries for `value`.
std::string digits4(int value);

}  // namespace frames
}  // namespace orva
