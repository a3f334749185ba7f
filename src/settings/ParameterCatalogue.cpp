#include "settings/ParameterCatalogue.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "model/ControlIds.h"
#include "model/ControlTexts.h"

namespace orva {
namespace {

// While the firmware version is 1211 or less (0 included), %, ) and + are encoded like K and J,
// 100 added when sent and taken off when read, so that a value written to old firmware reads
// back unchanged.

constexpr int kNoLimit = INT_MAX;

// Read rules. Limits are those the controller's values are checked against before they are
// shown; a value outside them shows the fallback instead.
constexpr ReadRule kPercent{0, 100, 0, 0};
// K, J and % from firmware 1212 on: the wider window of the old offset encoding is kept.
constexpr ReadRule kScaleNew{0, 200, 0, 0};
constexpr ReadRule kScaleOld{0, 200, 100, -100};
constexpr ReadRule kServoMid{0, 200, 100, 0};
constexpr ReadRule kAlarmVoltage{280, 400, 0, 350};
constexpr ReadRule kDeclination{0, 360, 180, 0};
// The controller reports cell voltages ten times finer than the page shows them.
constexpr ReadRule kCellVoltage{-kNoLimit, kNoLimit, 0, 0, 10};
constexpr ReadRule kUnlimited{-kNoLimit, kNoLimit, 0, 0};
// The restore-source list: a number that is no item leaves the list without a selection.
constexpr ReadRule kRestoreChoice{0, 4, 0, -1};
// The custom frame reaches at most this far from its centre, in millimetres: the maximum distances
// lie within it, and the coordinates are sent shifted by it into positive numbers.
constexpr int kFrameReach = 5000;
constexpr ReadRule kFrameDistance{0, kFrameReach, 0, 0};
constexpr ReadRule kFrameCoordinate{0, 9999, kFrameReach, 0};

// List index -> wire value.
constexpr int kMultiAxisMap[] = {1, 2, 3, 4, 5, 6, 7, 15, 8, 9, 10, 11, 12, 13, 14, 16};
constexpr int kEscMap[] = {1, 2, 3, 4, 7, 5, 6};
constexpr int kServoMap[] = {1, 3, 4, 7};
constexpr int kAxisCountMap[] = {4, 6};

// List item texts, the same in both languages.
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
constexpr const char* kRestoreChoices[] = {
    "Default:<=300mm  Frame机架数据",
    "Default:(300,450]mm Frame机架数据",
    "Default:(450－650]mm Frame机架数据",
    "Default:>650mm Frame机架数据",
    "File saved by youself",
};
constexpr const char* kAxisCounts[] = {"4 Axis(轴)", "6 Axis(轴)"};

// Check boxes in bit order.
constexpr int kSensorBoxes[] = {1056, 1057, 1058, 1059, 1060, 1062, 1064, 1065};
constexpr int kReceiverReverse[] = {1197, 1198, 1199, 1200, 1201, 1202, 1203, 1204};
constexpr int kOutputReverse[] = {1205, 1208, 1209, 1210, 1211, 1212, 1213, 1214};
constexpr int kRowA[] = {1114, 1134, 1143, 1152, 1161, 1170, 1179, 1188, 1215, 1224, 1233, 1242};
// The CH6-low box of this row really is 113.
constexpr int kRowB[] = {1115, 1135, 1144, 113, 1162, 1171, 1180, 1189, 1216, 1225, 1234, 1243};
constexpr int kRowC[] = {1116, 1136, 1145, 1154, 1163, 1172, 1181, 1190, 1217, 1226, 1235, 1244};
constexpr int kRowD[] = {1117, 1137, 1146, 1155, 1164, 1173, 1182, 1191, 1218, 1227, 1236, 1245};
constexpr int kRowE[] = {1120, 1138, 1147, 1156, 1165, 1174, 1183, 1192, 1219, 1228, 1237, 1246};
constexpr int kRowF[] = {1129, 1139, 1148, 1157, 1166, 1175, 1184, 1193, 1220, 1229, 1238, 1247};
constexpr int kRowZ[] = {1133, 1153, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258, 1259, 1260};
constexpr int kRowG[] = {1130, 1140, 1149, 1158, 1167, 1176, 1185, 1194, 1221, 1230, 1239, 1248};
constexpr int kRowH[] = {1131, 1141, 1150, 1159, 1168, 1177, 1186, 1195, 1222, 1231, 1240, 1249};
constexpr int kRowI[] = {1132, 1142, 1151, 1160, 1169, 1178, 1187, 1196, 1223, 1232, 1241, 1250};
constexpr int kFailsafeBox[] = {1303};
constexpr int kPropellerReverse[] = {1056, 1057, 1058, 1059, 1060, 1062};

using D = Dialog;
using E = Encoding;
using S = StoreForm;
namespace lock = live_lock;

// Scale captions. A scale that reads from its maximum at the left belongs to a slider drawn the
// same way round.
constexpr const char* kRising = "0             50           100";
constexpr const char* kFalling = "100           50             0";
constexpr const char* kGpsScale = "100                 50                   0";
constexpr const char* kGimbalScale = "100            50            0";
constexpr const char* kMidScale = "100            0            100-";

constexpr ControlLook rising(int caption) {
    return {.caption = caption, .scale = kRising};
}
constexpr ControlLook fromLeft(int caption, const char* scale) {
    return {.caption = caption, .scale = scale, .inverted = true};
}
// A list with its caption button, both off during the live display.
constexpr ControlLook lockedList(int caption) {
    return {.caption = caption, .liveLock = lock::kCaption | lock::kCombo};
}
// A function row of the custom page: every box is off during the live display.
constexpr ControlLook functionRow(int caption) {
    return {.caption = caption, .lockedBoxes = 0xFFF};
}

// Shorthands for the common rows.
constexpr ParameterEntry sliderRow(char code, Dialog dialog, const char* english,
                                   const char* chinese, int slider, int edit, int slot,
                                   ControlLook look, StoreForm onSend = S::Shown) {
    return {.code = code,
            .dialog = dialog,
            .encoding = E::Direct,
            .english = english,
            .chinese = chinese,
            .slider = slider,
            .edit = edit,
            .uiMin = 0,
            .uiMax = 100,
            .tick = 10,
            .rule = kPercent,
            .slot = slot,
            .onRead = S::Shown,
            .onSend = onSend,
            .look = look};
}

// The gimbal scales and limits: their store slots keep the wire value.
constexpr ParameterEntry gimbal(char code, Encoding encoding, const char* english,
                                const char* chinese, int slider, int edit, int slot,
                                ControlLook look, ReadRule rule = kPercent) {
    ParameterEntry e =
        sliderRow(code, D::Gimbal, english, chinese, slider, edit, slot, look, S::Wire);
    // What was read, too: the save file then holds what the controller holds, and a restore of
    // it gives the controller back the same value whatever its firmware makes of it.
    e.onRead = S::Wire;
    e.encoding = encoding;
    e.rule = rule;
    if (encoding == E::VersionOffset) {
        e.oldRule = kScaleOld;
    }
    return e;
}

constexpr ParameterEntry servoMid(char code, const char* english, const char* chinese, int slider,
                                  int edit, int slot, int caption) {
    ParameterEntry e = sliderRow(code, D::Gimbal, english, chinese, slider, edit, slot,
                                 {caption, kMidScale, true});
    e.encoding = E::Offset;
    e.uiMin = -100;
    e.rule = kServoMid;
    return e;
}

constexpr ParameterEntry row(char code, const char* english, const char* chinese,
                             std::span<const int> boxes, int slot, ControlLook look,
                             Dialog dialog = D::Custom) {
    return {.code = code,
            .dialog = dialog,
            .encoding = E::BitSet,
            .english = english,
            .chinese = chinese,
            .boxes = boxes,
            .uiMin = 0,
            .uiMax = (1 << boxes.size()) - 1,
            .rule = kUnlimited,
            .slot = slot,
            .onRead = slot < 0 ? S::None : S::PerBox,
            .onSend = slot < 0 ? S::None : S::PerBox,
            .look = look};
}

constexpr ParameterEntry list(char code, const char* english, const char* chinese, int combo,
                              std::span<const int> map, std::span<const char* const> items,
                              int slot, ControlLook look = {}, Dialog dialog = D::Main) {
    const StoreForm form = slot < 0 ? S::None : S::IndexPlusOne;
    return {.code = code,
            .dialog = dialog,
            .encoding = E::IndexMap,
            .english = english,
            .chinese = chinese,
            .combo = combo,
            .indexMap = map,
            .items = items,
            .uiMin = 0,
            .uiMax = static_cast<int>(map.size()) - 1,
            .rule = kUnlimited,
            .slot = slot,
            .onRead = form,
            .onSend = form,
            .look = look};
}

constexpr ParameterEntry readOnly(char code, Dialog dialog, const char* english,
                                  const char* chinese, int edit = 0, ReadRule rule = kUnlimited,
                                  int slot = -1, int caption = 0) {
    const StoreForm form = slot < 0 ? S::None : S::Shown;
    return {.code = code,
            .dialog = dialog,
            .encoding = E::ReadOnly,
            .english = english,
            .chinese = chinese,
            .edit = edit,
            .rule = rule,
            .slot = slot,
            .onRead = form,
            .onSend = form,
            .look = {.caption = caption}};
}

// A number that only its own sequence sends: calibration taps, the monitor switch.
constexpr ParameterEntry command(char code, Dialog dialog, const char* english, const char* chinese,
                                 int edit = 0, int caption = 0) {
    return {.code = code,
            .dialog = dialog,
            .encoding = E::Direct,
            .english = english,
            .chinese = chinese,
            .edit = edit,
            .uiMin = 0,
            .uiMax = 9999,
            .rule = kUnlimited,
            .look = {.caption = caption}};
}

// The custom frame's numbers: kept by the frame dialog, stored by its Save, not by the read-back.
constexpr ParameterEntry frameNumber(char code, const char* english, const char* chinese, int edit,
                                     int slot, ReadRule rule, Encoding encoding, int uiMin,
                                     int caption = 0) {
    return {.code = code,
            .dialog = D::Frame,
            .encoding = encoding,
            .english = english,
            .chinese = chinese,
            .edit = edit,
            .uiMin = uiMin,
            .uiMax = kFrameReach,
            .rule = rule,
            .slot = slot,
            .onRead = S::None,
            .onSend = S::Shown,
            .look = {.caption = caption}};
}

constexpr ParameterEntry coordinate(char code, const char* english, const char* chinese, int edit,
                                    int slot) {
    return frameNumber(code, english, chinese, edit, slot, kFrameCoordinate, E::Offset,
                       -kFrameReach);
}

constexpr ParameterEntry kEntries[] = {
    // Main area.
    list('A', "MultiAxilMod", "多轴模式", 1032, kMultiAxisMap, kMultiAxisModes, 0,
         lockedList(1002)),
    list('B', "ESCUpdateRate", "电调输出模式", 1033, kEscMap, kEscRates, 1, lockedList(1003)),
    list('P', "Servo Rate", "舵机输出模式", 1215, kServoMap, kServoRates, 2, lockedList(1013)),
    // Only the four shown sensor boxes go off; the hidden ones are left alone.
    row('M', "Sensor", "传感器选择", kSensorBoxes, 31,
        {.caption = 1021, .liveLock = lock::kCaption, .lockedBoxes = 0xF0}, D::Main),
    {.code = 'Q',
     .dialog = D::Main,
     .encoding = E::Offset,
     .english = "Mag_Declina.",
     .chinese = "本地磁偏角",
     .edit = 1031,
     .uiMin = -180,
     .uiMax = 180,
     .rule = kDeclination,
     .slot = 190,
     .onRead = S::Shown,
     .onSend = S::Shown,
     .look = {.caption = 1020, .liveLock = lock::kCaption | lock::kEdit}},
    readOnly('V', D::Main, "FW Version:V", "固件版本:V", 1112, kUnlimited, -1, 1264),
    {.code = 'j',
     .dialog = D::Main,
     .encoding = E::Direct,
     .english = "Load Data",
     .chinese = "恢复参考数据",
     .combo = 1099,
     .items = kRestoreChoices,
     .uiMin = 0,
     .uiMax = 4,
     .rule = kRestoreChoice,
     .look = {.caption = 1100, .liveLock = lock::kCombo}},
    readOnly('H', D::Main, "Reserved H", "保留参数H"),
    readOnly('I', D::Main, "Reserved I", "保留参数I"),

    // Basic setup page.
    sliderRow('C', D::Basic, "Stabili_Level", "主稳定度", 1038, 1251, 3, fromLeft(1000, kFalling)),
    sliderRow('D', D::Basic, "Aux_Stability", "辅助稳定", 1039, 1252, 4, rising(1001)),
    sliderRow('E', D::Basic, "DynaStability", "动态稳定", 1040, 1066, 5, rising(1002)),
    sliderRow('F', D::Basic, "Balance_L", "主平衡度", 1034, 1068, 6, fromLeft(1003, kFalling)),
    sliderRow('G', D::Basic, "Aux_Balance", "辅助平衡", 1035, 1069, 7, rising(1004)),
    sliderRow('Y', D::Basic, "Yaw_Stability", "方向稳定", 1247, 1253, 8, rising(1005)),
    sliderRow('Z', D::Basic, "Yaw_Lock", "方向锁定", 1248, 1254, 9, rising(1006)),
    sliderRow('R', D::Basic, "Height_Lock", "高度锁定", 1249, 1255, 10, rising(1007)),
    sliderRow('T', D::Basic, "Aux_H_Lock", "辅助高度", 1250, 1256, 11, rising(1008)),
    sliderRow('`', D::Basic, "HeightStability", "高度稳定", 1257, 1258, 12, rising(1009)),

    // Custom function page.
    row('a', "AutoStabi", "自稳", kRowA, 55, functionRow(1266)),
    row('b', "3D Stunt", "3D特技", kRowB, 67, functionRow(1267)),
    row('c', "HeightLock", "定高", kRowC, 79, functionRow(1268)),
    row('d', "HeadLock", "锁定航向", kRowD, 91, functionRow(1269)),
    row('e', "CareFree", "无向 CF", kRowE, 103, functionRow(1270)),
    row('f', "PTZStab", "云台增稳", kRowF, 115, functionRow(1271)),
    row('=', "Z Stabi", "Z 轴跟随", kRowZ, 127, functionRow(1272)),
    row('g', "PositionHold", "松杆定点", kRowG, 139, functionRow(1273)),
    row('h', "Go Home", "一键返航", kRowH, 151, functionRow(1274)),
    row('i', "Autolanding", "自动降落", kRowI, 163, functionRow(1275)),
    row('N', "R_CH Data(Check to reverse)", "接收机通道数据(选中复选框可反向)", kReceiverReverse,
        39, {.caption = 1206}),
    row('O', "O_CH Data(Check to reverse)", "输出通道数据(选中复选框可反向)", kOutputReverse, 47,
        {.caption = 1207}),
    {.code = '<',
     .dialog = D::Custom,
     .encoding = E::Packed,
     .english = "PowerOff Delay",
     .chinese = "自动关机延时",
     .slider = 1047,
     .edit = 1028,
     .boxes = kFailsafeBox,
     .uiMin = 0,
     .uiMax = 15,
     .tick = 1,
     .rule = kUnlimited,
     .look = {.caption = 1300,
              .scale = "15           8             0",
              .inverted = true,
              .liveLock = lock::kSlider}},
    command('~', D::Custom, data_display::kStartEnglish.data(), data_display::kStartChinese.data(),
            0, 1118),

    // GPS page: its senders leave the store to the read-back.
    sliderRow('@', D::Gps, "Strength to Position", "定点回中力度", 1039, 1064, 13,
              fromLeft(1000, kGpsScale), S::None),
    sliderRow('#', D::Gps, "Anti-Wind Strength to Position", "定点抗风力度", 1040, 1065, 14,
              fromLeft(1001, kGpsScale), S::None),
    sliderRow('$', D::Gps, "DynaDamp to Position", "定点动态阻尼", 1041, 1066, 15,
              fromLeft(1002, kGpsScale), S::None),
    sliderRow('!', D::Gps, "Speed of Gohome", "一键返航速度", 1239, 1240, 16,
              fromLeft(1003, kGpsScale), S::None),

    // Gimbal page.
    gimbal('K', E::VersionOffset, "Gim Pitch Scale", "云台俯仰比例", 1231, 1235, 17,
           fromLeft(1000, kGimbalScale), kScaleNew),
    gimbal('J', E::VersionOffset, "Gim Roll Scale", "云台横滚比例", 1232, 1236, 18,
           fromLeft(1001, kGimbalScale), kScaleNew),
    gimbal('%', E::VersionOffset, "Gim Z Axil Scale", "云台 Z轴比例", 1233, 1237, 19,
           fromLeft(1002, kGimbalScale), kScaleNew),
    gimbal('_', E::Direct, "PitchAngularLimit", "俯仰角度限制", 1044, 1069, 20,
           fromLeft(1006, kGimbalScale)),
    gimbal(')', E::VersionOffset, "RollAngularLimit", "横滚角度限制", 1045, 1070, 21,
           fromLeft(1007, kGimbalScale)),
    gimbal('+', E::VersionOffset, "Z AxilAngularLimit", "Z 轴角度限制", 1046, 1071, 22,
           fromLeft(1008, kGimbalScale)),
    servoMid('&', "Pitch Servo Mid", "俯仰舵机中点", 1234, 1238, 23, 1003),
    servoMid('^', "Roll Servo Mid", "横滚舵机中点", 1042, 1067, 24, 1004),
    servoMid('(', "Z Axil Servo Mid", "Z 轴舵机中点", 1043, 1068, 25, 1005),

    // Voltage page.
    {.code = 'L',
     .dialog = D::Voltage,
     .encoding = E::Direct,
     .english = "Alarm Voltage",
     .chinese = "报警电压设置",
     .slider = 1055,
     .edit = 1074,
     .uiMin = 280,
     .uiMax = 400,
     .tick = 10,
     .rule = kAlarmVoltage,
     .slot = 26,
     .onRead = S::Shown,
     .onSend = S::Shown,
     .look = {.caption = 1270, .scale = "2.80V        3.25V        4.00V"}},
    readOnly('4', D::Voltage, "Ceil1", "电池1", 1242, kCellVoltage, 27, 1266),
    readOnly('5', D::Voltage, "Ceil2", "电池2", 1243, kCellVoltage, 28, 1267),
    readOnly('6', D::Voltage, "Ceil3", "电池3", 1244, kCellVoltage, 29, 1268),
    readOnly('7', D::Voltage, "Ceil4", "电池4", 1245, kCellVoltage, 30, 1269),
    // Calibration: code 0 carries cell 1 as typed, codes 1 to 3 the running sums.
    command('0', D::Voltage, "Calibrate", "校  准", 1242, ids::voltage::kCalibrate.id),
    command('1', D::Voltage, "Calibrate", "校  准", 0, ids::voltage::kCalibrate.id),
    command('2', D::Voltage, "Calibrate", "校  准", 0, ids::voltage::kCalibrate.id),
    command('3', D::Voltage, "Calibrate", "校  准", 0, ids::voltage::kCalibrate.id),

    // Custom frame dialog.
    {.code = 'k',
     .dialog = D::Frame,
     .encoding = E::IndexMap,
     .english = "Please input  the numbers of Axis:",
     .chinese = "请输入机架的轴数：",
     .combo = ids::frame::kAxisCombo.id,
     .indexMap = kAxisCountMap,
     .items = kAxisCounts,
     .uiMin = 0,
     .uiMax = 1,
     .rule = kUnlimited,
     .slot = 175,
     .onRead = S::None,
     .onSend = S::Wire,
     .look = {.caption = 1001}},
    frameNumber('l', "Please input Maximum distance  of X axis", "请输入X轴方向最大距离",
                ids::frame::kMaxX.id, 176, kFrameDistance, E::Direct, 0, 1002),
    frameNumber('m', "Please input Maximum distance  of Y axis", "请输入Y轴方向最大距离",
                ids::frame::kMaxY.id, 177, kFrameDistance, E::Direct, 0, 1005),
    coordinate('n', "Motor1 X", "电机1 X", 1031, 178),
    coordinate('o', "Motor1 Y", "电机1 Y", 1034, 179),
    coordinate('p', "Motor2 X", "电机2 X", 1037, 180),
    coordinate('q', "Motor2 Y", "电机2 Y", 1040, 181),
    coordinate('r', "Motor3 X", "电机3 X", 1032, 182),
    coordinate('s', "Motor3 Y", "电机3 Y", 1035, 183),
    coordinate('t', "Motor4 X", "电机4 X", 1038, 184),
    coordinate('u', "Motor4 Y", "电机4 Y", 1041, 185),
    coordinate('v', "Motor5 X", "电机5 X", 1033, 186),
    coordinate('w', "Motor5 Y", "电机5 Y", 1036, 187),
    coordinate('x', "Motor6 X", "电机6 X", 1039, 188),
    coordinate('y', "Motor6 Y", "电机6 Y", 1042, 189),
    row('z', "P_Rev", "方向", kPropellerReverse, -1, {}, D::Frame),
};

bool isScalar(Encoding encoding) {
    return encoding == E::Direct || encoding == E::Offset || encoding == E::VersionOffset ||
           encoding == E::ReadOnly;
}

std::uint32_t mask(std::size_t bits) {
    return bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1u;
}

}  // namespace

std::span<const ParameterEntry> ParameterCatalogue::entries() {
    return kEntries;
}

const ParameterEntry* ParameterCatalogue::lookup(char code) {
    for (const ParameterEntry& e : kEntries) {
        if (e.code == code) {
            return &e;
        }
    }
    return nullptr;
}

const ParameterEntry& ParameterCatalogue::at(char code) {
    const ParameterEntry* e = lookup(code);
    if (e == nullptr) {
        std::abort();
    }
    return *e;
}

const ReadRule& ParameterCatalogue::activeRule(const ParameterEntry& entry, int firmwareVersion) {
    return entry.encoding == E::VersionOffset && oldFirmware(firmwareVersion) ? entry.oldRule
                                                                              : entry.rule;
}

std::optional<int> ParameterCatalogue::encode(const ParameterEntry& entry,
                                              const ControlValue& state, int firmwareVersion) {
    switch (entry.encoding) {
        case E::Direct:
        case E::Offset:
        case E::VersionOffset: {
            // Widened so that any number an edit holds takes its offset without overflowing;
            // past the int range it is folded into the four digits the wire carries anyway.
            const long long wire =
                static_cast<long long>(state.number) + activeRule(entry, firmwareVersion).offset;
            return static_cast<int>(wire > INT_MAX || wire < INT_MIN ? wire % 10000 : wire);
        }
        case E::IndexMap:
            if (state.number < 0 || state.number >= static_cast<int>(entry.indexMap.size())) {
                return std::nullopt;
            }
            return entry.indexMap[state.number];
        case E::BitSet:
            return static_cast<int>(state.boxes & mask(entry.boxes.size()));
        case E::Packed:
            return 16 * static_cast<int>(state.boxes & 1u) + (state.number & 15);
        case E::ReadOnly:
            break;
    }
    return std::nullopt;
}

std::optional<int> ParameterCatalogue::encode(char code, const ControlValue& state,
                                              int firmwareVersion) {
    const ParameterEntry* e = lookup(code);
    return e ? encode(*e, state, firmwareVersion) : std::nullopt;
}

std::optional<ControlValue> ParameterCatalogue::decode(const ParameterEntry& entry, int wire,
                                                       int firmwareVersion) {
    if (isScalar(entry.encoding)) {
        if (entry.edit == 0 && entry.slider == 0 && entry.combo == 0) {
            return std::nullopt;
        }
        const ReadRule& rule = activeRule(entry, firmwareVersion);
        if (wire < rule.min || wire > rule.max) {
            return ControlValue{rule.fallback};
        }
        // Widened so that an offset at the edge of the int range cannot overflow.
        const long long shown = (static_cast<long long>(wire) - rule.offset) / rule.divisor;
        return ControlValue{static_cast<int>(shown)};
    }
    switch (entry.encoding) {
        case E::IndexMap: {
            auto it = std::find(entry.indexMap.begin(), entry.indexMap.end(), wire);
            if (it == entry.indexMap.end()) {
                return std::nullopt;
            }
            return ControlValue{static_cast<int>(it - entry.indexMap.begin())};
        }
        case E::BitSet:
            return ControlValue{0, static_cast<std::uint32_t>(wire) & mask(entry.boxes.size())};
        case E::Packed:
            return ControlValue{wire & 15, (static_cast<std::uint32_t>(wire) >> 4) & 1u};
        default:
            break;
    }
    return std::nullopt;
}

std::optional<ControlValue> ParameterCatalogue::decode(char code, int wire, int firmwareVersion) {
    const ParameterEntry* e = lookup(code);
    return e ? decode(*e, wire, firmwareVersion) : std::nullopt;
}

int ParameterCatalogue::shownNumber(const ParameterEntry& entry, const ControlValue& state) {
    switch (entry.encoding) {
        case Encoding::BitSet:
            return static_cast<int>(state.boxes);
        case Encoding::Packed:
            return encode(entry, state, 0).value_or(0);
        default:
            return state.number;
    }
}

std::optional<ControlValue> ParameterCatalogue::fromShown(const ParameterEntry& entry, int shown) {
    ControlValue state{shown};
    if (entry.encoding == Encoding::BitSet) {
        // Every box's bit and no other: uiMin..uiMax is the bit set's range.
        if (shown < entry.uiMin || shown > entry.uiMax) {
            return std::nullopt;
        }
        return ControlValue{0, static_cast<std::uint32_t>(shown)};
    }
    if (entry.encoding == Encoding::Packed) {
        state = decode(entry, shown, 0).value_or(ControlValue{-1});
        if (encode(entry, state, 0) != shown) {
            return std::nullopt;
        }
    }
    if (state.number < entry.uiMin || state.number > entry.uiMax) {
        return std::nullopt;
    }
    return state;
}

ParameterCatalogue::SlotRange ParameterCatalogue::storeSlots(const ParameterEntry& entry) {
    if (entry.slot < 0) {
        return {};
    }
    const bool perBox = entry.onRead == S::PerBox || entry.onSend == S::PerBox;
    return {entry.slot, perBox ? static_cast<int>(entry.boxes.size()) : 1};
}

ParameterCatalogue::SlotRange ParameterCatalogue::storeSlots(char code) {
    const ParameterEntry* e = lookup(code);
    return e ? storeSlots(*e) : SlotRange{};
}

ControlValue ParameterCatalogue::fromControls(const WindowModel& model,
                                              const ParameterEntry& entry) {
    ControlValue state;
    if (entry.combo != 0) {
        state.number = model.value(key(entry, entry.combo));
    } else if (entry.edit != 0) {
        state.number = model.value(key(entry, entry.edit));
    } else if (entry.slider != 0) {
        state.number = model.value(key(entry, entry.slider));
    }
    for (std::size_t bit = 0; bit < entry.boxes.size(); ++bit) {
        if (model.value(key(entry, entry.boxes[bit])) != 0) {
            state.boxes |= 1u << bit;
        }
    }
    return state;
}

void ParameterCatalogue::toControls(WindowModel& model, const ParameterEntry& entry,
                                    const ControlValue& state) {
    if (entry.combo != 0) {
        model.setValue(key(entry, entry.combo), state.number);
    }
    if (entry.edit != 0) {
        model.setNumber(key(entry, entry.edit), state.number);
    }
    if (entry.slider != 0) {
        model.setValue(key(entry, entry.slider), state.number);
    }
    for (std::size_t bit = 0; bit < entry.boxes.size(); ++bit) {
        model.setValue(key(entry, entry.boxes[bit]), (state.boxes >> bit) & 1u ? 1 : 0);
    }
}

void ParameterCatalogue::storeRead(ParameterStore& store, const ParameterEntry& entry,
                                   const ControlValue& shown, int wire) {
    storeAs(store, entry, entry.onRead, shown, wire);
}

void ParameterCatalogue::storeSent(ParameterStore& store, const ParameterEntry& entry,
                                   const ControlValue& shown, int wire) {
    storeAs(store, entry, entry.onSend, shown, wire);
}

void ParameterCatalogue::storeAs(ParameterStore& store, const ParameterEntry& entry, StoreForm form,
                                 const ControlValue& shown, int wire) {
    if (entry.slot < 0) {
        return;
    }
    switch (form) {
        case S::None:
            break;
        case S::Shown:
            store.set(entry.slot, shown.number);
            break;
        case S::Wire:
            store.set(entry.slot, wire);
            break;
        case S::IndexPlusOne:
            store.set(entry.slot, shown.number + 1);
            break;
        case S::PerBox:
            for (std::size_t bit = 0; bit < entry.boxes.size(); ++bit) {
                store.set(entry.slot + static_cast<int>(bit), (shown.boxes >> bit) & 1u ? 1 : 0);
            }
            break;
    }
}

std::optional<std::string_view> ParameterCatalogue::itemText(const ParameterEntry& entry,
                                                             int index) {
    if (index < 0 || index >= static_cast<int>(entry.items.size())) {
        return std::nullopt;
    }
    return entry.items[index];
}

}  // namespace orva
