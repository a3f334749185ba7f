#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace orva {

// What one receive event can complete, by protocol mode.

// A query's reply: the code it repeats and its four value characters.
struct QueryReply {
    char code = 0;
    std::string value;
};
// "Sj0..." while idle: the controller has loaded a default set.
struct DefaultSetAck {};
// A set command's acknowledgement: its first two characters as received ("S" + code when whole).
struct Acknowledgement {
    std::string prefix;
};
// A live monitor frame that ends the received text and starts with a known tag.
struct MonitorWindow {
    std::string text;
};
// The loader's answer to "?W\r": the four characters where the tag stands (may be anything).
struct LoaderTag {
    std::string tag;
};
// The loader's "RADY" or "RADE".
struct ReadyWord {};
// A 64-byte loader answer: the block it expects next and the checksum it carries.
struct LoaderAnswer {
    std::uint32_t block = 0;
    std::uint32_t checksum = 0;
};

using Frame = std::variant<QueryReply, DefaultSetAck, Acknowledgement, MonitorWindow, LoaderTag,
                           ReadyWord, LoaderAnswer>;

}  // namespace orva
