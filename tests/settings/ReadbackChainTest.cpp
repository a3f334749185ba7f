#include "model/ControlIds.h"
#include "settings/SettingsFixture.h"

namespace orva {
namespace {

using ReadbackChainTest = test::SettingsFixture;

constexpr ControlKey basic(int id) {
    return {Dialog::Basic, id};
}
constexpr ControlKey gimbal(int id) {
    return {Dialog::Gimbal, id};
}
constexpr ControlKey frame(int id) {
    return {Dialog::Frame, id};
}
constexpr ControlKey mainWindow(int id) {
    return {Dialog::Main, id};
}

TEST_F(ReadbackChainTest, VersionReplyShowsTextCaptionAndAsksForC) {
    answer('V', "1220");
    EXPECT_EQ(core.readback().firmwareVersion(), 1220);
    EXPECT_EQ(model().text(ids::main::kVersionText), "1.220");
    EXPECT_EQ(model().text(ids::main::kVersionCaption), "固件版本:V");
    EXPECT_EQ(port.takeWritten(), "?C\r");
    EXPECT_EQ(core.readback().retries(), 3);

    core.onUserAction({ActionKind::Click, ids::main::kLanguage});
    model().setText(ids::main::kVersionCaption, "");
    answer('V', "1211");
    EXPECT_EQ(model().text(ids::main::kVersionCaption), "FW Version:V");
    EXPECT_EQ(model().text(ids::main::kVersionText), "1.211");
    EXPECT_EQ(port.takeWritten(), "?C\r");

    // The repeat test reads the version text, so a leading 0 digit asks again.
    answer('V', "0987");
    EXPECT_EQ(core.readback().firmwareVersion(), 987);
    EXPECT_EQ(model().text(ids::main::kVersionText), "0.987");
    EXPECT_EQ(port.takeWritten(), "?V\r");
    EXPECT_EQ(core.readback().retries(), 2);

    // A Refresh forgets the version.
    core.onUserAction({ActionKind::Click, ids::main::kRefresh});
    EXPECT_EQ(core.readback().firmwareVersion(), 0);
    EXPECT_EQ(port.takeWritten(), "?V\r");
}

TEST_F(ReadbackChainTest, ZeroIsAskedFourTimesThenAccepted) {
    model().setNumber(basic(1251), 55);
    const int discardsBefore = port.discards;
    for (int i = 0; i < 3; ++i) {
        answer('C', 0);
        EXPECT_EQ(model().text(basic(1251)), "0");  // shown on every reply, repeated or not
        EXPECT_EQ(port.takeWritten(), "?C\r") << i;
        EXPECT_EQ(core.readback().retries(), 2 - i);
    }
    answer('C', 0);
    EXPECT_EQ(port.takeWritten(), "?A\r");
    EXPECT_EQ(core.readback().retries(), 3);
    // Each reply: the receive event's read, then the discard before the next query.
    EXPECT_EQ(port.discards - discardsBefore, 8);

    // A non-zero value moves on at once.
    answer('C', 42);
    EXPECT_EQ(port.takeWritten(), "?A\r");
    EXPECT_EQ(model().value(basic(1038)), 42);
    EXPECT_EQ(store().get(3), 42);
}

TEST_F(ReadbackChainTest, ChainEndsLeaveTheCounterAlone) {
    // j: repeated while the counter allows; then silent, input discarded, counter kept.
    answer('j', 0);
    answer('j', 0);
    EXPECT_EQ(port.takeWritten(), "?j\r?j\r");
    EXPECT_EQ(core.readback().retries(), 1);
    answer('j', 0);
    EXPECT_EQ(port.takeWritten(), "?j\r");
    EXPECT_EQ(core.readback().retries(), 0);
    int discards = port.discards;
    answer('j', 0);
    EXPECT_EQ(port.takeWritten(), "");
    EXPECT_EQ(core.readback().retries(), 0);
    EXPECT_EQ(port.discards - discards, 2);
    discards = port.discards;
    answer('j', 3);
    EXPECT_EQ(port.takeWritten(), "");
    EXPECT_EQ(core.readback().retries(), 0);
    EXPECT_EQ(model().value(ids::main::kRestoreChoice), 3);

    // z: silent too, and it does not touch the port's input beyond the receive event's read.
    discards = port.discards;
    answer('z', 5);
    EXPECT_EQ(port.takeWritten(), "");
    EXPECT_EQ(port.discards - discards, 1);
    EXPECT_EQ(core.readback().retries(), 0);
}

TEST_F(ReadbackChainTest, LimitsAndFallbacksReplaceWhatThePageHeld) {
    model().setNumber(basic(1251), 60);
    answer('C', 150);
    EXPECT_EQ(model().text(basic(1251)), "0");
    EXPECT_EQ(model().value(basic(1038)), 0);
    EXPECT_EQ(port.takeWritten(), "?A\r");

    store().set(4, 77);
    answer('D', 150);
    EXPECT_EQ(model().value(basic(1252)), 0);
    EXPECT_EQ(model().value(basic(1039)), 0);
    EXPECT_EQ(store().get(4), 0);

    answer('L', 500);
    EXPECT_EQ(model().value({Dialog::Voltage, 1074}), 350);
    EXPECT_EQ(model().value({Dialog::Voltage, 1055}), 350);
    EXPECT_EQ(store().get(26), 350);

    answer('Q', 177);
    EXPECT_EQ(model().text(ids::main::kDeclination), "-3");
    EXPECT_EQ(store().get(190), -3);
    answer('Q', 400);
    EXPECT_EQ(store().get(190), 0);

    answer('4', 3705);
    EXPECT_EQ(model().text({Dialog::Voltage, 1242}), "370");
    EXPECT_EQ(store().get(27), 370);
    answer('7', "-015");
    EXPECT_EQ(store().get(30), -1);

    answer('^', 70);
    EXPECT_EQ(model().value(gimbal(1042)), -30);
    EXPECT_EQ(model().text(gimbal(1067)), "-30");
    EXPECT_EQ(store().get(24), -30);
    answer('&', 201);
    EXPECT_EQ(store().get(23), 0);

    // H and I show nothing: only the repeat rule.
    port.takeWritten();
    int changes = 0;
    model().setListener([&changes](ControlKey) { ++changes; });
    answer('H', 12);
    EXPECT_EQ(port.takeWritten(), "?I\r");
    answer('I', 0);
    EXPECT_EQ(port.takeWritten(), "?I\r");
    EXPECT_EQ(changes, 0);
}

TEST_F(ReadbackChainTest, GimbalScalesFollowTheVersion) {
    answer('V', "1220");
    answer('J', 150);
    EXPECT_EQ(model().text(gimbal(1236)), "150");
    EXPECT_EQ(store().get(18), 150);
    answer('J', 250);
    EXPECT_EQ(model().text(gimbal(1236)), "0");
    answer(')', 150);  // the angle limits stay within 0..100
    EXPECT_EQ(model().text(gimbal(1070)), "0");
    answer('_', 50);
    EXPECT_EQ(store().get(20), 50);

    answer('V', "1211");
    port.takeWritten();
    answer('J', 150);
    EXPECT_EQ(model().text(gimbal(1236)), "50");
    EXPECT_EQ(model().value(gimbal(1232)), 50);
    EXPECT_EQ(store().get(18), 50);
    EXPECT_EQ(port.takeWritten(), "?K\r");
    answer('J', 250);
    EXPECT_EQ(model().text(gimbal(1236)), "-100");
    EXPECT_EQ(store().get(18), -100);
    answer('K', 140);
    EXPECT_EQ(store().get(17), 40);
    // Old firmware: % and the angle limits ) and + as K and J.
    answer('%', 130);
    EXPECT_EQ(store().get(19), 30);
    answer(')', 150);
    EXPECT_EQ(model().text(gimbal(1070)), "50");
    answer('+', 100);
    EXPECT_EQ(store().get(22), 0);
    answer('_', 50);  // no version rule at all
    EXPECT_EQ(store().get(20), 50);
}

TEST_F(ReadbackChainTest, ListsKeepTheirStateForUnknownValues) {
    answer('A', 15);
    EXPECT_EQ(model().value(ids::main::kMultiAxis), 7);  // "8. INV Y6"
    EXPECT_EQ(store().get(0), 8);
    EXPECT_FALSE(model().enabled(ids::main::kEditFrame));
    EXPECT_EQ(port.takeWritten(), "?B\r");
    answer('A', 16);
    EXPECT_EQ(model().value(ids::main::kMultiAxis), 15);  // "16. IRRET_SHAPE"
    EXPECT_EQ(store().get(0), 16);
    EXPECT_TRUE(model().enabled(ids::main::kEditFrame));
    answer('A', 17);
    EXPECT_EQ(model().value(ids::main::kMultiAxis), 15);
    EXPECT_EQ(store().get(0), 16);
    EXPECT_TRUE(model().enabled(ids::main::kEditFrame));
    EXPECT_EQ(port.takeWritten(), "?B\r?B\r");
    answer('A', 1);
    EXPECT_EQ(model().value(ids::main::kMultiAxis), 0);
    EXPECT_FALSE(model().enabled(ids::main::kEditFrame));

    answer('B', 7);
    EXPECT_EQ(model().value(ids::main::kEsc), 4);
    EXPECT_EQ(store().get(1), 5);
    answer('B', 8);
    EXPECT_EQ(model().value(ids::main::kEsc), 4);
    EXPECT_EQ(store().get(1), 5);
    answer('P', 4);
    EXPECT_EQ(model().value(ids::main::kServo), 2);
    EXPECT_EQ(store().get(2), 3);
    answer('P', 2);
    EXPECT_EQ(store().get(2), 3);

    answer('j', 4);
    EXPECT_EQ(model().value(ids::main::kRestoreChoice), 4);
    answer('j', 7);
    EXPECT_EQ(model().value(ids::main::kRestoreChoice), -1);
}

TEST_F(ReadbackChainTest, BitSetsCheckTheirBoxes) {
    answer('=', 3);
    const auto& row = ParameterCatalogue::at('=').boxes;
    for (int bit = 0; bit < 12; ++bit) {
        const int expected = bit < 2 ? 1 : 0;
        EXPECT_EQ(model().value({Dialog::Custom, row[bit]}), expected) << bit;
        EXPECT_EQ(store().get(127 + bit), expected) << bit;
    }
    answer('M', 144);  // magnetic sensor and GPS receiver
    EXPECT_EQ(model().value(mainWindow(1060)), 1);
    EXPECT_EQ(model().value(mainWindow(1065)), 1);
    EXPECT_EQ(model().value(mainWindow(1056)), 0);
    EXPECT_EQ(store().get(35), 1);
    EXPECT_EQ(store().get(38), 1);
    EXPECT_EQ(store().get(31), 0);
    answer('O', 0x81);  // M/S1 and M/S8
    EXPECT_EQ(model().value({Dialog::Custom, 1205}), 1);
    EXPECT_EQ(model().value({Dialog::Custom, 1214}), 1);
    EXPECT_EQ(store().get(47), 1);
    EXPECT_EQ(store().get(54), 1);

    // The power-off delay and the failsafe box share one value and have no store slot.
    const ParameterStore before = store();
    answer('<', 24);
    EXPECT_EQ(model().value({Dialog::Custom, 1303}), 1);
    EXPECT_EQ(model().text({Dialog::Custom, 1028}), "8");
    EXPECT_EQ(model().value({Dialog::Custom, 1047}), 8);
    for (int s = 0; s < ParameterStore::kSize; ++s) {
        EXPECT_EQ(store().get(s), before.get(s)) << s;
    }
    EXPECT_EQ(port.takeWritten(), "?g\r?N\r?P\r?j\r");
}

TEST_F(ReadbackChainTest, FrameChainFillsTheFrameDialog) {
    answer('k', 5);  // neither 4 nor 6: nothing changes
    EXPECT_EQ(port.takeWritten(), "?l\r");

    answer('k', 6);
    EXPECT_EQ(model().value(ids::frame::kAxisCombo), 1);  // "6 Axis(轴)"
    EXPECT_EQ(model().value(ids::frame::kAxisCount), 6);
    for (ControlKey key : ids::frame::kExtraMotorControls) {
        EXPECT_TRUE(model().enabled(key));
    }
    answer('k', 4);
    EXPECT_EQ(model().value(ids::frame::kAxisCombo), 0);
    EXPECT_EQ(model().value(ids::frame::kAxisCount), 4);
    for (ControlKey key : ids::frame::kExtraMotorControls) {
        EXPECT_FALSE(model().enabled(key));
    }
    EXPECT_EQ(port.takeWritten(), "?l\r?l\r");

    answer('l', 650);
    EXPECT_EQ(model().value(frame(1029)), 650);
    answer('m', 5001);
    EXPECT_EQ(model().value(frame(1030)), 0);
    answer('n', 5300);
    EXPECT_EQ(model().text(frame(1031)), "300");
    answer('o', 4750);
    EXPECT_EQ(model().text(frame(1034)), "-250");
    answer('v', "-001");  // below the window: 0
    EXPECT_EQ(model().text(frame(1033)), "0");
    answer('y', 5000);
    EXPECT_EQ(model().text(frame(1042)), "0");
    EXPECT_EQ(port.takeWritten(), "?m\r?n\r?o\r?p\r?w\r?z\r");

    answer('z', 5);  // motors 1 and 3 turn in reverse
    EXPECT_EQ(model().value(frame(1056)), 1);
    EXPECT_EQ(model().value(frame(1057)), 0);
    EXPECT_EQ(model().value(frame(1058)), 1);
    EXPECT_EQ(port.takeWritten(), "");
    // The frame chain leaves the store to the frame dialog's Save.
    for (int s = 175; s <= 189; ++s) {
        EXPECT_EQ(store().get(s), 0) << s;
    }
}

TEST_F(ReadbackChainTest, DefaultSetAcknowledgementStartsAgain) {
    answer('V', "1220");
    answer('C', 40);
    port.takeWritten();
    port.receive("Sj0000\r\n");
    EXPECT_EQ(port.takeWritten(), "?V\r");
    answer('V', "1220");
    EXPECT_EQ(port.takeWritten(), "?C\r");
}

}  // namespace
}  // namespace orva
