#include <gtest/gtest.h>

#include <set>

#include "Wire.h"
#include "protocol/Frames.h"
#include "sim/ControllerModel.h"

namespace orva::sim {
namespace {

using test::wire;

int field(const std::string& frame, std::size_t at, std::size_t width) {
    return std::stoi(frame.substr(at, width));
}

// Fields of a CHDA or MSDA frame: eight of four characters from position 4 on.
std::vector<int> channels(const std::string& frame) {
    std::vector<int> out;
    for (std::size_t k = 0; k < 8; ++k) {
        out.push_back(field(frame, 4 + 4 * k, 4));
    }
    return out;
}

// The frames of one turn of the stream at `seconds`.
struct Turn {
    std::string chda, msda, ssda;
};

Turn turnAt(ControllerModel& model, double seconds) {
    return {model.monitorFrame(seconds).bytes, model.monitorFrame(seconds).bytes,
            model.monitorFrame(seconds).bytes};
}

TEST(MonitorStreamTest, StartAndStopAreAcknowledged) {
    ControllerModel model;
    EXPECT_FALSE(model.streaming());
    EXPECT_EQ(wire(model.receive(frames::kMonitorStart)), "S~0001\r\n");
    EXPECT_TRUE(model.streaming());
    EXPECT_EQ(wire(model.receive(frames::kMonitorStop)), "S~0000\r\n");
    EXPECT_FALSE(model.streaming());
}

TEST(MonitorStreamTest, FramesHaveTheFixedLayout) {
    ControllerModel model;
    for (double t = 0; t < 120; t += 0.77) {
        const Turn turn = turnAt(model, t);
        for (const std::string* frame : {&turn.chda, &turn.msda, &turn.ssda}) {
            ASSERT_EQ(frame->size(), frames::kMonitorFrameLength);
            EXPECT_EQ(frame->substr(36), "\r\n");
        }
        EXPECT_EQ(turn.chda.substr(0, 4), "CHDA");
        EXPECT_EQ(turn.msda.substr(0, 4), "MSDA");
        const std::string& s = turn.ssda;
        EXPECT_EQ(s.substr(0, 4), "SSDA");
        for (const std::string* frame : {&turn.chda, &turn.msda}) {
            for (int v : channels(*frame)) {
                EXPECT_GE(v, 1000);
                EXPECT_LE(v, 2000);
            }
        }
        // ultrasonic mm 4-7, barometric dm 8-11, heading 12-14, vibration 15-16,
        // longitude 17-26 (sign, 3 + 6 digits), latitude 27-35 (sign, 2 + 6 digits)
        EXPECT_TRUE(std::all_of(s.begin() + 4, s.begin() + 17, ::isdigit)) << s;
        EXPECT_LT(field(s, 12, 3), 360);
        EXPECT_TRUE(s[17] == '+' || s[17] == '-') << s;
        EXPECT_TRUE(std::all_of(s.begin() + 18, s.begin() + 27, ::isdigit)) << s;
        EXPECT_EQ(s[27], '+') << s;
        EXPECT_TRUE(std::all_of(s.begin() + 28, s.begin() + 36, ::isdigit)) << s;
        EXPECT_EQ(s.substr(28, 2), "51");  // the field near Greenwich
    }
}

TEST(MonitorStreamTest, ValuesMoveAsACraftOnTheBench) {
    ControllerModel model;
    std::set<int> roll, throttle, ch5, heading;
    std::set<char> longitudeSigns;
    for (double t = 0; t < 60; t += 0.137) {
        const Turn turn = turnAt(model, t);
        const auto rc = channels(turn.chda);
        roll.insert(rc[0]);
        throttle.insert(rc[2]);
        ch5.insert(rc[4]);
        heading.insert(field(turn.ssda, 12, 3));
        longitudeSigns.insert(turn.ssda[17]);
    }
    EXPECT_GT(roll.size(), 100u);  // sticks sweep
    EXPECT_GT(throttle.size(), 100u);
    EXPECT_EQ(ch5, (std::set<int>{1100, 1500, 1900}));      // a three-position switch
    EXPECT_GT(heading.size(), 100u);                        // the heading turns
    EXPECT_EQ(longitudeSigns, (std::set<char>{'+', '-'}));  // the track crosses the meridian
}

TEST(MonitorStreamTest, ReversedChannelsReadMirrored) {
    ControllerModel plain;
    ControllerModel reversed;
    reversed.receive("SN0001\r");  // receiver CH1
    reversed.receive("SO0128\r");  // output M/S8
    const Turn a = turnAt(plain, 2.3);
    const Turn b = turnAt(reversed, 2.3);
    EXPECT_EQ(channels(a.chda)[0] + channels(b.chda)[0], 3000);
    EXPECT_EQ(channels(a.chda)[1], channels(b.chda)[1]);
    EXPECT_EQ(channels(a.msda)[7] + channels(b.msda)[7], 3000);
    EXPECT_EQ(channels(a.msda)[0], channels(b.msda)[0]);
}

}  // namespace
}  // namespace orva::sim
