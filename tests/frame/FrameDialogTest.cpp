#include "frame/FrameDialogLogic.h"

#include "model/ControlIds.h"
#include "settings/IntegerText.h"
#include "settings/SettingsFixture.h"

namespace orva {
namespace {

constexpr ControlKey frameKey(int id) {
    return {Dialog::Frame, id};
}

// Motor 1 X and Y, motor 2 X.
constexpr ControlKey kMotor1X = frameKey(1031);
constexpr ControlKey kMotor1Y = frameKey(1034);
constexpr ControlKey kMotor2X = frameKey(1037);

class FrameDialogTest : public test::SettingsFixture {
  protected:
    void open() {
        act(ActionKind::Click, ids::main::kEditFrame);
        port.takeWritten();
    }
    void type(ControlKey edit, const std::string& text) {
        act(ActionKind::EditCommit, edit, 0, text);
    }
    // The controller's 8-byte acknowledgement of a set command: "S", code, four digits, CR LF.
    void acknowledge(char code, int value) { port.receive(frames::set(code, value) + "\n"); }
    const FrameDialogLogic& frame() { return core.frame(); }
    int planRevision() { return model().value(ids::frame::kPlan); }
    const std::string& lastMessage() { return prompts.shown.back().text; }
};

TEST_F(FrameDialogTest, EditButtonRestartsTheLinkCreatesTheDialogOnceAndAsksForTheFrame) {
    EXPECT_FALSE(model().visible(ids::frame::kDialog));
    const int opensBefore = port.opens;
    act(ActionKind::Click, ids::main::kEditFrame);
    // Link restart, the query of the dialog's initialisation, and the query of the opening.
    EXPECT_EQ(port.takeWritten(), "?V\r?k\r?k\r");
    EXPECT_EQ(port.opens, opensBefore + 1);
    EXPECT_EQ(mode(), ProtocolMode::Idle);
    EXPECT_EQ(port.inputLen, 0);
    EXPECT_EQ(port.handshaking, CMSComm::Handshaking::None);
    EXPECT_TRUE(model().visible(ids::frame::kDialog));
    EXPECT_TRUE(frame().created());
    EXPECT_TRUE(frame().ready());

    // Start values, Chinese texts, motors 5 and 6 out of use.
    EXPECT_EQ(model().value(ids::frame::kAxisCombo), 0);
    EXPECT_EQ(model().value(ids::frame::kAxisCount), 4);
    EXPECT_EQ(model().text(ids::frame::kMaxX), "650");
    EXPECT_EQ(model().text(ids::frame::kMaxY), "650");
    EXPECT_EQ(model().text(kMotor1X), "0");
    EXPECT_EQ(model().text(ids::frame::kDialog),
              "异形机架设置：请输入异形机架的相关参数(注意各参数说明)，并按[保存]按扭!");
    EXPECT_EQ(model().text(frameKey(1224)), "电机5");
    EXPECT_EQ(model().text(ids::frame::kSave), "保存");
    for (ControlKey key : ids::frame::kExtraMotorControls) {
        EXPECT_FALSE(model().enabled(key));
    }
    // The plan: motors 1 to 4 all at the origin.
    EXPECT_EQ(frame().plan().size(), FramePlan::emptyPlan().size() + 4 * 3 + 4);

    // Cancel hides; the next opening shows the same values and asks again, without a new
    // initialisation.
    type(ids::frame::kMaxX, "500");
    act(ActionKind::Click, ids::frame::kCancel);
    EXPECT_FALSE(model().visible(ids::frame::kDialog));
    port.takeWritten();
    act(ActionKind::Click, ids::main::kEditFrame);
    EXPECT_EQ(port.takeWritten(), "?V\r?k\r");
    EXPECT_TRUE(model().visible(ids::frame::kDialog));
    EXPECT_EQ(model().text(ids::frame::kMaxX), "500");
}

TEST_F(FrameDialogTest, TextsFollowTheLanguageAtTheFirstOpening) {
    act(ActionKind::Click, ids::main::kLanguage);
    open();
    EXPECT_EQ(model().text(ids::frame::kDialog),
              "IRRET_SHAPE Setup:Please setup all parameter,Then press [save] button!");
    EXPECT_EQ(model().text(frameKey(1001)), "Please input  the numbers of Axis:");
    EXPECT_EQ(model().text(frameKey(1017)), "P_Rev");
    type(ids::frame::kMaxX, "5001");
    EXPECT_EQ(prompts.shown.back().title, "Halvane mentioned:");
    EXPECT_EQ(lastMessage(),
              "The maximum of X axis distance must belong to [0－5000],Please input it again!");
}

TEST_F(FrameDialogTest, ReadBackRedrawsThePlanBeforeItsNextQuery) {
    open();
    // What had gone out each time a new plan was published.
    std::vector<std::string> writtenAtRedraw;
    model().setListener([&](ControlKey key) {
        if (key == ids::frame::kPlan) {
            writtenAtRedraw.push_back(port.written);
        }
    });
    answer('k', 6);     // the axis count: redrawn, then "?l\r"
    answer('y', 5100);  // motor 6 Y: redrawn, then "?z\r"
    model().setListener(nullptr);
    EXPECT_EQ(writtenAtRedraw, (std::vector<std::string>{"", "?l\r"}));
    EXPECT_EQ(port.takeWritten(), "?l\r?z\r");
}

TEST_F(FrameDialogTest, AxisCountChangeSendsAtOnceAndWaits) {
    open();
    const auto before = clock.now;
    const int revision = planRevision();
    act(ActionKind::Select, ids::frame::kAxisCombo, 1);
    EXPECT_EQ(port.takeWritten(), "Sk0006\r");
    EXPECT_EQ(mode(), ProtocolMode::Idle);
    EXPECT_GE(clock.now - before, 100u);
    EXPECT_EQ(model().value(ids::frame::kAxisCount), 6);
    for (ControlKey key : ids::frame::kExtraMotorControls) {
        EXPECT_TRUE(model().enabled(key));
    }
    EXPECT_GT(planRevision(), revision);

    act(ActionKind::Select, ids::frame::kAxisCombo, 0);
    EXPECT_EQ(port.takeWritten(), "Sk0004\r");
    EXPECT_EQ(model().value(ids::frame::kAxisCount), 4);
    EXPECT_FALSE(model().enabled(ids::frame::kExtraMotorControls[0]));
}

TEST_F(FrameDialogTest, SaveWritesTheFrameChainAcknowledgementByAcknowledgement) {
    open();
    type(ids::frame::kMaxY, "600");
    type(kMotor1X, "300");
    type(kMotor1Y, "-250");
    type(frameKey(1042), "-600");  // motor 6 Y: kept and sent although four axes are in use
    port.takeWritten();

    act(ActionKind::Click, ids::frame::kSave);
    // The combo-variant link restart, then the axis count.
    EXPECT_EQ(port.takeWritten(), "?V\rSk0004\r");
    EXPECT_EQ(mode(), ProtocolMode::AckChain);
    ASSERT_FALSE(prompts.shown.empty());
    EXPECT_EQ(lastMessage(), "您确信要保存您机架的上述设置值吗？");
    EXPECT_EQ(prompts.shown.back().title, "Halvane提示:");
    EXPECT_EQ(prompts.shown.back().buttons, MessageButtons::Ok);

    // Stored values 175 to 189: axis count, maxima, then X and Y of motors 1 to 6.
    EXPECT_EQ(store().get(175), 4);
    EXPECT_EQ(store().get(176), 650);
    EXPECT_EQ(store().get(177), 600);
    EXPECT_EQ(store().get(178), 300);
    EXPECT_EQ(store().get(179), -250);
    EXPECT_EQ(store().get(189), -600);

    // Each acknowledgement, after a 50 ms pause, sends the next number of the sent copy.
    const std::vector<std::string> expected = {
        "Sl0650\r",  // maximum X
        "Sm0600\r",  // maximum Y
        "Sn5300\r",  // motor 1 X + 5000
        "So4750\r",  // motor 1 Y + 5000
        "Sp5000\r", "Sq5000\r", "Sr5000\r", "Ss5000\r", "St5000\r",
        "Su5000\r", "Sv5000\r", "Sw5000\r", "Sx5000\r",
        "Sy4400\r",  // motor 6 Y + 5000
    };
    const std::string codes = "klmnopqrstuvwx";
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto before = clock.now;
        acknowledge(codes[i], 0);
        EXPECT_EQ(port.takeWritten(), expected[i]) << "after S" << codes[i];
        EXPECT_GE(clock.now - before, 50u);
        EXPECT_EQ(mode(), ProtocolMode::AckChain);
    }
    // The acknowledgement of y ends the chain; mode 15 stays.
    acknowledge('y', 4400);
    EXPECT_EQ(port.takeWritten(), "");
    EXPECT_EQ(mode(), ProtocolMode::AckChain);
}

TEST_F(FrameDialogTest, AcknowledgementsAreFramedAtExactlyEightBytes) {
    open();
    act(ActionKind::Click, ids::frame::kSave);
    port.takeWritten();
    // Seven bytes wait; the eighth completes the acknowledgement.
    port.receive("Sk0004\r");
    EXPECT_EQ(port.takeWritten(), "");
    port.receive("\n");
    EXPECT_EQ(port.takeWritten(), "Sl0650\r");
    // A longer reply in one piece passes 8 without meeting it: the chain stops there.
    port.receive("Sl0650\r\nXX");
    EXPECT_EQ(port.takeWritten(), "");
    acknowledge('l', 650);
    EXPECT_EQ(port.takeWritten(), "");
    // Rows other than the frame's do nothing here.
    core.link().enter(core.link().mode(), Reply::Emptied);
    acknowledge('z', 5);
    EXPECT_EQ(port.takeWritten(), "");
}

TEST_F(FrameDialogTest, CoordinatesAtTheLimitsAreAcceptedAndSent) {
    open();
    type(ids::frame::kMaxX, "5000");
    type(kMotor1X, "-5000");
    type(kMotor2X, "5000");  // equal to its maximum
    EXPECT_TRUE(frame().ready());
    EXPECT_TRUE(prompts.shown.empty());
    act(ActionKind::Click, ids::frame::kSave);
    acknowledge('k', 4);
    acknowledge('l', 5000);
    port.takeWritten();
    acknowledge('m', 650);
    EXPECT_EQ(port.takeWritten(), "Sn0000\r");  // -5000 + 5000
    acknowledge('n', 0);
    EXPECT_EQ(port.takeWritten(), "So5000\r");
    acknowledge('o', 5000);
    EXPECT_EQ(port.takeWritten(), "Sp0000\r");  // 5000 + 5000, four digits of 10000
}

TEST_F(FrameDialogTest, ReverseBoxesAreWrittenAtOnce) {
    open();
    act(ActionKind::Check, frameKey(1056), 1);
    EXPECT_EQ(port.takeWritten(), "Sz0001\r");
    const int revision = planRevision();
    act(ActionKind::Check, frameKey(1058), 1);
    // Motors 1 and 3: bits 0 and 2.
    EXPECT_EQ(port.takeWritten(), "Sz0005\r");
    EXPECT_EQ(mode(), ProtocolMode::AckChain);
    EXPECT_GT(planRevision(), revision);
    // Motor 1 is now drawn in blue.
    bool blueName = false;
    for (const PlanItem& item : frame().plan()) {
        blueName |= item.text == "M1" && item.colour == FramePlan::kBlue;
    }
    EXPECT_TRUE(blueName);
    // Its acknowledgement matches no row of the chain.
    acknowledge('z', 5);
    EXPECT_EQ(port.takeWritten(), "");
}

TEST_F(FrameDialogTest, MaximumDistancesOutsideTheirRangeAreRefused) {
    open();
    int revision = planRevision();
    type(ids::frame::kMaxX, "5001");
    EXPECT_EQ(lastMessage(), "X轴距的最大值必须在[0－5000]内,请重新输入数据!");
    EXPECT_EQ(prompts.shown.back().title, "Halvane提示您:");
    EXPECT_EQ(model().value(ids::frame::kFocus), 1029);
    EXPECT_EQ(model().text(ids::frame::kMaxX), "5001");  // the value stays in its edit
    EXPECT_EQ(planRevision(), revision);
    EXPECT_EQ(port.takeWritten(), "");

    type(ids::frame::kMaxX, "700");
    EXPECT_GT(planRevision(), revision);
    revision = planRevision();
    type(ids::frame::kMaxY, "-1");
    EXPECT_EQ(lastMessage(), "Y轴距的最大值必须在[0－5000]内,请重新输入数据!");
    EXPECT_EQ(model().value(ids::frame::kFocus), 1030);
    EXPECT_EQ(planRevision(), revision);
    // A valid maximum Y while maximum X is out of range: no redraw either.
    type(ids::frame::kMaxX, "6000");
    revision = planRevision();
    type(ids::frame::kMaxY, "100");
    EXPECT_EQ(planRevision(), revision);
    EXPECT_TRUE(frame().ready());
}

TEST_F(FrameDialogTest, TextsThatAreNoIntegerAreRefusedAtOnce) {
    open();
    // Clearing the maximum X edit: the message, the number kept, the plan drawn with it.
    type(ids::frame::kMaxX, "");
    EXPECT_EQ(lastMessage(), kNotAnInteger);
    EXPECT_EQ(prompts.shown.back().title, "Halvane提示您:");
    EXPECT_EQ(model().value(ids::frame::kFocus), 1029);
    EXPECT_EQ(model().value(ids::frame::kMaxX), 650);

    // A lone minus sign as the start of a negative coordinate: refused, and the redraw writes
    // the number back.
    prompts.shown.clear();
    type(kMotor1X, "-");
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(lastMessage(), kNotAnInteger);
    EXPECT_EQ(model().value(ids::frame::kFocus), 1031);
    EXPECT_EQ(model().text(kMotor1X), "0");
    EXPECT_TRUE(frame().ready());

    // Edits after a refused one keep their numbers: 1037 comes after 1031 in the exchange.
    type(kMotor2X, "12");  // read at once: ready is set
    EXPECT_EQ(model().value(kMotor2X), 12);
    act(ActionKind::Click, ids::frame::kSave);
    EXPECT_EQ(frame().sent().numbers[4], 12);
}

TEST_F(FrameDialogTest, CoordinateBeyondItsMaximumClearsTheReadyFlag) {
    open();
    type(ids::frame::kMaxX, "100");
    prompts.shown.clear();
    type(kMotor2X, "-101");
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(lastMessage(), "该数据框内的数值的绝对值必须小于X轴距的最大值!请重新输入数据!");
    EXPECT_EQ(model().value(ids::frame::kFocus), 1037);
    EXPECT_FALSE(frame().ready());
    EXPECT_EQ(frame().plan(), FramePlan::emptyPlan());
    EXPECT_EQ(port.takeWritten(), "");

    // While the flag is clear, coordinate edits neither check nor draw.
    const int revision = planRevision();
    type(kMotor1Y, "-5000");
    EXPECT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(planRevision(), revision);
    // Other events still check: a Y coordinate beyond maximum Y is reported.
    type(kMotor2X, "0");
    type(ids::frame::kMaxY, "650");
    EXPECT_EQ(lastMessage(), "该数据框内的数值的绝对值必须小于Y轴距的最大值!请重新输入数据!");
    EXPECT_EQ(model().value(ids::frame::kFocus), 1034);
    EXPECT_FALSE(frame().ready());
    // Save sends what the edits hold, unchecked.
    act(ActionKind::Click, ids::frame::kSave);
    EXPECT_EQ(frame().sent().numbers[3], -5000);
}

TEST_F(FrameDialogTest, FrameReadbackFillsTheDialogAndRedrawsThePlan) {
    open();
    // The chain as the controller answers it; every reply leads to the next query.
    answer('k', 6);
    EXPECT_EQ(model().value(ids::frame::kAxisCount), 6);
    EXPECT_TRUE(model().enabled(ids::frame::kExtraMotorControls[0]));
    answer('l', 200);
    answer('m', 100);
    answer('n', 5100);  // motor 1 X 100
    answer('o', 4900);  // motor 1 Y -100
    for (char code : std::string("pqrstuvwx")) {
        answer(code, 5000);
    }
    port.takeWritten();
    const int revision = planRevision();
    answer('y', 5050);  // motor 6 Y 50
    EXPECT_EQ(port.takeWritten(), "?z\r");
    EXPECT_GT(planRevision(), revision);
    EXPECT_EQ(frame().sent().axisCount, 6);
    EXPECT_EQ(frame().sent().numbers[2], 100);
    EXPECT_EQ(frame().sent().numbers[13], 50);
    // Six marks on the plan.
    int marks = 0;
    for (const PlanItem& item : frame().plan()) {
        marks += item.kind == PlanItem::Kind::Fill ? 1 : 0;
    }
    EXPECT_EQ(marks, 7);
    EXPECT_TRUE(prompts.shown.empty());

    // A coordinate read back beyond its maximum is reported by the redraw it causes.
    answer('z', 3);
    EXPECT_EQ(model().value(frameKey(1057)), 1);
    act(ActionKind::Click, ids::main::kEditFrame);
    answer('k', 4);
    answer('l', 50);  // motor 1 X of 100 is now beyond it
    answer('m', 100);
    for (char code : std::string("nopqrstuvwx")) {
        answer(code, 5000 + (code == 'n' ? 100 : 0));
    }
    answer('y', 5000);
    ASSERT_FALSE(prompts.shown.empty());
    EXPECT_EQ(lastMessage(), "该数据框内的数值的绝对值必须小于X轴距的最大值!请重新输入数据!");
    EXPECT_FALSE(frame().ready());
}

}  // namespace
}  // namespace orva
