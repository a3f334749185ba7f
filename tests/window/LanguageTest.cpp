#include "window/WindowFixture.h"

namespace orva {
namespace {

using D = Dialog;

class LanguageTest : public test::WindowFixture {
  protected:
    void SetUp() override { start(); }
    void switchLanguage() { click(ids::main::kLanguage); }
};

TEST_F(LanguageTest, StartsInChineseWithTemplateTexts) {
    EXPECT_EQ(core.language(), Language::Chinese);
    EXPECT_EQ(text(ids::main::kWindowTitle),
              "Halvane调参工具Ｖ1.220  (www.halvane-shop.com)----打造专业的DIY世界！");
    EXPECT_EQ(text(ids::main::kLanguage), "English");
    EXPECT_EQ(text(ids::main::kRefresh), "刷  新");
    EXPECT_EQ(text(ids::main::kVersionCaption), "固件版本: V");
    EXPECT_EQ(text(ids::main::kSaveData), "保存当前数据");
    EXPECT_EQ(text(ids::main::kLoadData), "恢复参考数据");
    EXPECT_EQ(text(ids::main::kMultiAxisTip), "多 轴 模 式");
    EXPECT_EQ(text({D::Main, 1062}), "气 压 计");
    EXPECT_EQ(text(ids::main::kPageCustom), "自定义功能设置与数据显示");
    EXPECT_EQ(text({D::Custom, 1299}), "气压针高度");  // the template's own spelling
    EXPECT_EQ(text(ids::custom::kDataDisplay), "显 示 数 据");
    EXPECT_EQ(text({D::Custom, 1298}), "");
    EXPECT_EQ(text({D::Custom, 1286}), "低  中  高 ");
    EXPECT_EQ(text({D::Gimbal, 1002}), "云台 Z 轴比例");
    EXPECT_EQ(text(ids::main::kUpgradeHint),
              "<-请先点击左侧按扭选择升级文件(*.bin),再点右侧按扭开始升级!");
    EXPECT_EQ(text(ids::main::kStatus), "串口已打开");
}

TEST_F(LanguageTest, EnglishFormsOfEveryArea) {
    switchLanguage();
    EXPECT_EQ(core.language(), Language::English);
    // Main window.
    EXPECT_EQ(text(ids::main::kWindowTitle), "Kivrel Tools V1.220 (www.halvane-shop.com)");
    EXPECT_EQ(text(ids::main::kLanguage), "中文");
    EXPECT_EQ(text(ids::main::kPortTip), "COM PORT");
    EXPECT_EQ(text(ids::main::kRefresh), "Refresh");
    EXPECT_EQ(text(ids::main::kVersionCaption), "FW Version:V");
    EXPECT_EQ(text(ids::main::kChooseFirmware), "UpdaeFile");
    EXPECT_EQ(text(ids::main::kUpgrade), "Upgrade");
    EXPECT_EQ(text(ids::main::kMultiAxisTip), "MultiAxilMod");
    EXPECT_EQ(text(ids::main::kEditFrame), "Edit...");
    EXPECT_EQ(text({D::Main, 1065}), "GPS Receiver");
    EXPECT_EQ(text(ids::main::kUpperGroup),
              "Kivrel Flight Controller Chief Setup and Upgrade Area");
    EXPECT_EQ(text(ids::main::kPageCustom), "Custom and Monitor");
    EXPECT_EQ(text(ids::main::kPageVoltage), "Voltage Setup");
    EXPECT_EQ(text(ids::main::kUpgradeHint),
              "<-Please select FW file(*.bin),then click [upgrade]!");
    // Pages.
    EXPECT_EQ(text({D::Basic, 1000}), "Stabili_Level");
    EXPECT_EQ(text({D::Basic, 1009}), "HeightStability");
    EXPECT_EQ(text({D::Basic, 1206}), "Basic Setup");
    EXPECT_EQ(text({D::Custom, 1014}), "Funtion");
    EXPECT_EQ(text({D::Custom, 1270}), "CareFree");
    EXPECT_EQ(text({D::Custom, 1282}), "5CH");
    EXPECT_EQ(text({D::Custom, 1289}), "L   M   H");
    EXPECT_EQ(text({D::Custom, 1276}), "FailSafe Indicator");
    EXPECT_EQ(text({D::Custom, 1206}), "R_CH Data(Check to reverse)");
    EXPECT_EQ(text({D::Custom, 1290}), "Healthy");
    EXPECT_EQ(text({D::Custom, 1298}), "Data Displaying Area");
    EXPECT_EQ(text(ids::custom::kDataDisplay), "Data Display");
    EXPECT_EQ(text({D::Gps, 1001}), "Anti-Wind Strength to Position");
    EXPECT_EQ(text({D::Gimbal, 1008}), "Z AxilAngularLimit");
    EXPECT_EQ(text({D::Voltage, 1263}), "Battery Voltage Calibrate and Alarm Setup");
    EXPECT_EQ(text({D::Voltage, 1267}), "Ceil2");
    EXPECT_EQ(text({D::Voltage, 1246}), "Calibrate");
}

TEST_F(LanguageTest, RoundTripWritesTheSwitchedChineseForms) {
    switchLanguage();
    switchLanguage();
    EXPECT_EQ(core.language(), Language::Chinese);
    // Main window controls whose switched form differs from the template.
    EXPECT_EQ(text(ids::main::kRefresh), "刷新");
    EXPECT_EQ(text(ids::main::kVersionCaption), "固件版本:V");
    EXPECT_EQ(text(ids::main::kLoadData), "恢复数据");
    EXPECT_EQ(text(ids::main::kMultiAxisTip), "多轴模式");
    EXPECT_EQ(text(ids::main::kSensorTip), "传感器选择");
    EXPECT_EQ(text(ids::main::kDeclinationSet), "设置");
    EXPECT_EQ(text({D::Main, 1062}), "气压计");
    EXPECT_EQ(text(ids::main::kSaveData), "保存数据");
    // Custom function page.
    EXPECT_EQ(text({D::Custom, 1266}), "自 稳");
    EXPECT_EQ(text({D::Custom, 1267}), "3D 特技");
    EXPECT_EQ(text({D::Custom, 1268}), "定   高");
    EXPECT_EQ(text({D::Custom, 1270}), "无向 CF");
    EXPECT_EQ(text({D::Custom, 1276}), "失控保护开 关");
    EXPECT_EQ(text({D::Custom, 1282}), "5通道");
    EXPECT_EQ(text({D::Custom, 1283}), "6通道");
    EXPECT_EQ(text({D::Custom, 1284}), "7通道");
    EXPECT_EQ(text({D::Custom, 1285}), "8通道");
    for (int id = 1286; id <= 1289; ++id) {
        EXPECT_EQ(text({D::Custom, id}), "低 中 高") << id;
    }
    EXPECT_EQ(text({D::Custom, 1299}), "气压计高度");
    EXPECT_EQ(text(ids::custom::kDataDisplay), "显示数据");
    EXPECT_EQ(text({D::Custom, 1298}), "数据显示区");
    // Gimbal page.
    EXPECT_EQ(text({D::Gimbal, 1002}), "云台 Z轴比例");

    // Everything else is back to the template.
    EXPECT_EQ(text(ids::main::kWindowTitle),
              "Halvane调参工具Ｖ1.220  (www.halvane-shop.com)----打造专业的DIY世界！");
    EXPECT_EQ(text(ids::main::kLanguage), "English");
    EXPECT_EQ(text(ids::main::kPortTip), "选择串口");
    EXPECT_EQ(text(ids::main::kPageCustom), "自定义功能设置与数据显示");
    EXPECT_EQ(text({D::Custom, 1269}), "锁定航向");
    EXPECT_EQ(text({D::Basic, 1007}), "高度锁定");
    EXPECT_EQ(text({D::Voltage, 1266}), "电池1");
    EXPECT_EQ(text(ids::main::kUpgradeHint),
              "<-请先点击左侧按扭选择升级文件(*.bin),再点右侧按扭开始升级!");

    // A second round trip lands on the same forms.
    switchLanguage();
    switchLanguage();
    EXPECT_EQ(text(ids::main::kRefresh), "刷新");
    EXPECT_EQ(text({D::Custom, 1299}), "气压计高度");
}

TEST_F(LanguageTest, StatusFollowsThePortInTheNewLanguage) {
    ASSERT_EQ(text(ids::main::kStatus), "串口已打开");
    switchLanguage();
    EXPECT_EQ(text(ids::main::kStatus), "COM Opened");
    switchLanguage();
    EXPECT_EQ(text(ids::main::kStatus), "串口已打开");

    // A port that cannot be opened stays "not opened" in either language.
    port.failOpen = true;
    click(ids::main::kRefresh);
    ASSERT_EQ(text(ids::main::kStatus), "串口未打开");
    switchLanguage();
    EXPECT_EQ(text(ids::main::kStatus), "COM Not Opened");
    switchLanguage();
    EXPECT_EQ(text(ids::main::kStatus), "串口未打开");

    // Link restarts in English mode report in English.
    switchLanguage();
    port.failOpen = false;
    click(ids::main::kRefresh);
    EXPECT_EQ(text(ids::main::kStatus), "COM Opened");
}

TEST_F(LanguageTest, SwitchSendsNothingAndLeavesTabItemsChinese) {
    switchLanguage();
    EXPECT_EQ(port.takeWritten(), "");
    EXPECT_EQ(text(ids::basic::kPage), "基础参数设置");
    EXPECT_EQ(text(ids::custom::kPage), "自定义功能及数据显示");
    EXPECT_EQ(text(ids::gps::kPage), "GPS参数设置");
    EXPECT_EQ(text(ids::gimbal::kPage), "云台参数设置");
    EXPECT_EQ(text(ids::voltage::kPage), "电压显示及报警设置");
}

TEST_F(LanguageTest, RestartOfTheWindowReturnsToTheTemplateInChinese) {
    switchLanguage();
    core.initialise();
    EXPECT_EQ(core.language(), Language::Chinese);
    EXPECT_EQ(text(ids::main::kRefresh), "刷  新");
    EXPECT_EQ(text(ids::main::kLanguage), "English");
    EXPECT_EQ(text(ids::main::kStatus), "串口已打开");
}

}  // namespace
}  // namespace orva
