#include <gtest/gtest.h>

#include "monitor/MonitorFrames.h"

namespace orva::monitor_frames {
namespace {

TEST(MonitorFrames, LongitudeText) {
    // Sign, three degree digits, six fraction digits.
    EXPECT_EQ(longitudeText("+012345678"), "12.345678");
    EXPECT_EQ(longitudeText("+123456789"), "123.456789");
    EXPECT_EQ(longitudeText("+000000000"), "0.000000");
    EXPECT_EQ(longitudeText("-000000000"), "0.000000");
    EXPECT_EQ(longitudeText("-001500000"), "-1.500000");
    EXPECT_EQ(longitudeText("-012345678"), "-12.345678");
    EXPECT_EQ(longitudeText("-123456789"), "-123.456789");
    // Only an all-zero coordinate hides a sign other than "+".
    EXPECT_EQ(longitudeText("-000000001"), "-0.000001");
    EXPECT_EQ(longitudeText(" 005000000"), " 5.000000");
    EXPECT_EQ(longitudeText("+00"), "0.000000");  // cut short: the rest reads as zeros
    EXPECT_EQ(longitudeText(""), "0.000000");
}

TEST(MonitorFrames, LatitudeText) {
    // Sign, two degree digits, six fraction digits.
    EXPECT_EQ(latitudeText("+45123456"), "45.123456");
    EXPECT_EQ(latitudeText("-05123456"), "-5.123456");
    EXPECT_EQ(latitudeText("+00000000"), "0.000000");
    EXPECT_EQ(latitudeText("-00000000"), "0.000000");
    EXPECT_EQ(latitudeText("+05000000"), "5.000000");
}

TEST(MonitorFrames, KindAndFields) {
    EXPECT_EQ(kindOf("CHDA1234"), FrameKind::Channels);
    EXPECT_EQ(kindOf("MSDA"), FrameKind::Outputs);
    EXPECT_EQ(kindOf("SSDA"), FrameKind::Sensors);
    EXPECT_EQ(kindOf("CHD"), FrameKind::None);
    EXPECT_EQ(kindOf("xCHDA"), FrameKind::None);

    MonitorValues values;
    values.receiver.fill(5);
    readChannels("CHDA0001000200030004", values);  // cut after the fourth field
    EXPECT_EQ(values.receiver[0], 1);
    EXPECT_EQ(values.receiver[1], 2);
    EXPECT_EQ(values.receiver[2], 4);
    EXPECT_EQ(values.receiver[3], 3);
    EXPECT_EQ(values.receiver[4], 0);  // missing fields read as 0
    readSensors("SSDA", values);
    EXPECT_EQ(values.ultrasonicHeight, 0);
    EXPECT_EQ(values.longitude, "0.000000");
}

}  // namespace
}  // namespace orva::monitor_frames
