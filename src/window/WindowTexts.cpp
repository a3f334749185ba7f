#include "window/WindowTexts.h"

#include <array>

#include "model/ControlIds.h"

namespace orva {
namespace {

using D = Dialog;

// Chinese template form, English form, and the Chinese form written after switching back where
// it differs from the template.
constexpr ControlText kTexts[] = {
    // Main window (dialog 102).
    {{D::Main, 0},
     "Halvane调参工具Ｖ1.220  (www.halvane-shop.com)----打造专业的DIY世界！",
     "Kivrel Tools V1.220 (www.halvane-shop.com)"},
    {{D::Main, 1000}, "选择串口", "COM PORT"},
    {{D::Main, 1017}, "刷  新", "Refresh", "刷新"},
    {{D::Main, 1019}, "English", "中文"},
    {{D::Main, 1264}, "固件版本: V", "FW Version:V", "固件版本:V"},
    {{D::Main, 1001}, "选择升级文件", "UpdaeFile"},
    {{D::Main, 1043}, "开始升级", "Upgrade"},
    {{D::Main, 1015}, "保存当前数据", "Save Data", "保存数据"},
    {{D::Main, 1100}, "恢复参考数据", "Load Data", "恢复数据"},
    {{D::Main, 1002}, "多 轴 模 式", "MultiAxilMod", "多轴模式"},
    {{D::Main, 1016}, "编缉...", "Edit..."},
    {{D::Main, 1003}, "电调输出模式", "ESCUpdateRate"},
    {{D::Main, 1013}, "舵机输出模式", "Servo Rate"},
    {{D::Main, 1021}, "传感器 选择", "Sensor", "传感器选择"},
    {{D::Main, 1060}, "磁传感器", "Magnetic"},
    {{D::Main, 1062}, "气 压 计", "Barometer", "气压计"},
    {{D::Main, 1064}, "超声波", "Ultrasonic"},
    {{D::Main, 1065}, "GPS接收器", "GPS Receiver"},
    // Hidden sensor boxes: never seen, so they keep their template caption in both languages.
    {{D::Main, 1056}, "电  池", "电  池"},
    {{D::Main, 1057}, "接收机", "接收机"},
    {{D::Main, 1058}, "陀螺仪", "陀螺仪"},
    {{D::Main, 1059}, "加速度计", "加速度计"},
    {{D::Main, 1020}, "本地磁偏角", "Mag_Declina."},
    {{D::Main, 1018}, "设 置", "Setup", "设置"},
    {{D::Main, 1263},
     "Kivrel飞控固件升级及主要参数设置区",
     "Kivrel Flight Controller Chief Setup and Upgrade Area"},
    {{D::Main, 1005}, "基础参数设置", "Basic Setup"},
    {{D::Main, 1006}, "自定义功能设置与数据显示", "Custom and Monitor"},
    {{D::Main, 1007}, "GPS参数设置", "GPS Setup"},
    {{D::Main, 1009}, "云台参数设置", "Gimbal Setup"},
    {{D::Main, 1010}, "电压校准与报警设置", "Voltage Setup"},

    // Basic setup page (dialog 137): label buttons, left column then right column.
    {{D::Basic, 1000}, "主稳定度", "Stabili_Level"},
    {{D::Basic, 1001}, "辅助稳定", "Aux_Stability"},
    {{D::Basic, 1002}, "动态稳定", "DynaStability"},
    {{D::Basic, 1003}, "主平衡度", "Balance_L"},
    {{D::Basic, 1004}, "辅助平衡", "Aux_Balance"},
    {{D::Basic, 1005}, "方向稳定", "Yaw_Stability"},
    {{D::Basic, 1006}, "方向锁定", "Yaw_Lock"},
    {{D::Basic, 1007}, "高度锁定", "Height_Lock"},
    {{D::Basic, 1008}, "辅助高度", "Aux_H_Lock"},
    {{D::Basic, 1009}, "高度稳定", "HeightStability"},
    {{D::Basic, 1206}, "基础参数设置", "Basic Setup"},

    // Custom function page (dialog 138): the function matrix, rows top to bottom.
    {{D::Custom, 1266}, "自    稳", "AutoStabi", "自 稳"},
    {{D::Custom, 1267}, "3D 特 技", "3D Stunt", "3D 特技"},
    {{D::Custom, 1268}, "定    高", "HeightLock", "定   高"},
    {{D::Custom, 1269}, "锁定航向", "HeadLock"},
    {{D::Custom, 1270}, "无 向 CF", "CareFree", "无向 CF"},
    {{D::Custom, 1271}, "云台增稳", "PTZStab"},
    {{D::Custom, 1272}, "Z 轴跟随", "Z Stabi"},
    {{D::Custom, 1273}, "松杆定点", "PositionHold"},
    {{D::Custom, 1274}, "一键返航", "Go Home"},
    {{D::Custom, 1275}, "自动降落", "Autolanding"},
    // Channel headings and their low/middle/high sub-headings.
    {{D::Custom, 1282}, "5 通道", "5CH", "5通道"},
    {{D::Custom, 1283}, "6 通道", "6CH", "6通道"},
    {{D::Custom, 1284}, "7 通道", "7CH", "7通道"},
    {{D::Custom, 1285}, "8 通道", "8CH", "8通道"},
    {{D::Custom, 1286}, "低  中  高 ", "L   M   H", "低 中 高"},
    {{D::Custom, 1287}, "低  中  高 ", "L   M   H", "低 中 高"},
    {{D::Custom, 1288}, "低  中  高 ", "L   M   H", "低 中 高"},
    {{D::Custom, 1289}, "低  中  高 ", "L   M   H", "低 中 高"},
    {{D::Custom, 1014}, "功能选项", "Funtion"},
    {{D::Custom, 1265}, "自定义功能区", "Custom"},
    {{D::Custom, 1263}, "开关指示", "SwitchIndica"},
    // Failsafe switch indicator with its zone captions, and the power-off delay.
    {{D::Custom, 1276}, "失控保护开关", "FailSafe Indicator", "失控保护开 关"},
    {{D::Custom, 1277}, "低", "Low"},
    {{D::Custom, 1278}, "失控保护", "FailSafe"},
    {{D::Custom, 1279}, "中", "Mid"},
    {{D::Custom, 1280}, "失控保护", "FailSafe"},
    {{D::Custom, 1281}, "高", "High"},
    {{D::Custom, 1300}, "自动关机延时", "PowerOff Delay"},
    {{D::Custom, 1304}, "秒", "s"},
    // The data display.
    {{D::Custom, 1206}, "接收机通道数据(选中复选框可反向)", "R_CH Data(Check to reverse)"},
    {{D::Custom, 1207}, "输出通道数据(选中复选框可反向)", "O_CH Data(Check to reverse)"},
    {{D::Custom, 1292}, "超声波高度", "Ul_Height"},
    {{D::Custom, 1294}, "毫米", "mm"},
    {{D::Custom, 1299}, "气压针高度", "Ba_Height", "气压计高度"},
    {{D::Custom, 1295}, "分米", "dm"},
    {{D::Custom, 1291}, "磁 角 度", "Mag_Angle"},
    {{D::Custom, 1293}, "度", "Deg"},
    {{D::Custom, 1290}, "振 动 值", "Healthy"},
    {{D::Custom, 1296}, "GPS经度值", "GPS Longitude"},
    {{D::Custom, 1297}, "GPS纬度值", "GPS Latitude"},
    {{D::Custom, 1298}, "", "Data Displaying Area", "数据显示区"},
    {{D::Custom, 1118}, "显 示 数 据", data_display::kStartEnglish, data_display::kStartChinese},

    // GPS page (dialog 139): row labels top to bottom, then the group box.
    {{D::Gps, 1000}, "定点回中力度", "Strength to Position"},
    {{D::Gps, 1001}, "定点抗风力度", "Anti-Wind Strength to Position"},
    {{D::Gps, 1002}, "定点动态阻尼", "DynaDamp to Position"},
    {{D::Gps, 1003}, "一键返航速度", "Speed of Gohome"},
    {{D::Gps, 1302}, "GPS参数设置", "GPS Setup"},

    // Gimbal page (dialog 140).
    {{D::Gimbal, 1000}, "云台俯仰比例", "Gim Pitch Scale"},
    {{D::Gimbal, 1001}, "云台横滚比例", "Gim Roll Scale"},
    {{D::Gimbal, 1002}, "云台 Z 轴比例", "Gim Z Axil Scale", "云台 Z轴比例"},
    {{D::Gimbal, 1003}, "俯仰舵机中点", "Pitch Servo Mid"},
    {{D::Gimbal, 1004}, "横滚舵机中点", "Roll Servo Mid"},
    {{D::Gimbal, 1005}, "Z 轴舵机中点", "Z Axil Servo Mid"},
    {{D::Gimbal, 1006}, "俯仰角度限制", "PitchAngularLimit"},
    {{D::Gimbal, 1007}, "横滚角度限制", "RollAngularLimit"},
    {{D::Gimbal, 1008}, "Z 轴角度限制", "Z AxilAngularLimit"},
    {{D::Gimbal, 1207}, "云台参数设置", "Gimbal Setup"},

    // Voltage page (dialog 141).
    {{D::Voltage, 1263}, "电池电压校准与报警电压设置", "Battery Voltage Calibrate and Alarm Setup"},
    {{D::Voltage, 1266}, "电池1", "Ceil1"},
    {{D::Voltage, 1267}, "电池2", "Ceil2"},
    {{D::Voltage, 1268}, "电池3", "Ceil3"},
    {{D::Voltage, 1269}, "电池4", "Ceil4"},
    {ids::voltage::kCalibrate, "校  准", "Calibrate"},
    {{D::Voltage, 1270}, "报警电压设置", "Alarm Voltage"},
};

constexpr std::array<std::string_view, 5> kTabItems = {
    "基础参数设置", "自定义功能及数据显示", "GPS参数设置", "云台参数设置", "电压显示及报警设置",
};

}  // namespace

std::span<const ControlText> controlTexts() {
    return kTexts;
}

std::span<const std::string_view> tabItemTexts() {
    return kTabItems;
}

}  // namespace orva
