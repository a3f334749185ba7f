#include "monitor/MonitorFrames.h"
#include "support/CoreHarness.h"

namespace orva::test {
namespace {

using namespace std::string_literals;

constexpr ControlKey kButton = ids::custom::kDataDisplay;
const char* const kChineseHint = "<-请先点击左侧按扭选择升级文件(*.bin),再点右侧按扭开始升级!";
const std::vector<std::string> kStart{"S~0001\r"}, kStop{"S~0000\r"};
// Locked by the display: the main window's settings.
const std::vector<int> kLockedMain = {1000, 1061, 1001, 1028, 1043, 1002, 1032, 1003,
                                      1033, 1013, 1215, 1060, 1062, 1064, 1065, 1021,
                                      1020, 1031, 1018, 1015, 1099, 1100, 1017, 1019};
// And on the custom page the function matrix (first, odd and last box) and the sliders.
const std::vector<int> kLockedCustom = {1114, 113, 1250, 1038, 1039, 1040, 1045, 1046, 1047};
// Receiver then output reverse boxes, in bit order.
const std::vector<int> kReverse = {1197, 1198, 1199, 1200, 1201, 1202, 1203, 1204,
                                   1205, 1208, 1209, 1210, 1211, 1212, 1213, 1214};

// Frames as read, and the whole display after each (see display()).
const std::pair<std::string, const char*> kFrames[] = {
    // The third field shows under CH4, the fourth under CH3; CH5 also feeds the failsafe slider.
    {"CHDA00010002000300040005000600070008\r\n",
     "1 2 4 3 5 6 7 8 | 0 0 0 0 0 0 0 0 | 5 6 7 8 5 | 0 0 0 0 |  "},
    {"xyMSDA00110012001300140015001600170018\r\n",  // the last 38 of 40 characters
     "1 2 4 3 5 6 7 8 | 11 12 13 14 15 16 17 18 | 5 6 7 8 5 | 0 0 0 0 |  "},
    {"SSDA0002000300405-012345678+05123456\r\n",
     "1 2 4 3 5 6 7 8 | 11 12 13 14 15 16 17 18 | 5 6 7 8 5 | 2 3 4 5 | -12.345678 5.123456"},
    // Numbers as C reads them: blanks and a sign first, a letter ends the digits.
    {"CHDA  42-007abcd12x4    +00900000099\r\n",
     "42 -7 12 0 0 9 0 99 | 11 12 13 14 15 16 17 18 | 0 9 0 99 0 | 2 3 4 5 | -12.345678 5.123456"},
    // Zero bytes count but are not kept: 36 counted hold 26 characters, the coordinates cut short.
    {"SSDA0001"s + std::string(10, '\0') + "000200304100000000",
     "42 -7 12 0 0 9 0 99 | 11 12 13 14 15 16 17 18 | 0 9 0 99 0 | 1 2 3 4 | 0.000000 0.000000"},
};

class LiveMonitorTest : public CoreHarness {
  protected:
    // The protocol mode, the button's text and whether each locked control is enabled.
    std::string state() {
        return std::to_string(int(mode())) + " " + text(kButton) + " " +
               enabledOf(Dialog::Main, kLockedMain) + enabledOf(Dialog::Custom, kLockedCustom);
    }
    // CH1..CH8 | M/S1..M/S8 | CH5..CH8 and failsafe sliders | ultrasonic, barometric, heading,
    // vibration | longitude latitude.
    std::string display() {
        std::string out;
        for (int id :
             {1102, 1103, 1104, 1105, 1106, 1107, 1108, 1109, 0, 1121, 1122, 1123, 1124, 1125, 1126,
              1127, 1128, 0,    1038, 1039, 1040, 1045, 1046, 0, 1041, 1029, 1044, 1030, 0}) {
            out += id ? std::to_string(model().value({Dialog::Custom, id})) + " " : "| ";
        }
        return out + text({Dialog::Custom, 1031}) + " " + text({Dialog::Custom, 1032});
    }
};

TEST_F(LiveMonitorTest, StartLocksTheSettingsAndEitherStopUnlocksThem) {
    for (const bool english : {false, true}) {
        model().setEnabled({Dialog::Custom, 1214}, false);
        model().setEnabled(ids::main::kUpgrade, true);
        port.receive("?C\r 00");  // half a reply, emptied by the start
        port.queue("left over");
        port.inputLen = port.threshold = -1;
        click(kButton);
        EXPECT_EQ(writes(), kStart);
        EXPECT_TRUE(results.empty());
        EXPECT_EQ(port.pending + core.link().waitingText(), "");
        EXPECT_EQ(std::tuple(port.inputMode, port.threshold, port.inputLen),
                  std::tuple(CMSComm::InputMode::Binary, 1, 0));
        EXPECT_EQ(state(), (english ? "10 Display Stop " : "10 停止显示 ") + std::string(33, '0'));
        // The reverse boxes and the tabs stay usable.
        EXPECT_EQ(enabledOf(Dialog::Custom, kReverse) + enabledOf(Dialog::Main, {1230}),
                  std::string(17, '1'));

        // The button's stop puts back the Chinese hint whatever the language (a page switch's,
        // tried with every page in the window's tests, the hint of the language); Upgrade waits
        // for an image to be chosen again.
        click(kButton);
        EXPECT_EQ(writes(), kStop);
        EXPECT_EQ(results, std::vector<ExchangeResult>{{Exchange::Monitor}});
        results.clear();
        EXPECT_EQ(state(),
                  (english ? "0 Data Display " : "0 显示数据 ") + "11110"s + std::string(28, '1'));
        EXPECT_EQ(text(ids::main::kUpgradeHint), kChineseHint);
        click(ids::main::kLanguage);
    }
}

TEST_F(LiveMonitorTest, FramesFillTheDisplayAndReverseBitsAreReadBack) {
    int frames = 0;
    core.monitor().setFrameListener([&](monitor_frames::FrameKind) { ++frames; });
    click(kButton);
    port.receive(kFrames[0].first);
    EXPECT_EQ(text({Dialog::Custom, 1041}), "0");  // every frame writes the whole display
    for (const auto& [bytes, shown] : kFrames) {
        port.receive(bytes);
        EXPECT_EQ(display(), shown);
        EXPECT_EQ(core.link().waitingText(), "");
    }
    EXPECT_EQ(frames, 1 + static_cast<int>(std::size(kFrames)));

    // A reverse acknowledgement in the chain's mode reads the bits back and resumes the stream.
    // The reply's value, then the receiver and output boxes and their store slots 39 to 54.
    const std::tuple<char, const char*, const char*> reverses[] = {
        {'N', "0128", "0000000100000000 0000000100000000"},
        {'O', "0064", "0000000100000010 0000000100000010"}};
    for (const auto& [code, value, bits] : reverses) {
        core.link().enter(ProtocolMode::AckChain);  // as a calibration leaves it
        writes();
        const std::uint64_t before = clock.now;
        port.receive(std::string{'S', code} + value + "\r\n");
        ASSERT_EQ(port.writes.size(), 1u);
        EXPECT_GE(port.writes[0].atMs - before, 50u);
        EXPECT_EQ(mode(), ProtocolMode::MonitorReverse);

        answer(code, value);
        std::string boxes, slots;
        for (int i = 0; i < 16; ++i) {
            boxes += std::to_string(model().value({Dialog::Custom, kReverse[i]}));
            slots += std::to_string(store().get(39 + i));
        }
        EXPECT_EQ(boxes + " " + slots, bits);
        EXPECT_EQ(writes(), (std::vector<std::string>{{'?', code, '\r'}, kStart[0]}));
        EXPECT_EQ(mode(), ProtocolMode::Monitor);
    }

    // A new port clears the sixteen channel values but not the display; Refresh forgets that the
    // display runs, so the button starts it again.
    select(ids::main::kPortCombo, 2);
    EXPECT_EQ(core.monitor().values().receiver, (std::array<int, 8>{}));
    EXPECT_EQ(core.monitor().values().outputs, (std::array<int, 8>{}));
    EXPECT_EQ(core.monitor().values().ultrasonicHeight, 1);
    EXPECT_EQ(display(), kFrames[4].second);
    EXPECT_TRUE(core.monitor().running());
    click(ids::main::kRefresh);
    writes();
    click(kButton);
    EXPECT_EQ(writes(), kStart);
}

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
        EXPECT_EQ(monitor_frames::longitudeText(field), text) << field;
    }
    const std::pair<std::string_view, std::string_view> latitudes[] = {
        {"+45123456", "45.123456"},
        {"-05123456", "-5.123456"},
        {"-00000000", "0.000000"},
    };
    for (const auto& [field, text] : latitudes) {
        EXPECT_EQ(monitor_frames::latitudeText(field), text) << field;
    }
}

using CalibrationChainTest = CoreHarness;

TEST_F(CalibrationChainTest, EachAcknowledgementSendsTheNextTapAfterThePause) {
    // The cells, the running tap sums sent under codes 0..3 (modulo 10000) and the closing box.
    const std::tuple<std::array<int, 4>, const char*, const char*> calibrations[] = {
        {{9000, 1370, 5, 0}, "S09000\rS10370\rS20375\rS30375\r", "Halvane提示: 校准完成！"},
        {{370, 370, 370, 370},
         "S00370\rS10740\rS21110\rS31480\r",
         "Halvane Mentioned: Calibrate OK !"},
    };
    for (const auto& [cells, expected, done] : calibrations) {
        for (int i = 0; i < 4; ++i) {
            model().setNumber({Dialog::Voltage, 1242 + i}, cells[i]);
        }
        click(ids::voltage::kCalibrate);
        std::string sent = port.takeWritten();
        port.receive("SX0000\r\n");  // the acknowledgement of no link does nothing
        for (const char code : {'0', '1', '2', '3'}) {
            const std::uint64_t before = clock.now;
            port.receive(std::string{'S', code} + "0000\r");
            EXPECT_TRUE(port.writes.empty());  // seven bytes are not an acknowledgement yet
            port.receive("\n");
            for (const FakePort::Write& w : port.takeWrites()) {
                sent += w.bytes;
                EXPECT_GE(w.atMs - before, 50u);
            }
        }
        EXPECT_EQ(sent, expected);
        EXPECT_EQ(results, std::vector<ExchangeResult>{{Exchange::Calibration}});
        results.clear();
        EXPECT_EQ(lastMessage().title + " " + lastMessage().text, done);  // after the question
        EXPECT_EQ(mode(), ProtocolMode::Idle);
        click(ids::main::kLanguage);
    }

    // Refresh forgets the voltages: a late acknowledgement in the chain's mode carries zeros.
    click(ids::main::kRefresh);
    core.link().enter(ProtocolMode::AckChain);
    writes();
    acknowledge('0');
    EXPECT_EQ(writes(), std::vector<std::string>{"S10000\r"});
}

}  // namespace
}  // namespace orva::test
