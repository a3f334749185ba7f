#include <random>

#include "monitor/MonitorFixture.h"
#include "settings/LiveDisplayLocks.h"
#include "window/WindowTexts.h"

namespace orva::test {
namespace {

constexpr ControlKey kButton = ids::custom::kDataDisplay;

// Receiver frame: CH1 1500, CH2 1500, then the third field (CH4) 1100, the fourth (CH3) 1900,
// CH5 1000, CH6 1200, CH7 1800, CH8 2000.
const std::string kChannels = monitorFrame("CHDA",
                                           "1500"
                                           "1500"
                                           "1100"
                                           "1900"
                                           "1000"
                                           "1200"
                                           "1800"
                                           "2000");
// Outputs M/S1..M/S8.
const std::string kOutputs = monitorFrame("MSDA",
                                          "1101"
                                          "1102"
                                          "1103"
                                          "1104"
                                          "1105"
                                          "1106"
                                          "1107"
                                          "1108");
// Sensors: ultrasonic 0250 mm, barometric 0123 dm, heading 271 deg, vibration 07,
// longitude -012345678, latitude +45123456.
const std::string kSensors = monitorFrame("SSDA",
                                          "0250"
                                          "0123"
                                          "271"
                                          "07"
                                          "-012345678"
                                          "+45123456");

class LiveMonitorTest : public MonitorFixture {
  protected:
    void start() {
        click(kButton);
        port.takeWrites();
    }
};

TEST_F(LiveMonitorTest, StartLocksSettingsAndStopUnlocksThem) {
    // A reverse box disabled beforehand shows that the start enables all sixteen.
    model().setEnabled({Dialog::Custom, 1214}, false);
    model().setEnabled(ids::main::kUpgrade, false);
    const int discards = port.discards;
    port.receive("left over");

    click(kButton);
    const auto started = port.takeWrites();
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].bytes, "S~0001\r");
    EXPECT_GT(started[0].discardsBefore, discards);  // waiting input dropped first
    EXPECT_EQ(mode(), ProtocolMode::Monitor);
    EXPECT_TRUE(core.link().replyText().empty());
    EXPECT_EQ(core.link().receivedCount(), 0);
    EXPECT_EQ(port.inputMode, CMSComm::InputMode::Binary);
    EXPECT_EQ(port.threshold, 1);
    EXPECT_EQ(port.inputLen, 0);
    EXPECT_TRUE(core.monitor().running());
    EXPECT_EQ(text(1118), "停止显示");
    for (ControlKey key : liveDisplayLockedControls()) {
        EXPECT_FALSE(model().enabled(key)) << key.id;
    }
    for (int id : {1197, 1198, 1199, 1200, 1201, 1202, 1203, 1204, 1205, 1208, 1209, 1210, 1211,
                   1212, 1213, 1214}) {
        EXPECT_TRUE(model().enabled({Dialog::Custom, id})) << id;
    }
    EXPECT_TRUE(model().enabled(ids::main::kTabs));

    click(kButton);
    EXPECT_EQ(writes(), std::vector<std::string>{"S~0000\r"});
    EXPECT_FALSE(core.monitor().running());
    EXPECT_EQ(mode(), ProtocolMode::Idle);
    EXPECT_EQ(text(1118), "显示数据");
    for (ControlKey key : liveDisplayLockedControls()) {
        EXPECT_EQ(model().enabled(key), key != ids::main::kUpgrade) << key.id;
    }
    EXPECT_EQ(model().text(ids::main::kUpgradeHint), upgrade_hint::kChinese);
}

TEST_F(LiveMonitorTest, ButtonTextsFollowTheLanguageButTheStopHintStaysChinese) {
    click(ids::main::kLanguage);
    click(kButton);
    EXPECT_EQ(text(1118), "Display Stop");
    click(kButton);
    EXPECT_EQ(text(1118), "Data Display");
    EXPECT_EQ(model().text(ids::main::kUpgradeHint), upgrade_hint::kChinese);
}

TEST_F(LiveMonitorTest, ReceiverFrameDecodesOnceThirtySixCharactersAreIn) {
    start();
    port.receive(kChannels.substr(0, 35));
    EXPECT_EQ(text(1102), "");  // nothing decoded yet
    EXPECT_EQ(core.link().receivedCount(), 35);

    port.receive(kChannels.substr(35, 1));
    EXPECT_EQ(core.link().receivedCount(), 0);
    EXPECT_TRUE(core.link().replyText().empty());
    EXPECT_EQ(number(1102), 1500);
    EXPECT_EQ(number(1103), 1500);
    EXPECT_EQ(number(1104), 1900);  // CH3 from the fourth field
    EXPECT_EQ(number(1105), 1100);  // CH4 from the third
    EXPECT_EQ(text(1105), "1100");
    EXPECT_EQ(number(1106), 1000);
    EXPECT_EQ(number(1109), 2000);
    // Switch indicators CH5..CH8, and the failsafe indicator with CH5.
    EXPECT_EQ(number(1038), 1000);
    EXPECT_EQ(number(1039), 1200);
    EXPECT_EQ(number(1040), 1800);
    EXPECT_EQ(number(1045), 2000);
    EXPECT_EQ(number(1046), 1000);
    // Every frame writes the whole display: the sensors not yet received show 0.
    EXPECT_EQ(text(1041), "0");

    // The frame's two trailing characters begin the next buffer and are shifted out of the
    // window by the frame that follows.
    port.receive(kChannels.substr(36));
    port.receive(kOutputs);
    EXPECT_EQ(number(1121), 1101);
    EXPECT_EQ(number(1128), 1108);
    EXPECT_EQ(core.link().receivedCount(), 0);
}

TEST_F(LiveMonitorTest, FrameAtTheEndOfALongerBufferIsDecoded) {
    start();
    port.receive("xy" + kOutputs);  // 40 characters, the last 38 begin "MSDA"
    EXPECT_EQ(number(1121), 1101);
    EXPECT_EQ(number(1125), 1105);
    EXPECT_TRUE(core.link().replyText().empty());
}

TEST_F(LiveMonitorTest, SensorFrameFillsReadingsAndCoordinates) {
    start();
    port.receive(kSensors);
    EXPECT_EQ(number(1041), 250);
    EXPECT_EQ(number(1029), 123);
    EXPECT_EQ(number(1044), 271);
    EXPECT_EQ(number(1030), 7);
    EXPECT_EQ(text(1031), "-12.345678");
    EXPECT_EQ(text(1032), "45.123456");
    EXPECT_EQ(core.monitor().values().longitude, "-12.345678");
}

TEST_F(LiveMonitorTest, UntaggedWindowsWaitAndFieldsWithoutDigitsShowZero) {
    start();
    const std::string noise(36, '#');
    port.receive(noise);
    EXPECT_EQ(core.link().receivedCount(), 36);  // kept, waiting for a frame to line up
    EXPECT_EQ(core.link().replyText(), noise);

    // Blanks and a sign are read as C reads numbers; letters end a field's number.
    port.receive(monitorFrame("CHDA",
                              "  42"
                              "-007"
                              "abcd"
                              "12x4"
                              "    "
                              "+009"
                              "0000"
                              "9999"));
    EXPECT_EQ(number(1102), 42);
    EXPECT_EQ(number(1103), -7);
    EXPECT_EQ(number(1105), 0);  // third field: no digits
    EXPECT_EQ(number(1104), 12);
    EXPECT_EQ(number(1106), 0);
    EXPECT_EQ(number(1107), 9);
    EXPECT_EQ(number(1109), 9999);
}

TEST_F(LiveMonitorTest, ZeroBytesShortenTheWindowWithoutHarm) {
    start();
    // Counted but not stored: at 36 counted bytes the buffer holds 34 characters.
    std::string frame(
        "SSDA0250\0\0"
        "0123271071",
        20);
    frame += std::string(16, '0');
    port.receive(frame);
    EXPECT_EQ(core.link().receivedCount(), 0);
    EXPECT_EQ(number(1041), 250);
    EXPECT_EQ(text(1032), "0.000000");  // the cut latitude reads as zeros
}

TEST_F(LiveMonitorTest, GarbledInputNeverBreaksTheDecoder) {
    start();
    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> length(0, 60);
    const std::string_view tags[] = {"CHDA", "MSDA", "SSDA"};
    for (int round = 0; round < 2000; ++round) {
        std::string bytes;
        const int n = length(random);
        for (int i = 0; i < n; ++i) {
            bytes.push_back(static_cast<char>(byte(random)));
        }
        if (round % 3 == 0) {
            bytes.insert(bytes.size() / 2, tags[round % 9 / 3]);
        }
        port.receive(bytes);
    }
    // The stream still decodes once a clean frame lines up at the end.
    port.receive(kOutputs);
    EXPECT_EQ(number(1121), 1101);
    EXPECT_EQ(mode(), ProtocolMode::Monitor);
}

TEST_F(LiveMonitorTest, PageSwitchMarksTheDisplayStoppedAndTheTabKeepsItRunning) {
    start();
    core.onUserAction({ActionKind::Tab, ids::main::kTabs, 1});
    EXPECT_TRUE(core.monitor().running());
    EXPECT_TRUE(port.takeWrites().empty());

    click(ids::main::kPageGps);
    EXPECT_FALSE(core.monitor().running());
    EXPECT_EQ(writes(), std::vector<std::string>{"S~0000\r"});
    // The next press starts the stream again instead of stopping it once more.
    click(kButton);
    EXPECT_EQ(writes(), std::vector<std::string>{"S~0001\r"});
    EXPECT_TRUE(core.monitor().running());
}

TEST_F(LiveMonitorTest, LinkRestartsResetDisplayStateOrChannels) {
    start();
    port.receive(kChannels);
    port.receive(kOutputs);
    port.receive(kSensors);

    core.onUserAction({ActionKind::Select, ids::main::kPortCombo,
                       2});  // the combo variant clears only the sixteen channel values
    EXPECT_TRUE(core.monitor().running());
    EXPECT_EQ(core.monitor().values().receiver[0], 0);
    EXPECT_EQ(core.monitor().values().outputs[7], 0);
    EXPECT_EQ(core.monitor().values().ultrasonicHeight, 250);
    EXPECT_EQ(number(1102), 1500);  // the display keeps what it showed until the next frame

    core.onUserAction(
        {ActionKind::Click, ids::main::kRefresh});  // the file variant stops the display state
    EXPECT_FALSE(core.monitor().running());
    EXPECT_EQ(mode(), ProtocolMode::Idle);
    port.takeWrites();
    click(kButton);
    EXPECT_EQ(writes(), std::vector<std::string>{"S~0001\r"});
}

TEST_F(LiveMonitorTest, ReverseBoxWhileStreamingKeepsTheStreamMode) {
    start();
    check({Dialog::Custom, 1198}, true);
    const auto sent = port.takeWrites();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].bytes, "SN0002\r");
    EXPECT_EQ(mode(), ProtocolMode::Monitor);
    // Its acknowledgement is just noise in the stream; the next frame still decodes.
    port.receive("SN0002\r\n");
    port.receive(kOutputs);
    EXPECT_EQ(number(1122), 1102);
}

TEST_F(LiveMonitorTest, ReverseAcknowledgementWhileIdleIsNotActedOn) {
    check({Dialog::Custom, 1197}, true);
    EXPECT_EQ(writes(), std::vector<std::string>{"SN0001\r"});
    port.receive("SN0001\r\n");
    EXPECT_TRUE(port.takeWrites().empty());  // no read-back, no stream
    EXPECT_EQ(mode(), ProtocolMode::Idle);
    EXPECT_FALSE(core.monitor().running());
}

TEST_F(LiveMonitorTest, ReverseAcknowledgementReadsTheBitsBackAndResumesTheStream) {
    start();
    core.link().enter(ProtocolMode::AckChain);  // as a calibration or declination leaves it
    const std::uint64_t before = clock.now;
    port.receive("SN0128\r\n");
    const auto asked = port.takeWrites();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].bytes, "?N\r");
    EXPECT_GE(asked[0].atMs - before, 50u);
    EXPECT_EQ(mode(), ProtocolMode::MonitorReverse);

    // Query echo, one byte, the value 0128, CR LF.
    port.receive("?N\r 0128\r\n");
    for (int id = 1197; id <= 1204; ++id) {
        EXPECT_EQ(number(id), id == 1204 ? 1 : 0) << id;
        EXPECT_EQ(core.store().get(39 + id - 1197), id == 1204 ? 1 : 0);
    }
    EXPECT_EQ(mode(), ProtocolMode::Monitor);
    EXPECT_EQ(writes(), std::vector<std::string>{"S~0001\r"});
    EXPECT_TRUE(core.monitor().running());
    EXPECT_EQ(text(1118), "停止显示");

    core.link().enter(ProtocolMode::AckChain);
    port.receive("SO0064\r\n");
    EXPECT_EQ(writes(), std::vector<std::string>{"?O\r"});
    port.receive("?O\r 0064\r\n");
    const int outputs[] = {1205, 1208, 1209, 1210, 1211, 1212, 1213, 1214};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(number(outputs[i]), i == 6 ? 1 : 0) << outputs[i];
        EXPECT_EQ(core.store().get(47 + i), i == 6 ? 1 : 0);
    }
    EXPECT_EQ(mode(), ProtocolMode::Monitor);
}

TEST_F(LiveMonitorTest, ReverseReadBackWaitsForExactlyTenKnownBytes) {
    core.link().enter(ProtocolMode::MonitorReverse);
    port.receive("?N\r 00");
    EXPECT_EQ(mode(), ProtocolMode::MonitorReverse);
    EXPECT_TRUE(port.takeWrites().empty());

    // A reply that is not the reverse query stays in the buffer; the tool stays in this mode.
    core.link().enter(core.link().mode(), Reply::Emptied);
    port.receive("?C\r 0050\r\n");
    EXPECT_EQ(mode(), ProtocolMode::MonitorReverse);
    EXPECT_EQ(core.link().replyText(), "?C\r 0050\r\n");
    EXPECT_EQ(core.link().receivedCount(), 0);

    // Passing 10 without meeting it leaves the tool waiting.
    core.link().enter(ProtocolMode::MonitorReverse, Reply::Emptied);
    port.receive("?N\r 0001\r\nxx");
    EXPECT_EQ(mode(), ProtocolMode::MonitorReverse);
    EXPECT_EQ(number(1197), 0);
    EXPECT_TRUE(port.takeWrites().empty());
}

}  // namespace
}  // namespace orva::test
