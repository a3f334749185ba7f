#include <gtest/gtest.h>

#include "sim/SimCommandLine.h"
#include "sim/WireLog.h"

namespace orva::sim {
namespace {

using namespace std::chrono_literals;

TEST(SimCommandLineTest, EveryOptionReachesItsField) {
    const auto r = SimCommandLine::parse({"--link",
                                          "/tmp/kivrel",
                                          "--firmware",
                                          "1211",
                                          "--tag",
                                          "QDEC",
                                          "--default-set",
                                          "3",
                                          "--stream-interval",
                                          "25",
                                          "--image",
                                          "img.bin",
                                          "--log",
                                          "sim.log",
                                          "--wire-timing",
                                          "--silent",
                                          "CA",
                                          "--drop-every",
                                          "5",
                                          "--corrupt-every",
                                          "7",
                                          "--corrupt-byte",
                                          "9",
                                          "--split",
                                          "--split-gap",
                                          "300",
                                          "--join-every",
                                          "2",
                                          "--stall-packet",
                                          "4",
                                          "--stall-time",
                                          "150",
                                          "--close-after",
                                          "1000",
                                          "--seed",
                                          "42"});
    ASSERT_EQ(r.error, "");
    EXPECT_FALSE(r.help);
    const SimOptions& o = r.options;
    EXPECT_EQ(o.linkPath, "/tmp/kivrel");
    EXPECT_EQ(o.controller.firmwareVersion, 1211);
    EXPECT_EQ(o.controller.tag, "QDEC");
    EXPECT_EQ(o.controller.powerOnSet, 3);
    EXPECT_EQ(o.controller.silentCodes, "CA");
    EXPECT_EQ(o.streamInterval, 25ms);
    EXPECT_EQ(o.imagePath, "img.bin");
    EXPECT_EQ(o.logPath, "sim.log");
    EXPECT_TRUE(o.wireTiming);
    EXPECT_EQ(o.faults.dropEvery, 5);
    EXPECT_EQ(o.faults.corruptEvery, 7);
    EXPECT_EQ(o.faults.corruptByte, 9u);
    EXPECT_TRUE(o.faults.split);
    EXPECT_EQ(o.faults.splitGap, 300us);
    EXPECT_EQ(o.faults.joinEvery, 2);
    EXPECT_EQ(o.faults.stallPacket, 4);
    EXPECT_EQ(o.faults.stallTime, 150ms);
    EXPECT_EQ(o.faults.closeAfter, 1000);
    EXPECT_EQ(o.faults.seed, 42u);

    EXPECT_TRUE(SimCommandLine::parse({"--help"}).help);
    const std::string usage = SimCommandLine::usage("kivrel-sim");
    for (const char* name : {"--link", "--wire-timing", "--close-after", "--stall-packet"}) {
        EXPECT_NE(usage.find(name), std::string::npos) << name;
    }
}

TEST(SimCommandLineTest, BadArgumentsAreRefusedWithAReason) {
    EXPECT_EQ(SimCommandLine::parse({"--bogus"}).error, "unknown option --bogus");
    EXPECT_EQ(SimCommandLine::parse({"--log"}).error, "--log needs PATH");
    EXPECT_EQ(SimCommandLine::parse({"--firmware", "12x"}).error,
              "--firmware takes a number from 0 to 9999, not \"12x\"");
    EXPECT_NE(SimCommandLine::parse({"--default-set", "4"}).error, "");
    EXPECT_NE(SimCommandLine::parse({"--tag", "ABCD"}).error, "");
}

TEST(WireLogTest, BytesAreEscapedToOneLine) {
    EXPECT_EQ(WireLog::escape(std::string("?C\r=0050\r\n", 10)), "?C\\r=0050\\r\\n");
    EXPECT_EQ(WireLog::escape(std::string("\xA0\x00\\", 3)), "\\xA0\\x00\\\\");
}

}  // namespace
}  // namespace orva::sim
