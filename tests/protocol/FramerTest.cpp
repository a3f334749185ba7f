#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "protocol/Framer.h"

namespace orva {
namespace {

using namespace std::string_literals;
using M = ProtocolMode;

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

// Appends each read in turn and takes every frame it completes, as the link does.
std::vector<std::string> frameReads(Framer& framer, M mode, const std::vector<std::string>& reads) {
    std::vector<std::string> frames;
    for (const std::string& read : reads) {
        framer.append(std::span(reinterpret_cast<const std::uint8_t*>(read.data()), read.size()));
        while (const auto frame = framer.next(mode)) {
            frames.push_back(describe(*frame));
        }
    }
    return frames;
}

const std::string kChannels = "CHDA15001500110019001000150015001500\r\n";  // 4 + 32 + 2 bytes
const std::string kOutputs = "MSDA10001100120013001400150016001700\r\n";
const std::string kSensors = "SSDA01230456090"s + "12+012345678-05123456\r\n";
// A loader answer naming block 0x12345678 and carrying checksum 0x80000001, zeros elsewhere.
const std::string kAnswer = "\xA5\0\0\0\x78\x56\x34\x12\x01\0\0\x80"s + std::string(52, '\0');
// The answer to the start packet: it names block 2.
const std::string kFirstAnswer = "\r\0\0\0\x02\0\0\0"s + std::string(56, '\0');

struct Case {
    const char* name;
    M mode;
    std::vector<std::string> reads;
    std::vector<std::string> frames;  // what the reads completed, in order
    std::string waiting;              // left for later bytes
};

// clang-format off
const Case kCases[] = {
    {"a reply of an unknown code goes whole", M::Idle, {"?~\rx0050\r\n?C\rx0050\r\n"}, {"reply C 0050"}, ""},
    {"garbage of reply length goes", M::Idle, {"XYZ0000000"}, {}, ""},
    {"a reply's head waits for its rest", M::Idle, {"\r\n?C\rx00"}, {}, "?C\rx00"},
    // A zero byte is counted but not stored: the value is the first four of the last six.
    {"zero spare byte", M::Idle, {"?C\r"s + '\0' + "0050\r\n"}, {"reply C 0050"}, ""},
    {"zero inside the value", M::Idle, {"?C\rx"s + '\0', "050\r\n"}, {"reply C x050"}, ""},
    {"a late reply is no acknowledgement", M::Restore, {"?C\r 0050\r\nSC0045\r\n"}, {"ack SC"}, ""},
    {"monitor frame one byte short waits", M::Monitor, {kChannels.substr(0, 35)}, {}, kChannels.substr(0, 35)},
    {"start acknowledgement and stale bytes before a frame", M::Monitor, {"S~0001\r\nxx" + kSensors}, {"monitor " + kSensors.substr(0, 36)}, ""},
    {"a monitor frame outside the monitor", M::Idle, {kSensors + "?V\r 1220\r\n"}, {"monitor " + kSensors.substr(0, 36), "reply V 1220"}, ""},
    {"reverse ignores other codes", M::MonitorReverse, {"?C\r 0050\r\n"}, {}, ""},
    {"no tag yet keeps the answer", M::UpgradeEntry, {"HALVANE "}, {}, "HALVANE "},
    {"no ready word keeps three bytes", M::LoaderReady, {"noise!"}, {}, "se!"},
    {"two loader answers in one read, in turn", M::LoaderEnd, {kAnswer + kAnswer.substr(0, 10)}, {"answer 305419896 2147483649"}, kAnswer.substr(0, 10)},
};
// clang-format on

TEST(Framer, CutsEachModesAnswersOutOfTheStream) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        Framer framer;
        EXPECT_EQ(frameReads(framer, c.mode, c.reads), c.frames);
        EXPECT_EQ(framer.waiting(), c.waiting);
    }
}

// After the ready word, its line end may come late or not at all, and the loader's answer may
// itself open with CR or LF: the block it names tells them apart.
TEST(Framer, ReadyWordsLineEndIsToldFromAnAnswerOpeningWithALineEnd) {
    const std::string late = "answer 2 0";
    for (const std::vector<std::string>& reads :
         {std::vector<std::string>{"\n", kFirstAnswer},
          {"\r\n" + kFirstAnswer.substr(0, 62), kFirstAnswer.substr(62)},
          {kFirstAnswer}}) {
        Framer framer;
        EXPECT_EQ(frameReads(framer, M::LoaderReady, {"RADY"}), std::vector<std::string>{"ready"});
        EXPECT_EQ(frameReads(framer, M::LoaderData, reads), std::vector<std::string>{late});
    }
}

// The framing law: whatever the reads, the frames are those of one answer per read.
struct Stream {
    const char* name;
    M mode;
    std::vector<std::string> answers;
    std::vector<std::string> frames;
};

// clang-format off
const Stream kStreams[] = {
    {"read-back", M::Idle, {"?V\r=1220\r\n", "?C\r=0037\r\n", "SC0037\r\n", "?A\r=0004\r\n", "Sj0001\r\n", "?V\r=1220\r\n", kSensors}, {"reply V 1220", "reply C 0037", "reply A 0004", "default-set", "reply V 1220", "monitor " + kSensors.substr(0, 36)}},
    {"restore", M::Restore, {"Sj0004\r\n", "SC0045\r\n", "SA0004\r\n", "SB0001\r\n"}, {"ack Sj", "ack SC", "ack SA", "ack SB"}},
    {"calibration", M::AckChain, {"S00370\r\n", "S10740\r\n", "S21110\r\n", "S31480\r\n"}, {"ack S0", "ack S1", "ack S2", "ack S3"}},
    {"monitor", M::Monitor, {"S~0001\r\n", kChannels, kOutputs, kSensors, kChannels}, {"monitor " + kChannels.substr(0, 36), "monitor " + kOutputs.substr(0, 36), "monitor " + kSensors.substr(0, 36), "monitor " + kChannels.substr(0, 36)}},
    {"reverse read-back", M::MonitorReverse, {kOutputs, "?O\r=0005\r\n", kSensors}, {"monitor " + kOutputs.substr(0, 36), "reply O 0005", "monitor " + kSensors.substr(0, 36)}},
    {"loader answers", M::LoaderData, {kAnswer, kFirstAnswer, kAnswer}, {"answer 305419896 2147483649", "answer 2 0", "answer 305419896 2147483649"}},
};
// clang-format on

TEST(Framer, AnyCuttingOrJoiningGivesTheFramesOfOneAnswerPerRead) {
    std::mt19937 random(20261207);
    for (const Stream& s : kStreams) {
        SCOPED_TRACE(s.name);
        Framer alone;
        ASSERT_EQ(frameReads(alone, s.mode, s.answers), s.frames);
        std::string all;
        std::vector<std::string> lateLineEnds;
        for (const std::string& answer : s.answers) {
            all += answer;
            lateLineEnds.push_back(answer.substr(0, answer.size() - 1));
            lateLineEnds.push_back(answer.substr(answer.size() - 1));
        }
        Framer joined;
        EXPECT_EQ(frameReads(joined, s.mode, {all}), s.frames);
        Framer late;
        EXPECT_EQ(frameReads(late, s.mode, lateLineEnds), s.frames);
        for (int seed = 0; seed < 200; ++seed) {
            std::vector<std::string> pieces;
            for (std::size_t at = 0; at < all.size();) {
                const std::size_t n =
                    std::uniform_int_distribution<std::size_t>(1, all.size() - at)(random);
                pieces.push_back(all.substr(at, n));
                at += n;
            }
            Framer cut;
            EXPECT_EQ(frameReads(cut, s.mode, pieces), s.frames) << "seed " << seed;
        }
    }
}

TEST(Framer, AChattyLineKeepsNothingWaitingAndALoaderTextAtMostItsCapacity) {
    Framer framer;
    frameReads(framer, M::Idle, {std::string(100000, 'S')});
    EXPECT_EQ(framer.waiting(), "SS");  // the last two may open a sensor frame: they wait
    EXPECT_EQ(framer.dropped(), 99998u);
    frameReads(framer, M::UpgradeEntry, {std::string(5000, 'x')});
    EXPECT_EQ(framer.waiting().size(), Framer::kTextCapacity);
}

}  // namespace
}  // namespace orva
