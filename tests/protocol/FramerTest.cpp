#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "protocol/Framer.h"

namespace orva {
namespace {

using namespace std::string_literals;
using M = ProtocolMode;

// One receive event: the mode it runs in and the bytes it read (none: a line-state change).
struct Event {
    M mode;
    std::optional<std::string> bytes;
};

struct Case {
    const char* name;
    std::vector<Event> events;
    std::vector<std::string> frames;  // what the events completed, in order
    std::string text;                 // left in the reply buffer
    int count;                        // the received count after the last event
};

std::string describe(const Frame& frame) {
    if (const auto* f = std::get_if<QueryReply>(&frame)) {
        return "reply "s + f->code + " " + f->value;
    }
    if (std::holds_alternative<DefaultSetAck>(frame)) {
        return "default-set";
    }
    if (const auto* f = std::get_if<Acknowledgement>(&frame)) {
        return "ack " + f->prefix;
    }
    if (const auto* f = std::get_if<MonitorWindow>(&frame)) {
        return "monitor " + f->text;
    }
    if (const auto* f = std::get_if<LoaderTag>(&frame)) {
        return "tag " + f->tag;
    }
    if (std::holds_alternative<ReadyWord>(frame)) {
        return "ready";
    }
    const auto& f = std::get<LoaderAnswer>(frame);
    return "answer " + std::to_string(f.block) + " " + std::to_string(f.checksum);
}

const std::string kChannels = "CHDA15001500150015001500150015001500\r\n";  // 4 + 32 + 2 bytes
// A loader answer naming block 0x12345678 and carrying checksum 0x80000001, zeros elsewhere.
const std::string kAnswer = "\xA5\0\0\0\x78\x56\x34\x12\x01\0\0\x80"s + std::string(52, '\0');
const std::string kZeroSpare = "?C\r"s + '\0' + "0050\r\n";
const std::string kZeroInValue = "?C\rx"s + '\0';

// The loader's tag and ready word, whole and cut, are also read in the upgrade's own tests.
// clang-format off
const Case kCases[] = {
    {"idle reply in three reads", {{M::Idle, "?C\r"}, {M::Idle, "x0050"}, {M::Idle, "\r\n"}}, {"reply C 0050"}, "", 0},
    {"idle count passing ten stalls", {{M::Idle, "?C\rx0050"}, {M::Idle, "\r\n?C"}}, {}, "?C\rx0050\r\n?C", 12},
    {"idle unknown code stays at the head", {{M::Idle, "?~\rx0050\r\n"}, {M::Idle, "?C\rx0050\r\n"}}, {}, "?~\rx0050\r\n?C\rx0050\r\n", 0},
    {"idle garbage of reply length", {{M::Idle, "XYZ0000000"}}, {}, "XYZ0000000", 0},
    // A zero byte is counted but not stored: the value is still the first four of the last six.
    {"idle zero spare byte", {{M::Idle, kZeroSpare}}, {"reply C 0050"}, "", 0},
    {"idle zero inside the value", {{M::Idle, kZeroInValue}, {M::Idle, "050\r\n"}}, {"reply C x050"}, "", 0},
    {"idle default-set acknowledgement, whole at five bytes", {{M::Idle, "Sj00"}, {M::Idle, "00\r"}}, {"default-set"}, "", 0},
    {"default-set rule needs input in the event", {{M::Monitor, "Sj0000\r"}, {M::Idle, std::nullopt}, {M::Idle, ""}}, {"default-set"}, "", 0},
    {"restore acknowledgement from seven bytes", {{M::Restore, "SC0045\r"}, {M::Restore, "\n"}}, {"ack SC"}, "\n", 1},
    {"restore takes the first acknowledgement only", {{M::Restore, "SC00"}, {M::Restore, "45\rSA0001\r\n"}}, {"ack SC"}, "", 0},
    {"chain acknowledgement at exactly eight", {{M::AckChain, "S00370\r\n"}}, {"ack S0"}, "", 0},
    {"chain count passing eight stalls", {{M::AckChain, "S00370\r"}, {M::AckChain, "\nSA"}}, {}, "S00370\r\nSA", 10},
    {"monitor frame split one byte short", {{M::Monitor, kChannels.substr(0, 35)}, {M::Monitor, kChannels.substr(35)}}, {"monitor " + kChannels}, "", 0},
    {"monitor stale bytes before the frame", {{M::Monitor, "xx" + kChannels}}, {"monitor " + kChannels}, "", 0},
    {"monitor misaligned text waits", {{M::Monitor, std::string(36, 'z')}}, {}, std::string(36, 'z'), 36},
    {"reverse reply", {{M::MonitorReverse, "?N\r 0003\r\n"}}, {"reply N 0003"}, "", 0},
    {"reverse ignores other codes", {{M::MonitorReverse, "?C\r 0050\r\n"}}, {}, "?C\r 0050\r\n", 0},
    {"no tag yet keeps the answer", {{M::UpgradeEntry, "HALVANE "}}, {}, "HALVANE ", 0},
    {"ready word at the head", {{M::LoaderReady, "RADY\r\n"}}, {"ready"}, "", 0},
    {"ready word cut over three reads", {{M::LoaderReady, "\r\nRA"}, {M::LoaderReady, "D"}, {M::LoaderReady, "Y\r\n"}}, {"ready"}, "", 0},
    {"no ready word keeps three characters", {{M::LoaderReady, "noise!"}}, {}, "se!", 0},
    {"loader answer in two reads", {{M::LoaderData, kAnswer.substr(0, 3)}, {M::LoaderConfirm, kAnswer.substr(3)}}, {"answer 305419896 2147483649"}, "", 0},
    {"ready word's line end in the next read is not an answer", {{M::LoaderReady, "RADY"}, {M::LoaderData, "\r\n" + kAnswer.substr(0, 10)}, {M::LoaderData, kAnswer.substr(10)}}, {"ready", "answer 305419896 2147483649"}, "", 0},
    {"a chatty line keeps the newest characters", {{M::Idle, std::string(1000, 'a')}, {M::Idle, std::string(100, 'b')}}, {}, std::string(924, 'a') + std::string(100, 'b'), 1100},
    {"loader bytes past one packet stall", {{M::LoaderEnd, std::string(200, '\x7f')}}, {}, "", 200},
    {"unlisted modes read nothing", {{static_cast<M>(8), "abc"}, {static_cast<M>(31), "abc"}, {static_cast<M>(1), "abc"}}, {}, "", 0},
};
// clang-format on

TEST(Framer, FramesEachEventByItsMode) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        Framer framer;
        std::vector<std::string> frames;
        for (const Event& e : c.events) {
            const std::string text = e.bytes.value_or("");
            const std::vector<std::uint8_t> bytes(text.begin(), text.end());
            const auto frame = e.bytes ? framer.feed(e.mode, std::span<const std::uint8_t>(bytes))
                                       : framer.feed(e.mode, std::nullopt);
            if (frame) {
                frames.push_back(describe(*frame));
            }
        }
        EXPECT_EQ(frames, c.frames);
        EXPECT_EQ(framer.text(), c.text);
        EXPECT_EQ(framer.count(), c.count);
    }
}

}  // namespace
}  // namespace orva
