#include <string_view>

#include "support/CoreHarness.h"

namespace orva {
namespace {

using D = Dialog;
using WindowTest = test::CoreHarness;

constexpr std::string_view kHintChinese =
    "<-请先点击左侧按扭选择升级文件(*.bin),再点右侧按扭开始升级!";

TEST_F(WindowTest, LanguageSwitchWritesEnglishThenTheSwitchedChineseForms) {
    // At start the lists show their first items, but the restore list shows nothing until the
    // read-back of "j" selects the controller's set.
    EXPECT_EQ(model().value(ids::main::kMultiAxis), 0);
    EXPECT_EQ(model().value(ids::main::kRestoreChoice), -1);
    const struct {
        ControlKey key;
        std::string_view start, english, back;  // back: "" when it is the start text again
    } kTexts[] = {
        {ids::main::kRefresh, "刷  新", "Refresh", "刷新"},
        {ids::main::kVersionCaption, "固件版本: V", "FW Version:V", "固件版本:V"},
        {ids::main::kLoadData, "恢复参考数据", "Load Data", "恢复数据"},
        {{D::Main, 1062}, "气 压 计", "Barometer", "气压计"},
        {{D::Custom, 1299}, "气压针高度", "Ba_Height", "气压计高度"},
        {{D::Gimbal, 1002}, "云台 Z 轴比例", "Gim Z Axil Scale", "云台 Z轴比例"},
        {ids::main::kLanguage, "English", "中文", ""},
        {ids::main::kMultiAxisTip, "多 轴 模 式", "MultiAxilMod", "多轴模式"},
        {{D::Custom, 1014}, "功能选项", "Funtion", ""},
        {ids::main::kUpgradeHint, kHintChinese,
         "<-Please select FW file(*.bin),then click [upgrade]!", ""},
        {ids::main::kWindowTitle,
         "Halvane调参工具Ｖ1.220  (www.halvane-shop.com)----打造专业的DIY世界！",
         "Kivrel Tools V1.220 (www.halvane-shop.com)", ""},
        {ids::main::kStatus, "串口已打开", "COM Opened", ""},
        {ids::custom::kPage, "自定义功能及数据显示", "自定义功能及数据显示", ""},
    };
    for (int round = 0; round < 2; ++round) {  // a second round trip lands on the same forms
        for (const auto& t : kTexts) {
            EXPECT_EQ(text(t.key), round == 0 || t.back.empty() ? t.start : t.back) << t.start;
        }
        click(ids::main::kLanguage);
        for (const auto& t : kTexts) {
            EXPECT_EQ(text(t.key), t.english) << t.start;
        }
        click(ids::main::kLanguage);
    }
    EXPECT_EQ(port.takeWritten(), "");
}

TEST_F(WindowTest, PageSwitchesStopTheStreamButTheCustomPageTab) {
    const struct {
        ActionKind kind;
        ControlKey key;
        int value, page;
        const char* sent;
    } kSwitches[] = {
        {ActionKind::Tab, ids::main::kTabs, 1, 1, ""},
        {ActionKind::Click, ids::main::kPageCustom, 0, 1, "S~0000\r"},
        {ActionKind::Click, ids::main::kPageBasic, 0, 0, "S~0000\r"},
        {ActionKind::Click, ids::main::kPageGps, 0, 2, "S~0000\r"},
        {ActionKind::Click, ids::main::kPageGimbal, 0, 3, "S~0000\r"},
        {ActionKind::Click, ids::main::kPageVoltage, 0, 4, "S~0000\r"},
        {ActionKind::Tab, ids::main::kTabs, 4, 4, "S~0000\r"},  // the page already shown
        {ActionKind::Tab, ids::main::kTabs, 5, 4, ""},
    };
    const ControlKey pages[] = {ids::basic::kPage, ids::custom::kPage, ids::gps::kPage,
                                ids::gimbal::kPage, ids::voltage::kPage};
    for (const auto& s : kSwitches) {
        // What a running live display leaves: streaming, settings locked, the stop caption.
        core.link().enter(ProtocolMode::Monitor);
        model().setEnabled({D::Custom, 113}, false);
        model().setText(ids::custom::kDataDisplay, "停止显示");
        model().setText(ids::main::kUpgradeHint, "/home/pilot/kivrel.bin");
        model().setEnabled(ids::main::kUpgrade, true);
        act(s.kind, s.key, s.value);
        EXPECT_EQ(port.takeWritten(), s.sent) << s.key.id << " " << s.value;
        if (s.kind == ActionKind::Click) {  // a page button selects its tab
            EXPECT_EQ(model().value(ids::main::kTabs), s.page);
        }
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(model().visible(pages[i]), i == s.page) << i;
        }
        const bool stopped = *s.sent != 0;
        EXPECT_EQ(mode(), stopped ? ProtocolMode::Idle : ProtocolMode::Monitor);
        EXPECT_EQ(enabled({D::Custom, 113}), stopped);
        EXPECT_EQ(text(ids::custom::kDataDisplay), stopped ? "显示数据" : "停止显示");
        EXPECT_EQ(text(ids::main::kUpgradeHint) == kHintChinese, stopped);
        EXPECT_EQ(enabled(ids::main::kUpgrade), !stopped);
    }
    click(ids::main::kLanguage);
    click(ids::main::kPageGimbal);
    EXPECT_EQ(text(ids::main::kUpgradeHint),
              "<-Please select FW file(*.bin),then click [Upgrade]!");
}

TEST_F(WindowTest, HelpTipsStayChineseAndTheCloseQuestionDoesNot) {
    const struct {
        ControlKey label;
        std::string_view begins;
    } kTips[] = {
        {ids::main::kMultiAxisTip, "提示：请根据您的机器从右侧列表框中选择多轴模式，"},
        {ids::main::kSensorTip, "提示：请根据您的安装的设备勾选右侧相应的设备。"},
        {ids::main::kDeclinationTip, "功能描述及使用说明："},
        {{D::Basic, 1009}, "提示：请拖动滑块到相应数值处(具体数值可参见滑条右侧的显示框)。"},
        {ids::custom::kFunctionTip, "提示：请根据您的需要，自己定义相应功能选项："},
        {{D::Gimbal, 1000}, ""},  // no tip
    };
    click(ids::main::kLanguage);
    for (const auto& tip : kTips) {
        prompts.shown.clear();
        click(tip.label);
        ASSERT_EQ(prompts.shown.size(), tip.begins.empty() ? 0u : 1u) << tip.begins;
        if (!tip.begins.empty()) {
            EXPECT_EQ(lastMessage().text.substr(0, tip.begins.size()), tip.begins);
            EXPECT_EQ(lastMessage().title, tip.label == ids::main::kDeclinationTip
                                               ? "Halvane提示：本地磁偏角设置"
                                               : "Halvane提示：");
            EXPECT_EQ(lastMessage().buttons, MessageButtons::OkCancel);
        }
    }
    prompts.answers = {MessageResult::No, MessageResult::Yes};
    EXPECT_FALSE(core.onCloseRequested());
    EXPECT_EQ(lastMessage().text, "Are you sure to close the Window？");
    EXPECT_EQ(lastMessage().title, "Halvane Mentioned：");
    click(ids::main::kLanguage);
    EXPECT_TRUE(core.onCloseRequested());
    EXPECT_EQ(lastMessage().title, "Halvane提示：");
    EXPECT_EQ(port.takeWritten(), "");
}

}  // namespace
}  // namespace orva
