#include <gtest/gtest.h>

#include "monitor/MonitorFrames.h"

namespace orva::monitor_frames {
namespace {

TEST(MonitorFrames, CoordinateTexts) {
    // Longitude: sign, three degree digits, six fraction digits; latitude: two degree digits.
    const std::pair<std::string_view, std::string_view> longitudes[] = {
        {"+012345678", "12.345678"},
        {"+123456789", "123.456789"},
        {"-012345678", "-12.345678"},
        {"-001500000", "-1.500000"},
        {"-000000000", "0.000000"},  // only an all-zero coordinate hides its sign
        {"-000000001", "-0.000001"},
        {" 005000000", " 5.000000"},
        {"+00", "0.000000"},  // cut short: the rest reads as zeros
        {"", "0.000000"},
    };
    for (const auto& [field, text] : longitudes) {
        EXPECT_EQ(longitudeText(field), text) << field;
    }
    const std::pair<std::string_view, std::string_view> latitudes[] = {
        {"+45123456", "45.123456"},
        {"-05123456", "-5.123456"},
        {"-00000000", "0.000000"},
        {"+05000000", "5.000000"},
    };
    for (const auto& [field, text] : latitudes) {
        EXPECT_EQ(latitudeText(field), text) << field;
    }
}

TEST(MonitorFrames, KindAndFields) {
    const std::pair<std::string_view, FrameKind> kinds[] = {
        {"CHDA1234", FrameKind::Channels}, {"MSDA", FrameKind::Outputs},
        {"SSDA", FrameKind::Sensors},      {"CHD", FrameKind::None},
        {"xCHDA", FrameKind::None},
    };
    for (const auto& [frame, kind] : kinds) {
        EXPECT_EQ(kindOf(frame), kind) << frame;
    }

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
