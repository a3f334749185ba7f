#include <array>
#include <vector>

#include "settings/IntegerText.h"
#include "support/CoreHarness.h"

namespace orva {
namespace {

using PageSendersTest = test::CoreHarness;

constexpr ControlKey custom(int id) {
    return {Dialog::Custom, id};
}
constexpr ControlKey voltage(int id) {
    return {Dialog::Voltage, id};
}
constexpr ControlKey gps(int id) {
    return {Dialog::Gps, id};
}
// Heading lock (d) and headless (e), boxes in bit order: CH5 L M H, CH6 L M H, ...
constexpr int kRowD[] = {1117, 1137, 1146, 1155, 1164, 1173, 1182, 1191, 1218, 1227, 1236, 1245};
constexpr int kRowE[] = {1120, 1138, 1147, 1156, 1165, 1174, 1183, 1192, 1219, 1228, 1237, 1246};

TEST_F(PageSendersTest, GpsSlidersLeaveTheStoreToTheReadback) {
    answer('!', "0055");
    port.takeWritten();
    act(ActionKind::SliderKey, gps(1239), 10);
    EXPECT_EQ(text(gps(1240)), "10");
    act(ActionKind::SliderRelease, gps(1239), 0);
    act(ActionKind::SliderRelease, gps(1040), 64);
    EXPECT_EQ(port.takeWritten(), "S!0000\rS#0064\r");
    EXPECT_EQ(store().get(16), 55);
    EXPECT_EQ(store().get(14), 0);
}

TEST_F(PageSendersTest, HeadingLockAndHeadlessExcludeEachOtherAfterAPause) {
    const struct {
        std::vector<int> preset;  // boxes checked beforehand, of both rows
        int box;
        bool on;
        const char* first;
        const char* second;
        int cleared, kept;
    } kCases[] = {
        {{kRowE[4], kRowE[11]},
         kRowD[4],
         true,
         "Sd0016\r",
         "Sd0016\rSe2048\r",
         kRowE[4],
         kRowE[11]},
        {{kRowD[0], kRowD[1]}, kRowE[1], true, "Se0002\r", "Se0002\rSd0001\r", kRowD[1], kRowD[0]},
        {{kRowE[11]}, kRowD[0], true, "Sd0001\r", "Sd0001\rSe2048\r", kRowD[5], kRowE[11]},
        {{kRowE[11], kRowD[0]},
         kRowD[0],
         false,
         "Sd0000\r",
         "Sd0000\rSe2048\r",
         kRowD[0],
         kRowE[11]},
    };
    for (const auto& c : kCases) {
        for (int i = 0; i < 12; ++i) {
            model().setValue(custom(kRowD[i]), 0);
            model().setValue(custom(kRowE[i]), 0);
        }
        for (int id : c.preset) {
            model().setValue(custom(id), 1);
        }
        core.link().enter(ProtocolMode::AckChain);
        check(custom(c.box), c.on);
        const auto sent = port.takeWrites();
        ASSERT_EQ(sent.size(), 2u) << c.first;
        EXPECT_EQ(sent[0].bytes, c.first);
        EXPECT_EQ(sent[1].bytes, c.second);
        EXPECT_GE(sent[1].atMs - sent[0].atMs, 20u);
        EXPECT_GT(sent[1].discardsBefore, sent[0].discardsBefore);
        EXPECT_EQ(model().value(custom(c.cleared)), 0) << c.first;
        EXPECT_EQ(model().value(custom(c.kept)), 1) << c.first;
        EXPECT_EQ(mode(), ProtocolMode::Idle);
    }
    // The store follows both rows: d holds CH5 low off; e keeps CH8 high.
    EXPECT_EQ(store().get(91), 0);
    EXPECT_EQ(store().get(103 + 11), 1);
    EXPECT_EQ(store().get(103 + 4), 0);
}

TEST_F(PageSendersTest, OtherRowsAndReverseBoxesDropWaitingInputFirst) {
    model().setValue(custom(1115), 1);  // row b, CH5 low: not cleared by row a
    for (int id : {1114, 1213}) {
        const int discards = port.discards;
        check(custom(id), true);
        const auto sent = port.takeWrites();
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_EQ(sent[0].bytes, id == 1114 ? "Sa0001\r" : "SO0064\r");
        EXPECT_EQ(sent[0].discardsBefore, discards + 1);
    }
    EXPECT_EQ(model().value(custom(1115)), 1);
}

TEST_F(PageSendersTest, DeclinationAsksFirstAndRefusesTextThatIsNoInteger) {
    type(ids::main::kDeclination, "-5");
    prompts.answers = {MessageResult::Cancel};
    click(ids::main::kDeclinationSet);
    EXPECT_EQ(lastMessage().text, "您需要立即设置本地磁偏角值吗?");
    EXPECT_EQ(lastMessage().title, "Halvane提示:本地磁偏角设置");
    EXPECT_EQ(lastMessage().buttons, MessageButtons::OkCancel);
    EXPECT_EQ(port.takeWritten(), "");
    EXPECT_EQ(mode(), ProtocolMode::Idle);
    EXPECT_EQ(store().get(190), 0);
    click(ids::main::kDeclinationSet);
    EXPECT_EQ(port.takeWritten(), "SQ0175\r");

    click(ids::main::kLanguage);
    const struct {
        const char* typed;
        const char* sent;
        const char* refusal;
    } kCases[] = {{"1°09'", "SQ0175\r", "请键入一个整数。"},
                  {"", "SQ0175\r", "请键入一个整数。"},
                  {" -200 ", "SQ0000\r", nullptr}};  // beyond half a turn: the nearest end
    for (const auto& c : kCases) {
        prompts.shown.clear();
        type(ids::main::kDeclination, c.typed);
        click(ids::main::kDeclinationSet);
        EXPECT_EQ(prompts.shown.at(0).text,
                  "Are you sure to set local magnetic declination value at once ? ");
        EXPECT_EQ(prompts.shown[0].title, "Halvane Mentioned:");
        EXPECT_EQ(prompts.shown.size(), c.refusal ? 2u : 1u) << c.typed;
        if (c.refusal) {
            EXPECT_EQ(lastMessage().text, c.refusal);
        }
        EXPECT_EQ(port.takeWritten(), c.sent) << c.typed;
    }
    EXPECT_EQ(text(ids::main::kDeclination), "-180");
    EXPECT_EQ(store().get(190), -180);
}

TEST_F(PageSendersTest, CalibrationAsksInChineseAndStartsWithTheFirstBox) {
    answer('4', "3700");
    answer('5', "3710");
    answer('6', "3720");
    answer('7', "3730");
    port.takeWritten();
    prompts.answers = {MessageResult::Cancel};
    click(ids::voltage::kCalibrate);
    EXPECT_EQ(lastMessage().text,
              "请先用万用表测出各电压的精确值，并将所得值输入相应的组框中,\r"
              "再点击按扭“校准”您的电池。您确定需要立即对电池的电压进行校准吗？");
    EXPECT_EQ(lastMessage().title, "Halvane提示：");
    EXPECT_EQ(lastMessage().defaultButton, MessageResult::Cancel);
    EXPECT_EQ(port.takeWritten(), "");
    EXPECT_EQ(mode(), ProtocolMode::Idle);

    click(ids::main::kLanguage);  // the question stays Chinese
    type(voltage(1242), "1234");
    type(voltage(1243), "3,69");  // refused: the box keeps 371
    type(voltage(1244), "369");
    click(ids::voltage::kCalibrate);
    ASSERT_EQ(prompts.shown.size(), 3u);
    EXPECT_EQ(prompts.shown[1].title, "Halvane提示：");
    EXPECT_EQ(prompts.shown[2].text, "请键入一个整数。");
    EXPECT_EQ(port.takeWritten(), "S01234\r");
    EXPECT_EQ(mode(), ProtocolMode::AckChain);
    // Boxes after the refused one keep their numbers too.
    const std::array<int, 4> kStored{1234, 371, 372, 373};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(store().get(27 + i), kStored[i]) << i;
    }
}

TEST(IntegerTextTest, WholeTextMustBeOneInteger) {
    EXPECT_EQ(integerText(" -12 "), -12);
    EXPECT_EQ(integerText("+7"), 7);
    EXPECT_EQ(integerText("-2147483648"), -2147483647 - 1);
    for (const char* bad : {"", " ", "-", "1.5", "12a", "a12", "2147483648", "1 2"}) {
        EXPECT_FALSE(integerText(bad).has_value()) << bad;
    }
}

}  // namespace
}  // namespace orva
