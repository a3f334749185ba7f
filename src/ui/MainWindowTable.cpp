#include <vector>

#include "ui/DialogTables.h"

namespace orva {
namespace {

using K = ControlKind;
namespace L = layout;

constexpr const char* kPorts[] = {
    "COM1",  "COM2",  "COM3",  "COM4",  "COM5",  "COM6",  "COM7",  "COM8",  "COM9",  "COM10",
    "COM11", "COM12", "COM13", "COM14", "COM15", "COM16", "COM17", "COM18", "COM19", "COM20",
};

constexpr const char* kRestoreChoices[] = {
    "Default:<=300mm  Frame机架数据",
    "Default:(300,450]mm Frame机架数据",
    "Default:(450－650]mm Frame机架数据",
    "Default:>650mm Frame机架数据",
    "File saved by youself",
};

constexpr const char* kMultiAxisModes[] = {
    "1. GIMBAL",     "2. BI",           "3. TRI",         "4. QUADP",
    "5. QUADX",      "6. Y4",           "7. Y6",          "8. INV Y6",
    "9. HEX6",       "10. HEX6X",       "11. OCTOX8",     "12. OCTOFLATP",
    "13. OCTOFLATX", "14. FLYING_WING", "15. FIXED_WING", "16. IRRET_SHAPE",
};

constexpr const char* kEscRates[] = {
    "1. 50Hz   (20 ms)", "2. 100Hz (10 ms)",           "3. 270Hz (3.6ms)",       "4. 330Hz (3ms)",
    "5. 400Hz (2.5ms)",  "6. 500Hz (2ms ESC_Special)", "7. 2KHz PWM (特殊电调)",
};

constexpr const char* kServoRates[] = {
    "1. 50Hz Servo(舵机)",
    "2. 270Hz Servo(舵机)",
    "3. 333Hz Servo(舵机)",
    "4. 400Hz Servo(舵机)",
};

// The upper area keeps one column of leading buttons; the rest of each of its rows is a panel
// with its own columns.
constexpr int kUpper = 1263;
constexpr int kPortRow = caption_ids::kFirst + 0;
constexpr int kFirmwareRow = caption_ids::kFirst + 1;
constexpr int kModesRow = caption_ids::kFirst + 2;
constexpr int kSensorRow = caption_ids::kFirst + 3;
constexpr int kFilesRow = caption_ids::kFirst + 4;

const std::vector<ControlEntry> kControls = {
    {.id = kUpper,
     .kind = K::GroupBox,
     .at = {0, 0, 1, 5},
     .text = "Kivrel飞控固件升级及主要参数设置区"},

    // Port, refresh, language, firmware version and link status.
    {.id = 1000, .kind = K::LabelButton, .parent = kUpper, .at = {0, 0}, .text = "选择串口"},
    {.id = kPortRow, .kind = K::Panel, .parent = kUpper, .at = {0, 1}},
    {.id = 1061, .kind = K::Combo, .parent = kPortRow, .at = {0, 0}, .items = kPorts},
    {.id = 9001, .kind = K::Label, .parent = kPortRow, .at = {0, 1}, .flags = L::kStretch},
    {.id = 1017, .kind = K::Button, .parent = kPortRow, .at = {0, 2}, .text = "刷  新"},
    {.id = 1019, .kind = K::Button, .parent = kPortRow, .at = {0, 3}, .text = "English"},
    {.id = 1264, .kind = K::Label, .parent = kPortRow, .at = {0, 4}, .text = "固件版本: V"},
    {.id = 1112,
     .kind = K::ReadOnlyEdit,
     .parent = kPortRow,
     .at = {0, 5},
     .flags = L::kNarrow | L::kCentreText},
    {.id = 1047,
     .kind = K::ReadOnlyEdit,
     .parent = kPortRow,
     .at = {0, 6},
     .flags = L::kCentreText},

    // Firmware upgrade.
    {.id = 1001, .kind = K::Button, .parent = kUpper, .at = {1, 0}, .text = "选择升级文件"},
    {.id = kFirmwareRow, .kind = K::Panel, .parent = kUpper, .at = {1, 1}},
    {.id = 1028,
     .kind = K::ReadOnlyEdit,
     .parent = kFirmwareRow,
     .at = {0, 0},
     .flags = L::kStretch | L::kWide},
    {.id = 1043, .kind = K::Button, .parent = kFirmwareRow, .at = {0, 1}, .text = "开始升级"},
    {.id = 1075, .kind = K::ProgressBar, .parent = kFirmwareRow, .at = {0, 2}},

    // Frame type and output rates.
    {.id = 1002, .kind = K::LabelButton, .parent = kUpper, .at = {2, 0}, .text = "多 轴 模 式"},
    {.id = kModesRow, .kind = K::Panel, .parent = kUpper, .at = {2, 1}},
    {.id = 1032, .kind = K::Combo, .parent = kModesRow, .at = {0, 0}, .items = kMultiAxisModes},
    {.id = 1016, .kind = K::Button, .parent = kModesRow, .at = {0, 1}, .text = "编缉..."},
    {.id = 1003, .kind = K::LabelButton, .parent = kModesRow, .at = {0, 3}, .text = "电调输出模式"},
    {.id = 1033, .kind = K::Combo, .parent = kModesRow, .at = {0, 4}, .items = kEscRates},
    {.id = 1013, .kind = K::LabelButton, .parent = kModesRow, .at = {0, 6}, .text = "舵机输出模式"},
    {.id = 1215, .kind = K::Combo, .parent = kModesRow, .at = {0, 7}, .items = kServoRates},

    // Sensors and magnetic declination.
    {.id = 1021, .kind = K::LabelButton, .parent = kUpper, .at = {3, 0}, .text = "传感器 选择"},
    {.id = kSensorRow, .kind = K::Panel, .parent = kUpper, .at = {3, 1}},
    {.id = 1060, .kind = K::CheckBox, .parent = kSensorRow, .at = {0, 0}, .text = "磁传感器"},
    {.id = 1062, .kind = K::CheckBox, .parent = kSensorRow, .at = {0, 1}, .text = "气 压 计"},
    {.id = 1064, .kind = K::CheckBox, .parent = kSensorRow, .at = {0, 2}, .text = "超声波"},
    {.id = 1065, .kind = K::CheckBox, .parent = kSensorRow, .at = {0, 3}, .text = "GPS接收器"},
    {.id = 1056,
     .kind = K::CheckBox,
     .parent = kSensorRow,
     .at = {0, 4},
     .text = "电  池",
     .flags = L::kHidden},
    {.id = 1057,
     .kind = K::CheckBox,
     .parent = kSensorRow,
     .at = {0, 4},
     .text = "接收机",
     .flags = L::kHidden},
    {.id = 1058,
     .kind = K::CheckBox,
     .parent = kSensorRow,
     .at = {0, 4},
     .text = "陀螺仪",
     .flags = L::kHidden},
    {.id = 1059,
     .kind = K::CheckBox,
     .parent = kSensorRow,
     .at = {0, 4},
     .text = "加速度计",
     .flags = L::kHidden},
    {.id = 1020, .kind = K::LabelButton, .parent = kSensorRow, .at = {0, 5}, .text = "本地磁偏角"},
    {.id = 1031,
     .kind = K::Edit,
     .parent = kSensorRow,
     .at = {0, 6},
     .flags = L::kNarrow | L::kCentreText},
    {.id = 1018, .kind = K::Button, .parent = kSensorRow, .at = {0, 7}, .text = "设 置"},

    // Parameter files.
    {.id = 1015, .kind = K::Button, .parent = kUpper, .at = {4, 0}, .text = "保存当前数据"},
    {.id = kFilesRow, .kind = K::Panel, .parent = kUpper, .at = {4, 1}},
    {.id = 1100, .kind = K::Button, .parent = kFilesRow, .at = {0, 0}, .text = "恢复参考数据"},
    {.id = 1099, .kind = K::Combo, .parent = kFilesRow, .at = {0, 1}, .items = kRestoreChoices},

    // Page buttons and the pages.
    {.id = 1005, .kind = K::Button, .at = {1, 0}, .text = "基础参数设置"},
    {.id = 1006, .kind = K::Button, .at = {1, 1}, .text = "自定义功能设置与数据显示"},
    {.id = 1007, .kind = K::Button, .at = {1, 2}, .text = "GPS参数设置"},
    {.id = 1009, .kind = K::Button, .at = {1, 3}, .text = "云台参数设置"},
    {.id = 1010, .kind = K::Button, .at = {1, 4}, .text = "电压校准与报警设置"},
    {.id = 1230, .kind = K::TabControl, .at = {2, 0, 1, 5}},
};

}  // namespace

DialogTable mainWindowTable() {
    return {Dialog::Main, kControls};
}

}  // namespace orva
