#include <gtest/gtest.h>

#include <set>

#include "sim/ControllerModel.h"

namespace orva::sim {
namespace {

int field(const std::string& frame, std::size_t at, std::size_t width = 4) {
    return std::stoi(frame.substr(at, width));
}

bool digits(const std::string& s, std::size_t from, std::size_t to) {
    return std::all_of(s.begin() + from, s.begin() + to, ::isdigit);
}

// 38 bytes each: tag, eight four-digit fields (or the sensor fields), CR LF. Sensors: ultrasonic
// mm 4-7, barometric dm 8-11, heading 12-14, vibration 15-16, longitude 17-26 (sign, 3 + 6
// digits), latitude 27-35 (sign, 2 + 6 digits).
TEST(MonitorStreamTest, FramesKeepTheirLayoutWhileTheCraftMoves) {
    ControllerModel model;
    std::set<int> roll, ch5;
    std::set<char> longitudeSigns;
    for (double t = 0; t < 60; t += 0.137) {
        const std::string chda = model.monitorFrame(t).bytes;
        const std::string msda = model.monitorFrame(t).bytes;
        const std::string s = model.monitorFrame(t).bytes;
        ASSERT_EQ(chda.substr(0, 4), "CHDA");
        ASSERT_EQ(msda.substr(0, 4), "MSDA");
        ASSERT_EQ(s.substr(0, 4), "SSDA");
        for (const std::string* frame : {&chda, &msda, &s}) {
            ASSERT_EQ(frame->size(), 38u);
            EXPECT_EQ(frame->substr(36), "\r\n");
        }
        for (std::size_t k = 0; k < 8; ++k) {
            EXPECT_GE(field(chda, 4 + 4 * k), 1000);
            EXPECT_LE(field(msda, 4 + 4 * k), 2000);
        }
        EXPECT_TRUE(digits(s, 4, 17) && digits(s, 18, 27) && digits(s, 28, 36)) << s;
        EXPECT_LT(field(s, 12, 3), 360);
        EXPECT_EQ(s[27], '+') << s;
        EXPECT_EQ(s.substr(28, 2), "51");  // the field near Greenwich
        roll.insert(field(chda, 4));
        ch5.insert(field(chda, 20));
        longitudeSigns.insert(s[17]);
    }
    EXPECT_GT(roll.size(), 100u);                           // the sticks sweep
    EXPECT_EQ(ch5, (std::set<int>{1100, 1500, 1900}));      // a three-position switch
    EXPECT_EQ(longitudeSigns, (std::set<char>{'+', '-'}));  // the track crosses the meridian
}

TEST(MonitorStreamTest, ReversedChannelsReadMirrored) {
    ControllerModel plain;
    ControllerModel reversed;
    reversed.receive("SN0001\r");  // receiver CH1
    reversed.receive("SO0128\r");  // output M/S8
    const std::string a = plain.monitorFrame(2.3).bytes;
    const std::string b = reversed.monitorFrame(2.3).bytes;
    EXPECT_EQ(field(a, 4) + field(b, 4), 3000);
    EXPECT_EQ(field(a, 8), field(b, 8));
    const std::string am = plain.monitorFrame(2.3).bytes;
    const std::string bm = reversed.monitorFrame(2.3).bytes;
    EXPECT_EQ(field(am, 32) + field(bm, 32), 3000);
    EXPECT_EQ(field(am, 4), field(bm, 4));
}

}  // namespace
}  // namespace orva::sim
