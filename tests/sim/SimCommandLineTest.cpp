#include <gtest/gtest.h>

#include "sim/SimCommandLine.h"
#include "sim/WireLog.h"

namespace orva::sim {
namespace {

using namespace std::chrono_literals;

TEST(SimCommandLineTest, TextNumberFlagAndDurationOptions) {
    const auto r = SimCommandLine::parse({"--link", "/tmp/kivrel", "--firmware", "1211", "--split",
                                          "--stall-time", "150", "--split-gap", "300"});
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(r.options.linkPath, "/tmp/kivrel");
    EXPECT_EQ(r.options.controller.firmwareVersion, 1211);
    EXPECT_TRUE(r.options.faults.split);
    EXPECT_EQ(r.options.faults.stallTime, 150ms);  // milliseconds
    EXPECT_EQ(r.options.faults.splitGap, 300us);   // microseconds
    EXPECT_TRUE(SimCommandLine::parse({"--help"}).help);
}

TEST(SimCommandLineTest, BadArgumentsAreRefusedWithAReason) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--bogus"}, "unknown option --bogus"},
        {{"--log"}, "--log needs PATH"},
        {{"--firmware", "12x"}, "--firmware takes a number from 0 to 9999, not \"12x\""},
    };
    for (const auto& [arguments, error] : cases) {
        EXPECT_EQ(SimCommandLine::parse(arguments).error, error);
    }
    EXPECT_NE(SimCommandLine::parse({"--default-set", "4"}).error, "");
    EXPECT_NE(SimCommandLine::parse({"--tag", "ABCD"}).error, "");
}

TEST(WireLogTest, BytesAreEscapedToOneLine) {
    EXPECT_EQ(WireLog::escape(std::string("?C\r=0050\r\n", 10)), "?C\\r=0050\\r\\n");
    EXPECT_EQ(WireLog::escape(std::string("\xA0\x00\\", 3)), "\\xA0\\x00\\\\");
}

}  // namespace
}  // namespace orva::sim
