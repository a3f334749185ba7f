#include <array>
#include <tuple>

#include "support/CoreHarness.h"

namespace orva::test {
namespace {

constexpr ControlKey frameKey(int id) {
    return {Dialog::Frame, id};
}

class FrameDialog : public CoreHarness {
  protected:
    void open() {
        click(ids::main::kEditFrame);
        port.takeWrites();
    }
    int planRevision() { return model().value(ids::frame::kPlan); }
};

TEST_F(FrameDialog, MaximaAndCoordinatesAreChecked) {
    using Message = std::array<const char*, 2>;  // Chinese, English; none: accepted
    const Message maxX = {
        "X轴距的最大值必须在[0－5000]内,请重新输入数据!",
        "The maximum of X axis distance must belong to [0－5000],Please input it again!"};
    const Message maxY = {
        "Y轴距的最大值必须在[0－5000]内,请重新输入数据!",
        "The maximum of Y axis distance must belong to [0－5000],Please input it again!"};
    // Edit, text, message, redrawn. Maximum Y redraws only while maximum X is inside too.
    const std::tuple<ControlKey, const char*, Message, bool> cases[] = {
        {ids::frame::kMaxX, "-1", maxX, false},
        {ids::frame::kMaxY, "100", {}, false},
        {ids::frame::kMaxX, "5000", {}, true},
        {ids::frame::kMaxY, "5001", maxY, false},
        {ids::frame::kMaxY, "0", {}, true}};
    click(ids::main::kLanguage);  // English at the first opening: the dialog's texts follow
    open();
    EXPECT_EQ(text(ids::frame::kDialog),
              "IRRET_SHAPE Setup:Please setup all parameter,Then press [save] button!");
    EXPECT_EQ(text(frameKey(1001)), "Please input  the numbers of Axis:");
    EXPECT_EQ(text(frameKey(1005)), "Please input Maximum distance  of Y axis");
    for (int english : {1, 0}) {
        for (const auto& [edit, typed, message, redrawn] : cases) {
            prompts.shown.clear();
            const int revision = planRevision();
            type(edit, typed);
            EXPECT_EQ(planRevision() != revision, redrawn) << typed;
            ASSERT_EQ(prompts.shown.size(), message[0] ? 1u : 0u) << typed;
            if (message[0]) {
                EXPECT_EQ(lastMessage().text, message[english]);
                EXPECT_EQ(lastMessage().title, english ? "Halvane mentioned:" : "Halvane提示您:");
                EXPECT_EQ(model().value(ids::frame::kFocus), edit.id);
            }
        }
        click(ids::main::kLanguage);
    }
    click(ids::main::kLanguage);  // back to Chinese, with maximum X 5000 and maximum Y 0
    prompts.shown.clear();
    type(frameKey(1031), "-");  // no integer: refused at once, and the redraw puts 0 back
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(lastMessage().text, "请键入一个整数。");
    EXPECT_EQ(text(frameKey(1031)), "0");
    type(ids::frame::kMaxX, "100");
    type(frameKey(1037), "-101");  // motor 2 X
    EXPECT_EQ(lastMessage().text, "该数据框内的数值的绝对值必须小于X轴距的最大值!请重新输入数据!");
    EXPECT_EQ(model().value(ids::frame::kFocus), 1037);
    EXPECT_EQ(core.frame().plan().size(), 6u);  // the canvas, the axes and their labels only
    // The ready flag is now clear: coordinate edits neither check nor draw...
    const int revision = planRevision();
    type(frameKey(1034), "-5000");  // motor 1 Y
    EXPECT_EQ(prompts.shown.size(), 2u);
    EXPECT_EQ(planRevision(), revision);
    // ...but other events still do, and the first failure in motor order is the one shown.
    type(ids::frame::kMaxY, "650");
    EXPECT_EQ(lastMessage().text, "该数据框内的数值的绝对值必须小于Y轴距的最大值!请重新输入数据!");
    EXPECT_EQ(model().value(ids::frame::kFocus), 1034);
    // The edits are read in the dialog's exchange order: motor 3's X before motor 2's Y.
    for (int id : {1034, 1037}) {
        model().setText(frameKey(id), "0");
    }
    model().setText(frameKey(1040), "-");
    model().setText(frameKey(1032), "-");
    type(ids::frame::kMaxY, "650");
    EXPECT_EQ(model().value(ids::frame::kFocus), 1032);
}

TEST_F(FrameDialog, EditAxisCountReverseBoxesAndSave) {
    click(ids::main::kEditFrame);
    // The link restart, then the query of the initialisation and the one of the opening.
    EXPECT_EQ(port.takeWritten(), "?V\r?k\r?k\r");
    EXPECT_EQ(text(ids::frame::kMaxY), "650");
    type(ids::frame::kMaxX, "500");
    click(ids::frame::kCancel);
    EXPECT_FALSE(model().visible(ids::frame::kDialog));
    click(ids::main::kEditFrame);  // shown again as it was, without a new initialisation
    EXPECT_TRUE(model().visible(ids::frame::kDialog));
    EXPECT_EQ(port.takeWritten(), "?V\r?k\r");
    EXPECT_EQ(text(ids::frame::kMaxX), "500");
    // Nothing read since the opening: Save writes nothing over the controller's frame, and says
    // so beside the port list until the frame chain has run to its end.
    click(ids::frame::kSave);
    EXPECT_EQ(port.takeWritten(), "");
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(results.back(),
              (ExchangeResult{Exchange::FrameSave, Outcome::Refused, Refusal::NotRead}));
    const std::string unread = "机架参数尚未从飞控读完，未保存：请重新打开编缉...  COM3";
    EXPECT_EQ(text(ids::main::kPortDevice).substr(0, unread.size()), unread);
    // The frame as the dialog starts: four axes, 650 by 650, every motor at 0, none reversed.
    for (char code : std::string("klmnopqrstuvwxyzzz")) {
        answer(code, code == 'k' ? "0004" : code < 'n' ? "0650" : code < 'z' ? "5000" : "0000");
    }
    EXPECT_EQ(text(ids::main::kPortDevice).substr(0, unread.size()), unread);
    answer('z', "0000");  // the third repeat of a 0 ends the chain
    EXPECT_EQ(text(ids::main::kPortDevice).substr(0, 4), "COM3");
    EXPECT_EQ(port.takeWritten(),
              "?l\r?m\r?n\r?o\r?p\r?q\r?r\r?s\r?t\r?u\r?v\r?w\r?x\r?y\r?z\r?z\r?z\r?z\r");

    for (const auto& [position, bytes, axes] :
         {std::tuple{0, "Sk0004\r", 4}, std::tuple{1, "Sk0006\r", 6}}) {
        select(ids::frame::kAxisCombo, position);
        const auto sent = port.takeWrites();
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_EQ(sent[0].bytes, bytes);
        EXPECT_GE(clock.now - sent[0].atMs, 100u);  // the controller rearranges its outputs
        EXPECT_EQ(enabled({Dialog::Frame, 1224}), axes == 6);
    }

    // Box, checked, the flags sent: bit n-1 for motor n.
    const std::tuple<int, bool, const char*> clicks[] = {
        {1056, true, "Sz0001\r"}, {1058, true, "Sz0005\r"}, {1062, true, "Sz0037\r"},
        {1057, true, "Sz0039\r"}, {1059, true, "Sz0047\r"}, {1060, true, "Sz0063\r"},
        {1056, false, "Sz0062\r"}};
    for (const auto& [box, on, sent] : clicks) {
        check(frameKey(box), on);
        EXPECT_EQ(writes(), std::vector<std::string>{sent});
        EXPECT_EQ(mode(), ProtocolMode::AckChain);
    }
    std::string blueNames;
    for (const PlanItem& item : core.frame().plan()) {
        blueNames += item.colour == FramePlan::kBlue && item.text.size() == 2 ? item.text : "";
    }
    EXPECT_EQ(blueNames, "M2M3M4M5M6");     // drawn again with the flags
    EXPECT_EQ(released('z', 0).bytes, "");  // no row of the frame chain

    // Coordinates at plus and minus their maxima are accepted; Save sends them plus 5000.
    const std::pair<int, const char*> typed[] = {{1029, "5000"}, {1030, "600"},   {1031, "300"},
                                                 {1034, "-250"}, {1037, "-5000"}, {1032, "5000"},
                                                 {1042, "-600"}};
    for (const auto& [id, text] : typed) {
        type(frameKey(id), text);
    }
    EXPECT_TRUE(prompts.shown.empty());
    click(ids::frame::kSave);
    EXPECT_EQ(writes(), (std::vector<std::string>{"?V\r", "Sk0006\r"}));
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(lastMessage().text, "您确信要保存您机架的上述设置值吗？");
    EXPECT_EQ(lastMessage().title, "Halvane提示:");
    EXPECT_EQ(results.back().outcome, Outcome::Refused);  // done only once the chain is
    // Kept for the next saved file: axis count, maxima, motor 1 X and Y, ..., motor 6 Y.
    EXPECT_EQ(store().get(175), 6);
    EXPECT_EQ(store().get(180), -5000);
    EXPECT_EQ(store().get(189), -600);
    const char* const chain[] = {"Sk0006\r", "Sl5000\r", "Sm0600\r", "Sn5300\r",
                                 "So4750\r", "Sp0000\r", "Sq5000\r", "Sr0000\r",
                                 "Ss5000\r", "St5000\r", "Su5000\r", "Sv5000\r",
                                 "Sw5000\r", "Sx5000\r", "Sy4400\r", ""};
    for (std::size_t i = 1; i < std::size(chain); ++i) {
        EXPECT_EQ(released(chain[i - 1][1], 50).bytes, chain[i]);
        EXPECT_EQ(mode(), ProtocolMode::AckChain);  // and stays after the last
    }
    EXPECT_EQ(results.back(), ExchangeResult{Exchange::FrameSave});
}

TEST_F(FrameDialog, ReadBackRedrawsThePlanBeforeItsNextQuery) {
    open();
    // What had gone out each time a new plan was published.
    std::vector<std::string> writtenAtRedraw;
    model().setListener([&](ControlKey key) {
        if (key == ids::frame::kPlan) {
            writtenAtRedraw.push_back(port.written);
        }
    });
    answer('k', "0006");  // the axis count: redrawn, then "?l\r"
    answer('y', "5100");  // motor 6 Y: redrawn, then "?z\r"
    model().setListener(nullptr);
    EXPECT_EQ(writtenAtRedraw, (std::vector<std::string>{"", "?l\r"}));
    EXPECT_EQ(port.takeWritten(), "?l\r?z\r");
}

}  // namespace
}  // namespace orva::test
