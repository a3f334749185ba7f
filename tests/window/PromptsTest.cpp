#include <string_view>

#include "window/WindowFixture.h"

namespace orva {
namespace {

using D = Dialog;

class PromptsTest : public test::WindowFixture {
  protected:
    void SetUp() override { start(); }

    // Clicks `label` and returns the one message box it showed.
    MessageBox tipOf(ControlKey label) {
        prompts.shown.clear();
        click(label);
        EXPECT_EQ(prompts.shown.size(), 1u);
        return prompts.shown.empty() ? MessageBox{} : prompts.shown.back();
    }
    static bool beginsWith(const std::string& text, std::string_view start) {
        return std::string_view(text).substr(0, start.size()) == start;
    }
};

TEST_F(PromptsTest, CloseQuestionInChinese) {
    prompts.answers = {MessageResult::No, MessageResult::Yes};
    EXPECT_FALSE(core.onCloseRequested());
    EXPECT_TRUE(core.onCloseRequested());
    ASSERT_EQ(prompts.shown.size(), 2u);
    EXPECT_EQ(prompts.shown[0].text, "你确定要关闭本程序吗？");
    EXPECT_EQ(prompts.shown[0].title, "Halvane提示：");
    EXPECT_EQ(prompts.shown[0].buttons, MessageButtons::YesNo);
    // Closing sends nothing to the controller.
    EXPECT_EQ(port.takeWritten(), "");
}

TEST_F(PromptsTest, CloseQuestionInEnglish) {
    click(ids::main::kLanguage);
    prompts.answers = {MessageResult::No};
    EXPECT_FALSE(core.onCloseRequested());
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "Are you sure to close the Window？");
    EXPECT_EQ(prompts.shown[0].title, "Halvane Mentioned：");
    EXPECT_EQ(prompts.shown[0].buttons, MessageButtons::YesNo);
}

TEST_F(PromptsTest, MainWindowTipsBeginAsWritten) {
    const struct {
        ControlKey label;
        std::string_view begins;
    } tips[] = {
        {ids::main::kPortTip,
         "提示：请首先将Kivrel飞控连接电脑的USB接口，再从右侧列表框中选择您即将使用的串口："},
        {ids::main::kMultiAxisTip, "提示：请根据您的机器从右侧列表框中选择多轴模式，"},
        {ids::main::kEscTip, "提示：请根据您的机器从右侧列表框中选择输出模式，"},
        {ids::main::kServoTip, "提示：根据舵机输出频率选择相应的选项"},
        {ids::main::kSensorTip, "提示：请根据您的安装的设备勾选右侧相应的设备。"},
    };
    for (const auto& tip : tips) {
        MessageBox box = tipOf(tip.label);
        EXPECT_TRUE(beginsWith(box.text, tip.begins)) << box.text;
        EXPECT_EQ(box.title, "Halvane提示：");
        EXPECT_EQ(box.buttons, MessageButtons::OkCancel);
    }
    EXPECT_NE(tipOf(ids::main::kMultiAxisTip).text.find("4X"), std::string::npos);
    EXPECT_NE(tipOf(ids::main::kEscTip).text.find("330Hz"), std::string::npos);
    MessageBox servo = tipOf(ids::main::kServoTip);
    EXPECT_NE(servo.text.find("270Hz"), std::string::npos);
    EXPECT_NE(servo.text.find("默认为50Hz"), std::string::npos);
}

TEST_F(PromptsTest, DeclinationTipHasItsOwnTitle) {
    MessageBox box = tipOf(ids::main::kDeclinationTip);
    EXPECT_EQ(box.title, "Halvane提示：本地磁偏角设置");
    EXPECT_TRUE(beginsWith(box.text, "功能描述及使用说明：")) << box.text;
    EXPECT_NE(box.text.find("1."), std::string::npos);
    EXPECT_NE(box.text.find("默认值为0"), std::string::npos);
    EXPECT_EQ(box.buttons, MessageButtons::OkCancel);
}

TEST_F(PromptsTest, PageTipsBeginAsWritten) {
    MessageBox stability = tipOf({D::Basic, 1000});
    EXPECT_TRUE(beginsWith(stability.text,
                           "提示：请拖动滑块到相应数值处(具体数值可参见滑条右侧的显示框)。"));
    EXPECT_NE(stability.text.find("主稳定度值"), std::string::npos);
    EXPECT_NE(stability.text.find("描述："), std::string::npos);
    EXPECT_EQ(stability.title, "Halvane提示：");
    for (int id = 1000; id <= 1009; ++id) {
        MessageBox box = tipOf({D::Basic, id});
        EXPECT_TRUE(beginsWith(box.text, "提示：请拖动滑块到相应数值处")) << id;
        EXPECT_EQ(box.buttons, MessageButtons::OkCancel) << id;
    }
    EXPECT_NE(tipOf({D::Basic, 1008}).text.find("辅助高度锁定值"), std::string::npos);

    MessageBox functions = tipOf(ids::custom::kFunctionTip);
    EXPECT_TRUE(beginsWith(functions.text, "提示：请根据您的需要，自己定义相应功能选项："));
    EXPECT_NE(functions.text.find("无向CF"), std::string::npos);
    EXPECT_NE(functions.text.find("自动降落"), std::string::npos);
    EXPECT_EQ(functions.title, "Halvane提示：");
}

TEST_F(PromptsTest, TipsStayChineseInEnglishModeAndSendNothing) {
    const MessageBox chinese = tipOf(ids::main::kSensorTip);
    click(ids::main::kLanguage);
    prompts.answers = {MessageResult::Cancel};
    const MessageBox english = tipOf(ids::main::kSensorTip);
    EXPECT_EQ(english.text, chinese.text);
    EXPECT_EQ(english.title, "Halvane提示：");
    EXPECT_EQ(port.takeWritten(), "");
}

TEST_F(PromptsTest, GimbalLabelsExplainNothing) {
    click({D::Gimbal, 1000});
    EXPECT_TRUE(prompts.shown.empty());
}

}  // namespace
}  // namespace orva
