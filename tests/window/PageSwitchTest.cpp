#include <array>

#include "window/WindowFixture.h"

namespace orva {
namespace {

using D = Dialog;

constexpr std::array<ControlKey, 5> kPages = {ids::basic::kPage, ids::custom::kPage,
                                              ids::gps::kPage, ids::gimbal::kPage,
                                              ids::voltage::kPage};

class PageSwitchTest : public test::WindowFixture {
  protected:
    void SetUp() override { start(); }

    // Exactly the page of `index` is shown and the tab control selects it.
    void expectShown(int index) {
        EXPECT_EQ(core.model().value(ids::main::kTabs), index);
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(visible(kPages[i]), i == index) << "page " << i;
        }
    }

    // What a running live display leaves behind: a streaming mode, locked settings, the stop
    // caption, and a chosen firmware image ready to upgrade.
    void pretendDisplayRunning() {
        core.link().enter(ProtocolMode::Monitor);
        core.model().setEnabled(ids::main::kRefresh, false);
        core.model().setEnabled(ids::main::kLanguage, false);
        core.model().setEnabled(ids::main::kMultiAxis, false);
        core.model().setEnabled({D::Custom, 113}, false);   // row b, CH6 low
        core.model().setEnabled({D::Custom, 1260}, false);  // row =, CH8 high
        core.model().setEnabled({D::Custom, 1047}, false);  // power-off delay
        core.model().setText(ids::custom::kDataDisplay, "停止显示");
        core.model().setText(ids::main::kUpgradeHint, "/home/pilot/kivrel.bin");
        core.model().setEnabled(ids::main::kUpgrade, true);
        port.inputMode = CMSComm::InputMode::Text;
    }
};

TEST_F(PageSwitchTest, StartShowsTheBasicPageOnTabZero) {
    expectShown(0);
    EXPECT_EQ(core.model().value(ids::main::kPortCombo), 2);  // "COM3"
    EXPECT_EQ(core.model().value(ids::main::kMultiAxis), 0);
    EXPECT_EQ(core.model().value(ids::main::kEsc), 0);
    EXPECT_EQ(core.model().value(ids::main::kServo), 0);
    EXPECT_FALSE(enabled(ids::main::kUpgrade));
}

TEST_F(PageSwitchTest, StartUpSendsOnlyTheVersionQuery) {
    core.initialise();
    EXPECT_EQ(port.takeWritten(), "?V\r");
}

TEST_F(PageSwitchTest, CustomPageThroughItsTabKeepsTheDisplayRunning) {
    pretendDisplayRunning();
    selectTab(1);
    expectShown(1);
    EXPECT_EQ(port.takeWritten(), "");
    EXPECT_EQ(core.link().mode(), ProtocolMode::Monitor);
    EXPECT_EQ(text(ids::custom::kDataDisplay), "停止显示");
    EXPECT_FALSE(enabled(ids::main::kRefresh));
}

TEST_F(PageSwitchTest, CustomPageThroughItsButtonStopsTheDisplay) {
    pretendDisplayRunning();
    click(ids::main::kPageCustom);
    expectShown(1);
    EXPECT_EQ(port.takeWritten(), "S~0000\r");
    EXPECT_EQ(port.inputMode, CMSComm::InputMode::Binary);
    EXPECT_EQ(core.link().mode(), ProtocolMode::Idle);
}

TEST_F(PageSwitchTest, EveryOtherSwitchStopsTheStream) {
    const std::array<ControlKey, 5> buttons = {ids::main::kPageBasic, ids::main::kPageCustom,
                                               ids::main::kPageGps, ids::main::kPageGimbal,
                                               ids::main::kPageVoltage};
    for (int i = 0; i < 5; ++i) {
        click(buttons[i]);
        expectShown(i);
        EXPECT_EQ(port.takeWritten(), "S~0000\r") << "button of page " << i;
    }
    for (int i : {4, 3, 2, 0}) {
        selectTab(i);
        expectShown(i);
        EXPECT_EQ(port.takeWritten(), "S~0000\r") << "tab " << i;
    }
    // Choosing the page already shown stops the stream again.
    selectTab(0);
    EXPECT_EQ(port.takeWritten(), "S~0000\r");
}

TEST_F(PageSwitchTest, StopUnlocksTheSettingsAndResetsTheDisplayTexts) {
    pretendDisplayRunning();
    selectTab(2);
    EXPECT_EQ(core.link().mode(), ProtocolMode::Idle);
    EXPECT_TRUE(enabled(ids::main::kRefresh));
    EXPECT_TRUE(enabled(ids::main::kLanguage));
    EXPECT_TRUE(enabled(ids::main::kMultiAxis));
    EXPECT_TRUE(enabled({D::Custom, 113}));
    EXPECT_TRUE(enabled({D::Custom, 1260}));
    EXPECT_TRUE(enabled({D::Custom, 1047}));
    EXPECT_EQ(text(ids::custom::kDataDisplay), "显示数据");
    // The chosen image gives way to the hint, and Upgrade waits for a new choice.
    EXPECT_EQ(text(ids::main::kUpgradeHint),
              "<-请先点击左侧按扭选择升级文件(*.bin),再点右侧按扭开始升级!");
    EXPECT_FALSE(enabled(ids::main::kUpgrade));
}

TEST_F(PageSwitchTest, StopInEnglishUsesThePageSwitchHint) {
    click(ids::main::kLanguage);
    pretendDisplayRunning();
    click(ids::main::kPageGimbal);
    EXPECT_EQ(text(ids::custom::kDataDisplay), "Data Display");
    EXPECT_EQ(text(ids::main::kUpgradeHint),
              "<-Please select FW file(*.bin),then click [Upgrade]!");
    EXPECT_EQ(port.takeWritten(), "S~0000\r");
}

TEST_F(PageSwitchTest, StopIsSentEvenWhenThePortDidNotOpen) {
    port.failOpen = true;
    click(ids::main::kRefresh);
    port.takeWritten();
    click(ids::main::kPageVoltage);
    expectShown(4);
    EXPECT_EQ(port.takeWritten(), "S~0000\r");
}

TEST_F(PageSwitchTest, TabIndexOutsideTheFivePagesChangesNothing) {
    click(ids::main::kPageGps);
    port.takeWritten();
    selectTab(5);
    selectTab(-1);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(visible(kPages[i]), i == 2) << "page " << i;
    }
    EXPECT_EQ(port.takeWritten(), "");
}

}  // namespace
}  // namespace orva
