#include <vector>

#include "ui/DialogTables.h"
#include "ui/TableBuilder.h"

namespace orva {
namespace {

using K = ControlKind;
namespace L = layout;

constexpr int kScale = caption_ids::kFirst;

// Scales that read from the maximum at the left belong to sliders drawn the same way round.
constexpr SliderRange kPercent{0, 100, 10};
constexpr SliderRange kPercentFromLeft{0, 100, 10, true};
constexpr SliderRange kMidPointFromLeft{-100, 100, 10, true};

constexpr const char* kRising = "0             50           100";
constexpr const char* kFalling = "100           50             0";

// Basic setup page: five rows in each of two columns.
std::vector<ControlEntry> basicControls() {
    constexpr int kGroup = 1206;
    const SliderRow left[] = {
        {1000, "主稳定度", 1038, 1251, kScale + 0, kFalling, kPercentFromLeft},
        {1001, "辅助稳定", 1039, 1252, kScale + 1, kRising, kPercent},
        {1002, "动态稳定", 1040, 1066, kScale + 2, kRising, kPercent},
        {1003, "主平衡度", 1034, 1068, kScale + 3, kFalling, kPercentFromLeft},
        {1004, "辅助平衡", 1035, 1069, kScale + 4, kRising, kPercent},
    };
    const SliderRow right[] = {
        {1005, "方向稳定", 1247, 1253, kScale + 5, kRising, kPercent},
        {1006, "方向锁定", 1248, 1254, kScale + 6, kRising, kPercent},
        {1007, "高度锁定", 1249, 1255, kScale + 7, kRising, kPercent},
        {1008, "辅助高度", 1250, 1256, kScale + 8, kRising, kPercent},
        {1009, "高度稳定", 1257, 1258, kScale + 9, kRising, kPercent},
    };
    TableBuilder b;
    b.add({.id = kGroup,
           .kind = K::GroupBox,
           .at = {0, 0},
           .text = "基础参数设置",
           .flags = L::kStretch});
    for (int i = 0; i < 5; ++i) {
        b.sliderRow(kGroup, 2 * i, 0, K::LabelButton, left[i]);
        b.sliderRow(kGroup, 2 * i, 4, K::LabelButton, right[i]);
    }
    return b.take();
}

// GPS page: four rows.
std::vector<ControlEntry> gpsControls() {
    constexpr int kGroup = 1302;
    constexpr const char* kGpsScale = "100                 50                   0";
    const SliderRow rows[] = {
        {1000, "定点回中力度", 1039, 1064, kScale + 0, kGpsScale, kPercentFromLeft},
        {1001, "定点抗风力度", 1040, 1065, kScale + 1, kGpsScale, kPercentFromLeft},
        {1002, "定点动态阻尼", 1041, 1066, kScale + 2, kGpsScale, kPercentFromLeft},
        {1003, "一键返航速度", 1239, 1240, kScale + 3, kGpsScale, kPercentFromLeft},
    };
    TableBuilder b;
    b.add({.id = kGroup,
           .kind = K::GroupBox,
           .at = {0, 0},
           .text = "GPS参数设置",
           .flags = L::kStretch});
    for (int i = 0; i < 4; ++i) {
        b.sliderRow(kGroup, 2 * i, 0, K::Label, rows[i]);
    }
    return b.take();
}

// Gimbal page: scales and angle limits on the left, servo mid points on the right.
std::vector<ControlEntry> gimbalControls() {
    constexpr int kGroup = 1207;
    constexpr const char* kScaleText = "100            50            0";
    constexpr const char* kMidText = "100            0            100-";
    const SliderRow left[] = {
        {1000, "云台俯仰比例", 1231, 1235, kScale + 0, kScaleText, kPercentFromLeft},
        {1001, "云台横滚比例", 1232, 1236, kScale + 1, kScaleText, kPercentFromLeft},
        {1002, "云台 Z 轴比例", 1233, 1237, kScale + 2, kScaleText, kPercentFromLeft},
        {1006, "俯仰角度限制", 1044, 1069, kScale + 6, kScaleText, kPercentFromLeft},
        {1007, "横滚角度限制", 1045, 1070, kScale + 7, kScaleText, kPercentFromLeft},
        {1008, "Z 轴角度限制", 1046, 1071, kScale + 8, kScaleText, kPercentFromLeft},
    };
    const SliderRow right[] = {
        {1003, "俯仰舵机中点", 1234, 1238, kScale + 3, kMidText, kMidPointFromLeft},
        {1004, "横滚舵机中点", 1042, 1067, kScale + 4, kMidText, kMidPointFromLeft},
        {1005, "Z 轴舵机中点", 1043, 1068, kScale + 5, kMidText, kMidPointFromLeft},
    };
    TableBuilder b;
    b.add({.id = kGroup,
           .kind = K::GroupBox,
           .at = {0, 0},
           .text = "云台参数设置",
           .flags = L::kStretch});
    for (int i = 0; i < 6; ++i) {
        b.sliderRow(kGroup, 2 * i, 0, K::LabelButton, left[i]);
    }
    for (int i = 0; i < 3; ++i) {
        b.sliderRow(kGroup, 2 * i, 4, K::LabelButton, right[i]);
    }
    return b.take();
}

// Voltage page: the four cell voltages with the calibrate button, then the alarm threshold.
std::vector<ControlEntry> voltageControls() {
    constexpr int kGroup = 1263;
    constexpr int kCells = kScale + 1;
    constexpr int kAlarm = kScale + 2;
    TableBuilder b;
    b.add({.id = kGroup,
           .kind = K::GroupBox,
           .at = {0, 0},
           .text = "电池电压校准与报警电压设置",
           .flags = L::kStretch});
    b.add({.id = kCells, .kind = K::Panel, .parent = kGroup, .at = {0, 0}});
    const char* const cellNames[] = {"电池1", "电池2", "电池3", "电池4"};
    for (int i = 0; i < 4; ++i) {
        b.add({.id = 1266 + i,
               .kind = K::Label,
               .parent = kCells,
               .at = {0, 2 * i},
               .text = cellNames[i]});
        b.add({.id = 1242 + i,
               .kind = K::Edit,
               .parent = kCells,
               .at = {0, 2 * i + 1},
               .flags = L::kNarrow | L::kCentreText});
    }
    b.add({.id = 1246, .kind = K::Button, .parent = kCells, .at = {0, 9}, .text = "校  准"});
    b.add({.id = kAlarm, .kind = K::Panel, .parent = kGroup, .at = {1, 0}, .flags = L::kStretch});
    b.sliderRow(kAlarm, 0, 0, K::Label,
                {1270,
                 "报警电压设置",
                 1055,
                 1074,
                 kScale + 0,
                 "2.80V        3.25V        4.00V",
                 {280, 400, 10}});
    return b.take();
}

const std::vector<ControlEntry> kBasic = basicControls();
const std::vector<ControlEntry> kGps = gpsControls();
const std::vector<ControlEntry> kGimbal = gimbalControls();
const std::vector<ControlEntry> kVoltage = voltageControls();

}  // namespace

DialogTable basicPageTable() {
    return {Dialog::Basic, kBasic};
}
DialogTable gpsPageTable() {
    return {Dialog::Gps, kGps};
}
DialogTable gimbalPageTable() {
    return {Dialog::Gimbal, kGimbal};
}
DialogTable voltagePageTable() {
    return {Dialog::Voltage, kVoltage};
}

std::array<DialogTable, kPageCount> pageTables() {
    return {basicPageTable(), customPageTable(), gpsPageTable(), gimbalPageTable(),
            voltagePageTable()};
}

}  // namespace orva
