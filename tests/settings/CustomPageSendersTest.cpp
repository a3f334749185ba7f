#include <gtest/gtest.h>

#include "core/OrvaCore.h"
#include "protocol/Frames.h"
#include "settings/ParameterCatalogue.h"
#include "support/Fakes.h"
#include "support/Fakes.h"

namespace orva::test {
namespace {

// Row d (heading lock) and row e (headless), boxes in bit order: CH5 L M H, CH6 L M H, ...
constexpr int kRowD[] = {1117, 1137, 1146, 1155, 1164, 1173, 1182, 1191, 1218, 1227, 1236, 1245};
constexpr int kRowE[] = {1120, 1138, 1147, 1156, 1165, 1174, 1183, 1192, 1219, 1228, 1237, 1246};
constexpr int kCh6Middle = 4;
constexpr int kCh8High = 11;
constexpr int kSlotD = 91;
constexpr int kSlotE = 103;

class CustomPageSendersTest : public ::testing::Test {
  protected:
    CustomPageSendersTest() {
        core.initialise();
        port.takeWrites();
    }
    void check(int id, bool on) {
        core.onUserAction({ActionKind::Check, {Dialog::Custom, id}, on ? 1 : 0, {}});
    }
    void preset(int id, bool on) { core.model().setValue({Dialog::Custom, id}, on ? 1 : 0); }
    bool checked(int id) { return core.model().value({Dialog::Custom, id}) != 0; }

    FakeClock clock;
    FakePort port{clock};
    ScriptedPrompts prompts;
    MemoryFiles files;
    OrvaCore core{port, clock, prompts, files};
};

TEST_F(CustomPageSendersTest, RowClickSendsItsBitSetAndStoresItsBoxes) {
    core.link().enter(ProtocolMode::AckChain);
    const int discards = port.discards;
    check(1242, true);  // row a, CH8 high
    auto sent = port.takeWrites();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].bytes, "Sa2048\r");
    EXPECT_EQ(sent[0].discardsBefore, discards + 1);  // waiting input dropped first
    EXPECT_EQ(core.link().mode(), ProtocolMode::Idle);
    EXPECT_EQ(core.store().get(55 + 11), 1);
    EXPECT_EQ(core.store().get(55), 0);

    // Row a's CH5 low leaves row b's CH5 low alone: only d and e exclude each other.
    preset(1115, true);
    check(1114, true);
    EXPECT_TRUE(checked(1115));
    sent = port.takeWrites();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].bytes, "Sa2049\r");

    // The box of row b whose ID breaks the run (CH6 low) belongs to bit 3.
    check(113, true);
    sent = port.takeWrites();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].bytes, "Sb0009\r");

    // The Z row's code is "=".
    check(1260, true);
    EXPECT_EQ(port.takeWrites().at(0).bytes, "S=2048\r");
}

TEST_F(CustomPageSendersTest, HeadingLockClearsHeadlessAtItsPositionsAndRewritesBoth) {
    preset(kRowE[kCh6Middle], true);
    preset(kRowE[kCh8High], true);
    check(kRowD[kCh6Middle], true);

    const auto sent = port.takeWrites();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].bytes, "Sd0016\r");
    // Twenty milliseconds later one write of 14 bytes: d again, then e without CH6 middle.
    EXPECT_EQ(sent[1].bytes, "Sd0016\rSe2048\r");
    EXPECT_GE(sent[1].atMs - sent[0].atMs, 20u);
    EXPECT_GT(sent[1].discardsBefore, sent[0].discardsBefore);
    EXPECT_FALSE(checked(kRowE[kCh6Middle]));
    EXPECT_TRUE(checked(kRowE[kCh8High]));
    EXPECT_EQ(core.store().get(kSlotD + kCh6Middle), 1);
    EXPECT_EQ(core.store().get(kSlotE + kCh6Middle), 0);
    EXPECT_EQ(core.store().get(kSlotE + kCh8High), 1);
    EXPECT_EQ(core.link().mode(), ProtocolMode::Idle);
}

TEST_F(CustomPageSendersTest, HeadlessClickRunsTheSameSequenceTheOtherWayRound) {
    preset(kRowD[0], true);  // d: CH5 low and CH5 middle
    preset(kRowD[1], true);
    check(kRowE[1], true);  // e: CH5 middle takes it from d
    const auto sent = port.takeWrites();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].bytes, "Se0002\r");
    EXPECT_EQ(sent[1].bytes, "Se0002\rSd0001\r");
    EXPECT_TRUE(checked(kRowD[0]));
    EXPECT_FALSE(checked(kRowD[1]));
}

TEST_F(CustomPageSendersTest, SecondWriteGoesOutEvenWhenNothingIsCleared) {
    preset(kRowE[kCh8High], true);
    check(kRowD[0], true);
    auto sent = port.takeWrites();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1].bytes, "Sd0001\rSe2048\r");

    // Clearing d's last box sends d as 0 and e unchanged.
    check(kRowD[0], false);
    sent = port.takeWrites();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].bytes, "Sd0000\r");
    EXPECT_EQ(sent[1].bytes, "Sd0000\rSe2048\r");
    EXPECT_EQ(core.store().get(kSlotD), 0);
}

TEST_F(CustomPageSendersTest, ReverseBoxesSendTheirGroupAndLeaveTheMode) {
    check(1204, true);  // receiver CH8
    EXPECT_EQ(port.takeWrites().at(0).bytes, "SN0128\r");
    EXPECT_EQ(core.store().get(46), 1);
    EXPECT_EQ(core.link().mode(), ProtocolMode::Idle);

    core.link().enter(ProtocolMode::AckChain);
    const int discards = port.discards;
    check(1213, true);  // output M/S7
    const auto sent = port.takeWrites();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].bytes, "SO0064\r");
    EXPECT_EQ(sent[0].discardsBefore, discards + 1);
    EXPECT_EQ(core.store().get(53), 1);
    EXPECT_EQ(core.link().mode(), ProtocolMode::AckChain);
}

TEST_F(CustomPageSendersTest, PowerOffDelayPacksTheFailsafeBoxIntoBitFour) {
    const ParameterStore before = core.store();
    const ControlKey slider{Dialog::Custom, 1047};
    const ControlKey edit{Dialog::Custom, 1028};

    core.onUserAction({ActionKind::SliderDraw, slider, 8, {}});
    EXPECT_EQ(core.model().text(edit), "8");
    EXPECT_TRUE(port.takeWrites().empty());

    core.onUserAction({ActionKind::SliderRelease, slider, 8, {}});
    EXPECT_EQ(port.takeWrites().at(0).bytes, "S<0008\r");
    check(1303, true);
    EXPECT_EQ(port.takeWrites().at(0).bytes, "S<0024\r");
    core.link().enter(ProtocolMode::Monitor);
    core.onUserAction({ActionKind::SliderRelease, slider, 15, {}});
    EXPECT_EQ(core.model().text(edit), "15");
    EXPECT_EQ(port.takeWrites().at(0).bytes, "S<0031\r");
    EXPECT_EQ(core.link().mode(), ProtocolMode::Monitor);  // left as it was
    check(1303, false);
    EXPECT_EQ(port.takeWrites().at(0).bytes, "S<0015\r");

    // Neither the delay nor the box has a store slot.
    for (int slot = 0; slot < ParameterStore::kSize; ++slot) {
        EXPECT_EQ(core.store().get(slot), before.get(slot)) << slot;
    }
}

}  // namespace
}  // namespace orva::test
