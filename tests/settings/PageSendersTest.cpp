#include <array>

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
// Heading lock (d) and headless (e), boxes in bit order: CH5 L M H, CH6 L M H, ...
constexpr int kRowD[] = {1117, 1137, 1146, 1155, 1164, 1173, 1182, 1191, 1218, 1227, 1236, 1245};
constexpr int kRowE[] = {1120, 1138, 1147, 1156, 1165, 1174, 1183, 1192, 1219, 1228, 1237, 1246};

TEST_F(PageSendersTest, HeadingLockAndHeadlessExcludeEachOtherAfterAPause) {
    const struct {
        int d, e;  // the rows' bit sets before and after the click
        char row;
        int bit;
        bool on;
        const char *first, *second;
        int dAfter, eAfter;
    } kCases[] = {
        {0, 2064, 'd', 4, true, "Sd0016\r", "Sd0016\rSe2048\r", 16, 2048},
        {3, 0, 'e', 1, true, "Se0002\r", "Se0002\rSd0001\r", 1, 2},
        {1, 2048, 'd', 0, false, "Sd0000\r", "Sd0000\rSe2048\r", 0, 2048},
    };
    for (const auto& c : kCases) {
        for (int bit = 0; bit < 12; ++bit) {
            model().setValue(custom(kRowD[bit]), (c.d >> bit) & 1);
            model().setValue(custom(kRowE[bit]), (c.e >> bit) & 1);
        }
        core.link().enter(ProtocolMode::AckChain);
        check(custom((c.row == 'd' ? kRowD : kRowE)[c.bit]), c.on);
        const auto sent = port.takeWrites();
        ASSERT_EQ(sent.size(), 2u) << c.first;
        EXPECT_EQ(sent[0].bytes, c.first);
        EXPECT_EQ(sent[1].bytes, c.second);
        EXPECT_GE(sent[1].atMs - sent[0].atMs, 20u);
        EXPECT_GT(sent[1].discardsBefore, sent[0].discardsBefore);
        EXPECT_EQ(mode(), ProtocolMode::Idle);
        for (int bit = 0; bit < 12; ++bit) {
            EXPECT_EQ(model().value(custom(kRowE[bit])), (c.eAfter >> bit) & 1) << c.first;
            EXPECT_EQ(store().get(91 + bit), (c.dAfter >> bit) & 1) << c.first;
            EXPECT_EQ(store().get(103 + bit), (c.eAfter >> bit) & 1) << c.first;
        }
    }
}

TEST_F(PageSendersTest, OtherRowsDropWaitingInputAndLeaveTheirNeighboursAlone) {
    model().setValue(custom(1115), 1);  // row b, CH5 low: only d and e exclude each other
    const int discards = port.discards;
    check(custom(1114), true);
    const auto sent = port.takeWrites();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].bytes, "Sa0001\r");
    EXPECT_EQ(sent[0].discardsBefore, discards + 1);
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
    type(ids::main::kDeclination, "1°09'");  // refused: the number held is sent
    click(ids::main::kDeclinationSet);
    EXPECT_EQ(prompts.shown.at(2).text,
              "Are you sure to set local magnetic declination value at once ? ");
    EXPECT_EQ(prompts.shown[2].title, "Halvane Mentioned:");
    EXPECT_EQ(lastMessage().text, "请键入一个整数。");
    type(ids::main::kDeclination, " -200 ");  // beyond half a turn: the nearest end
    click(ids::main::kDeclinationSet);
    EXPECT_EQ(port.takeWritten(), "SQ0175\rSQ0000\r");
    EXPECT_EQ(text(ids::main::kDeclination), "-180");
    EXPECT_EQ(store().get(190), -180);
}

TEST_F(PageSendersTest, CalibrationAsksInChineseAndStartsWithTheFirstBox) {
    answer('5', "3710");
    answer('6', "3720");
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
    const std::array<int, 4> kStored{1234, 371, 372, 0};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(store().get(27 + i), kStored[i]) << i;
    }
}

TEST(IntegerTextTest, WholeTextMustBeOneInteger) {
    EXPECT_EQ(integerText(" -2147483648 "), -2147483647 - 1);
    for (const char* bad : {"", " ", "-", "1.5", "12a", "a12", "2147483648", "1 2"}) {
        EXPECT_FALSE(integerText(bad).has_value()) << bad;
    }
}

}  // namespace
}  // namespace orva
