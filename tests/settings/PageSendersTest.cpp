#include "model/ControlIds.h"
#include "settings/IntegerText.h"
#include "settings/SettingsFixture.h"

namespace orva {
namespace {

using namespace std::string_literals;
using PageSendersTest = test::SettingsFixture;

constexpr ControlKey basic(int id) {
    return {Dialog::Basic, id};
}
constexpr ControlKey gps(int id) {
    return {Dialog::Gps, id};
}
constexpr ControlKey gimbal(int id) {
    return {Dialog::Gimbal, id};
}
constexpr ControlKey voltage(int id) {
    return {Dialog::Voltage, id};
}
constexpr ControlKey mainWindow(int id) {
    return {Dialog::Main, id};
}

TEST_F(PageSendersTest, BasicSliderSendsOnlyOnRelease) {
    core.link().enter(ProtocolMode::AckChain);
    act(ActionKind::SliderDraw, basic(1040), 30);
    EXPECT_EQ(model().text(basic(1066)), "30");
    EXPECT_EQ(store().get(5), 30);
    act(ActionKind::SliderKey, basic(1040), 35);  // keyboard: edit and store, no frame
    EXPECT_EQ(model().text(basic(1066)), "35");
    EXPECT_EQ(store().get(5), 35);
    EXPECT_EQ(port.takeWritten(), "");
    EXPECT_EQ(mode(), ProtocolMode::AckChain);

    act(ActionKind::SliderDraw, basic(1040), 37);
    act(ActionKind::SliderRelease, basic(1040), 37);
    // "S", code E, four digits, CR.
    EXPECT_EQ(port.takeWritten(), "SE0037\r");
    EXPECT_EQ(mode(), ProtocolMode::Idle);
    EXPECT_EQ(store().get(5), 37);
    // A click on the thumb without moving it sends the value again.
    act(ActionKind::SliderRelease, basic(1040), 37);
    EXPECT_EQ(port.takeWritten(), "SE0037\r");

    act(ActionKind::SliderRelease, basic(1257), 100);  // HeightStability
    EXPECT_EQ(port.takeWritten(), "S`0100\r");
    EXPECT_EQ(store().get(12), 100);
}

TEST_F(PageSendersTest, GpsSlidersLeaveTheStoreToTheReadback) {
    answer('!', 55);
    port.takeWritten();
    act(ActionKind::SliderDraw, gps(1239), 20);
    EXPECT_EQ(model().text(gps(1240)), "20");
    act(ActionKind::SliderKey, gps(1239), 10);
    EXPECT_EQ(model().text(gps(1240)), "10");
    EXPECT_EQ(port.takeWritten(), "");
    act(ActionKind::SliderRelease, gps(1239), 0);
    EXPECT_EQ(port.takeWritten(), "S!0000\r");
    EXPECT_EQ(store().get(16), 55);
    act(ActionKind::SliderRelease, gps(1040), 64);
    EXPECT_EQ(port.takeWritten(), "S#0064\r");
    EXPECT_EQ(store().get(14), 0);
}

TEST_F(PageSendersTest, GimbalOffsetsByVersionAndServoMidPoints) {
    // No version read yet: the scales carry 100, the pitch angle limit does not.
    act(ActionKind::SliderRelease, gimbal(1231), 50);
    EXPECT_EQ(port.takeWritten(), "SK0150\r");
    EXPECT_EQ(store().get(17), 150);
    act(ActionKind::SliderRelease, gimbal(1044), 50);
    EXPECT_EQ(port.takeWritten(), "S_0050\r");
    act(ActionKind::SliderRelease, gimbal(1045), 20);  // roll angle limit, old firmware
    EXPECT_EQ(port.takeWritten(), "S)0120\r");
    act(ActionKind::SliderRelease, gimbal(1233), 20);  // Z scale, old firmware
    EXPECT_EQ(port.takeWritten(), "S%0120\r");

    answer('V', "1211");  // still old
    port.takeWritten();
    act(ActionKind::SliderRelease, gimbal(1232), 40);
    EXPECT_EQ(port.takeWritten(), "SJ0140\r");
    answer('V', "1212");
    port.takeWritten();
    act(ActionKind::SliderRelease, gimbal(1231), 50);
    EXPECT_EQ(port.takeWritten(), "SK0050\r");
    EXPECT_EQ(store().get(17), 50);
    act(ActionKind::SliderRelease, gimbal(1044), 50);
    EXPECT_EQ(port.takeWritten(), "S_0050\r");
    act(ActionKind::SliderRelease, gimbal(1046), 20);
    EXPECT_EQ(port.takeWritten(), "S+0020\r");

    // Drawing shows the position but stores nothing on this page.
    act(ActionKind::SliderDraw, gimbal(1042), -30);
    EXPECT_EQ(model().text(gimbal(1067)), "-30");
    EXPECT_EQ(store().get(24), 0);
    EXPECT_EQ(port.takeWritten(), "");
    act(ActionKind::SliderRelease, gimbal(1042), -30);
    EXPECT_EQ(port.takeWritten(), "S^0070\r");
    EXPECT_EQ(store().get(24), -30);
    act(ActionKind::SliderRelease, gimbal(1234), -100);
    act(ActionKind::SliderRelease, gimbal(1043), 100);
    EXPECT_EQ(port.takeWritten(), "S&0000\rS(0200\r");
}

TEST_F(PageSendersTest, AlarmVoltageSlider) {
    act(ActionKind::SliderKey, voltage(1055), 330);
    EXPECT_EQ(model().text(voltage(1074)), "330");
    EXPECT_EQ(store().get(26), 330);
    EXPECT_EQ(port.takeWritten(), "");
    act(ActionKind::SliderRelease, voltage(1055), 280);
    act(ActionKind::SliderRelease, voltage(1055), 400);
    EXPECT_EQ(port.takeWritten(), "SL0280\rSL0400\r");
    EXPECT_EQ(store().get(26), 400);
}

TEST_F(PageSendersTest, MainListsSendTheirMappedValues) {
    const int opens = port.opens;
    act(ActionKind::Select, ids::main::kMultiAxis, 7);  // "8. INV Y6"
    EXPECT_EQ(store().get(0), 8);
    EXPECT_FALSE(model().enabled(ids::main::kEditFrame));
    // The frame type goes out, then the port is reopened and the read-back starts again.
    EXPECT_EQ(port.takeWritten(), "SA0015\r?V\r");
    EXPECT_EQ(port.opens, opens + 1);

    act(ActionKind::Select, ids::main::kMultiAxis, 15);  // "16. IRRET_SHAPE"
    EXPECT_EQ(port.takeWritten(), "SA0016\r?V\r");
    EXPECT_TRUE(model().enabled(ids::main::kEditFrame));
    EXPECT_EQ(store().get(0), 16);
    act(ActionKind::Select, ids::main::kMultiAxis, 8);
    EXPECT_EQ(port.takeWritten(), "SA0008\r?V\r");
    EXPECT_FALSE(model().enabled(ids::main::kEditFrame));

    core.link().enter(ProtocolMode::AckChain);
    act(ActionKind::Select, ids::main::kEsc, 4);  // "5. 400Hz (2.5ms)"
    EXPECT_EQ(port.takeWritten(), "SB0007\r");
    EXPECT_EQ(mode(), ProtocolMode::Idle);
    EXPECT_EQ(store().get(1), 5);
    act(ActionKind::Select, ids::main::kEsc, 6);
    EXPECT_EQ(port.takeWritten(), "SB0006\r");
    act(ActionKind::Select, ids::main::kServo, 1);
    EXPECT_EQ(port.takeWritten(), "SP0003\r");
    EXPECT_EQ(store().get(2), 2);
    act(ActionKind::Select, ids::main::kServo, 3);
    EXPECT_EQ(port.takeWritten(), "SP0007\r");
}

TEST_F(PageSendersTest, SensorBoxesSendTheWholeSet) {
    act(ActionKind::Check, mainWindow(1060), 1);
    EXPECT_EQ(port.takeWritten(), "SM0016\r");
    act(ActionKind::Check, mainWindow(1065), 1);
    // Magnetic sensor and GPS receiver, hidden boxes clear.
    EXPECT_EQ(port.takeWritten(), "SM0144\r");
    EXPECT_EQ(store().get(35), 1);
    EXPECT_EQ(store().get(38), 1);
    EXPECT_EQ(store().get(31), 0);

    // The hidden boxes take part with what the read-back gave them.
    answer('M', 15);
    port.takeWritten();
    act(ActionKind::Check, mainWindow(1062), 1);
    EXPECT_EQ(port.takeWritten(), "SM0047\r");
    for (int s = 31; s <= 34; ++s) {
        EXPECT_EQ(store().get(s), 1) << s;
    }
    EXPECT_EQ(store().get(36), 1);
}

TEST_F(PageSendersTest, DeclinationOnlyAfterConfirmation) {
    act(ActionKind::EditCommit, ids::main::kDeclination, 0, "-5");
    prompts.answers = {MessageResult::Cancel};
    act(ActionKind::Click, ids::main::kDeclinationSet);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "您需要立即设置本地磁偏角值吗?");
    EXPECT_EQ(prompts.shown[0].title, "Halvane提示:本地磁偏角设置");
    EXPECT_EQ(prompts.shown[0].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(port.takeWritten(), "");
    EXPECT_EQ(mode(), ProtocolMode::Idle);
    EXPECT_EQ(store().get(190), 0);

    act(ActionKind::Click, ids::main::kDeclinationSet);  // OK
    EXPECT_EQ(port.takeWritten(), "SQ0175\r");
    EXPECT_EQ(mode(), ProtocolMode::AckChain);
    EXPECT_EQ(store().get(190), -5);
    EXPECT_EQ(model().value(ids::main::kDeclination), -5);

    core.onUserAction({ActionKind::Click, ids::main::kLanguage});
    act(ActionKind::EditCommit, ids::main::kDeclination, 0, "0");
    act(ActionKind::Click, ids::main::kDeclinationSet);
    EXPECT_EQ(prompts.shown.back().text,
              "Are you sure to set local magnetic declination value at once ? ");
    EXPECT_EQ(prompts.shown.back().title, "Halvane Mentioned:");
    EXPECT_EQ(port.takeWritten(), "SQ0180\r");
}

TEST_F(PageSendersTest, DeclinationTextThatIsNoInteger) {
    // Never typed into: the box shows its number and nothing is refused.
    act(ActionKind::Click, ids::main::kDeclinationSet);
    EXPECT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(port.takeWritten(), "SQ0180\r");

    core.onUserAction(
        {ActionKind::Click, ids::main::kRefresh});  // back to mode 0 for the read-back
    answer('Q', 177);                               // the controller holds -3
    port.takeWritten();
    act(ActionKind::EditCommit, ids::main::kDeclination, 0, "1°09'");
    act(ActionKind::Click, ids::main::kDeclinationSet);
    ASSERT_EQ(prompts.shown.size(), 3u);
    EXPECT_EQ(prompts.shown[2].text, "请键入一个整数。");
    EXPECT_EQ(port.takeWritten(), "SQ0177\r");  // the number held from before
    EXPECT_EQ(store().get(190), -3);

    act(ActionKind::EditCommit, ids::main::kDeclination, 0, "");
    act(ActionKind::Click, ids::main::kDeclinationSet);
    EXPECT_EQ(prompts.shown.back().text, "请键入一个整数。");
    EXPECT_EQ(port.takeWritten(), "SQ0177\r");

    // Beyond half a turn the nearest end is sent, and shown.
    act(ActionKind::EditCommit, ids::main::kDeclination, 0, " -200 ");
    act(ActionKind::Click, ids::main::kDeclinationSet);
    EXPECT_EQ(port.takeWritten(), "SQ0000\r");
    EXPECT_EQ(model().text(ids::main::kDeclination), "-180");
    EXPECT_EQ(store().get(190), -180);
}

TEST_F(PageSendersTest, CalibrationStartsAfterConfirmation) {
    core.link().enter(ProtocolMode::Idle);
    prompts.answers = {MessageResult::Cancel};
    act(ActionKind::EditCommit, voltage(1242), 0, "1234");
    act(ActionKind::Click, ids::voltage::kCalibrate);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text,
              "请先用万用表测出各电压的精确值，并将所得值输入相应的组框中,\r"
              "再点击按扭“校准”您的电池。您确定需要立即对电池的电压进行校准吗？");
    EXPECT_EQ(prompts.shown[0].title, "Halvane提示：");
    EXPECT_EQ(prompts.shown[0].defaultButton, MessageResult::Cancel);
    EXPECT_EQ(port.takeWritten(), "");
    EXPECT_EQ(mode(), ProtocolMode::Idle);

    core.onUserAction({ActionKind::Click, ids::main::kLanguage});  // the question stays Chinese
    act(ActionKind::EditCommit, voltage(1243), 0, "370");
    act(ActionKind::EditCommit, voltage(1244), 0, "371");
    act(ActionKind::EditCommit, voltage(1245), 0, "372");
    act(ActionKind::Click, ids::voltage::kCalibrate);
    EXPECT_EQ(prompts.shown.back().title, "Halvane提示：");
    EXPECT_EQ(mode(), ProtocolMode::AckChain);
    EXPECT_EQ(port.takeWritten(), "S01234\r");
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(store().get(27 + i), (std::array<int, 4>{1234, 370, 371, 372})[i]);
    }
}

TEST_F(PageSendersTest, CalibrationKeepsHeldNumbersAfterARefusedBox) {
    answer('4', 3700);
    answer('5', 3710);
    answer('6', 3720);
    answer('7', 3730);
    port.takeWritten();
    act(ActionKind::EditCommit, voltage(1242), 0, "368");
    act(ActionKind::EditCommit, voltage(1243), 0, "3,69");
    act(ActionKind::EditCommit, voltage(1244), 0, "369");
    act(ActionKind::Click, ids::voltage::kCalibrate);
    // The question, then one refusal; the boxes after the refused one keep their numbers.
    ASSERT_EQ(prompts.shown.size(), 2u);
    EXPECT_EQ(prompts.shown[1].text, kNotAnInteger);
    EXPECT_EQ(port.takeWritten(), "S00368\r");
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(store().get(27 + i), (std::array<int, 4>{368, 371, 372, 373})[i]);
    }
}

TEST(IntegerTextTest, WholeTextMustBeOneInteger) {
    EXPECT_EQ(integerText("12"), 12);
    EXPECT_EQ(integerText(" -12 "), -12);
    EXPECT_EQ(integerText("+7"), 7);
    EXPECT_EQ(integerText("-2147483648"), -2147483647 - 1);
    for (const char* bad : {"", " ", "-", "1.5", "12a", "a12", "2147483648", "1 2"}) {
        EXPECT_FALSE(integerText(bad).has_value()) << bad;
    }
}

}  // namespace
}  // namespace orva
