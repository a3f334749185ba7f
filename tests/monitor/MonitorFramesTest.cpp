#include <gtest/gtest.h>

#include "monitor/MonitorFrames.h"

namespace orva::monitor_frames {
namespace {

TEST(MonitorFrames, CoordinateTexts) {
    // Longitude: sign, three degree digits, six fraction digits; latitude: two degree digits.
    const std::pair<std::string_view, std::string_view> longitudes[] = {
        {"+012345678", "12.345678"},
        {"+123456789", "123.456789"},
        {"-001500000", "-1.500000"},
        {"-000000000", "0.000000"},  // only an all-zero coordinate hides its sign
        {"-000000001", "-0.000001"},
        {" 005000000", " 5.000000"},
        {"+00", "0.000000"},  // cut short: the rest reads as zeros (and none at all, in a frame)
    };
    for (const auto& [field, text] : longitudes) {
        EXPECT_EQ(longitudeText(field), text) << field;
    }
    const std::pair<std::string_view, std::string_view> latitudes[] = {
        {"+45123456", "45.123456"},
        {"-05123456", "-5.123456"},
        {"-00000000", "0.000000"},
    };
    for (const auto& [field, text] : latitudes) {
        EXPECT_EQ(latitudeText(field), text) << field;
    }
}

}  // namespace
}  // namespace orva::monitor_frames
