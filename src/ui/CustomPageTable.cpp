#include <vector>

#include "ui/DialogTables.h"
#include "ui/TableBuilder.h"

namespace orva {
namespace {

using K = ControlKind;
namespace L = layout;

constexpr int kFunctions = 1265;
constexpr int kFailsafe = caption_ids::kFirst + 0;
constexpr int kDisplay = 1298;
constexpr int kSensors = caption_ids::kFirst + 1;
constexpr int kChannelHeading = caption_ids::kFirst + 2;
constexpr int kOutputHeading = caption_ids::kFirst + 3;
constexpr int kDelayScale = caption_ids::kFirst + 4;

constexpr int kRows = 10;
constexpr int kBoxesPerRow = 12;

// Function rows top to bottom: caption, then the boxes in bit order (CH5 low .. CH8 high).
struct FunctionRow {
    int label;
    const char* text;
    int boxes[kBoxesPerRow];
};

constexpr FunctionRow kFunctionRows[kRows] = {
    {1266, "自    稳", {1114, 1134, 1143, 1152, 1161, 1170, 1179, 1188, 1215, 1224, 1233, 1242}},
    {1267, "3D 特 技", {1115, 1135, 1144, 113, 1162, 1171, 1180, 1189, 1216, 1225, 1234, 1243}},
    {1268, "定    高", {1116, 1136, 1145, 1154, 1163, 1172, 1181, 1190, 1217, 1226, 1235, 1244}},
    {1269, "锁定航向", {1117, 1137, 1146, 1155, 1164, 1173, 1182, 1191, 1218, 1227, 1236, 1245}},
    {1270, "无 向 CF", {1120, 1138, 1147, 1156, 1165, 1174, 1183, 1192, 1219, 1228, 1237, 1246}},
    {1271, "云台增稳", {1129, 1139, 1148, 1157, 1166, 1175, 1184, 1193, 1220, 1229, 1238, 1247}},
    {1272, "Z 轴跟随", {1133, 1153, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258, 1259, 1260}},
    {1273, "松杆定点", {1130, 1140, 1149, 1158, 1167, 1176, 1185, 1194, 1221, 1230, 1239, 1248}},
    {1274, "一键返航", {1131, 1141, 1150, 1159, 1168, 1177, 1186, 1195, 1222, 1231, 1240, 1249}},
    {1275, "自动降落", {1132, 1142, 1151, 1160, 1169, 1178, 1187, 1196, 1223, 1232, 1241, 1250}},
};

// Per switch channel CH5..CH8: position indicator slider, heading, low/middle/high heading.
struct SwitchChannel {
    int indicator;
    int heading;
    const char* headingText;
    int positions;
};

constexpr SwitchChannel kChannels[] = {
    {1038, 1282, "5 通道", 1286},
    {1039, 1283, "6 通道", 1287},
    {1040, 1284, "7 通道", 1288},
    {1045, 1285, "8 通道", 1289},
};

constexpr SliderRange kSwitchRange{1000, 2000, 100};

constexpr int kReceiverValues[] = {1102, 1103, 1104, 1105, 1106, 1107, 1108, 1109};
constexpr int kReceiverReverse[] = {1197, 1198, 1199, 1200, 1201, 1202, 1203, 1204};
constexpr int kOutputValues[] = {1121, 1122, 1123, 1124, 1125, 1126, 1127, 1128};
constexpr int kOutputReverse[] = {1205, 1208, 1209, 1210, 1211, 1212, 1213, 1214};

void addFunctionMatrix(TableBuilder& b) {
    b.add({.id = kFunctions, .kind = K::GroupBox, .at = {0, 0}, .text = "自定义功能区"});
    b.add({.id = 1263, .kind = K::Label, .parent = kFunctions, .at = {0, 0}, .text = "开关指示"});
    b.add({.id = 1014,
           .kind = K::LabelButton,
           .parent = kFunctions,
           .at = {1, 0},
           .text = "功能选项"});
    for (int c = 0; c < 4; ++c) {
        const SwitchChannel& ch = kChannels[c];
        const int col = 1 + 3 * c;
        b.add({.id = ch.indicator,
               .kind = K::Slider,
               .parent = kFunctions,
               .at = {0, col, 1, 3},
               .flags = L::kNarrow,
               .range = kSwitchRange});
        b.add({.id = ch.heading,
               .kind = K::Label,
               .parent = kFunctions,
               .at = {1, col, 1, 3},
               .text = ch.headingText,
               .flags = L::kCentreText});
        b.add({.id = ch.positions,
               .kind = K::ColumnCaption,
               .parent = kFunctions,
               .at = {2, col, 1, 3},
               .text = "低  中  高 "});
    }
    for (int r = 0; r < kRows; ++r) {
        const FunctionRow& row = kFunctionRows[r];
        b.add({.id = row.label,
               .kind = K::Label,
               .parent = kFunctions,
               .at = {3 + r, 0},
               .text = row.text});
        for (int k = 0; k < kBoxesPerRow; ++k) {
            b.add({.id = row.boxes[k],
                   .kind = K::CheckBox,
                   .parent = kFunctions,
                   .at = {3 + r, 1 + k},
                   .flags = L::kCentre});
        }
    }
}

void addFailsafeAndDelay(TableBuilder& b) {
    b.add({.id = kFailsafe, .kind = K::GroupBox, .at = {1, 0}});
    b.add({.id = 1303, .kind = K::CheckBox, .parent = kFailsafe, .at = {0, 0}});
    b.add({.id = 1276,
           .kind = K::Label,
           .parent = kFailsafe,
           .at = {0, 1, 1, 5},
           .text = "失控保护开关"});
    const char* const zones[] = {"低", "失控保护", "中", "失控保护", "高"};
    for (int i = 0; i < 5; ++i) {
        b.add({.id = 1277 + i,
               .kind = K::Label,
               .parent = kFailsafe,
               .at = {1, 1 + i},
               .text = zones[i],
               .flags = L::kCentreText});
    }
    b.add({.id = 1046,
           .kind = K::Slider,
           .parent = kFailsafe,
           .at = {2, 1, 1, 5},
           .flags = L::kStretch,
           .range = kSwitchRange});
    b.add({.id = kDelayScale,
           .kind = K::ScaleCaption,
           .parent = kFailsafe,
           .at = {3, 1, 1, 5},
           .text = "15           8             0"});
    b.add(
        {.id = 1300, .kind = K::Label, .parent = kFailsafe, .at = {4, 0}, .text = "自动关机延时"});
    b.add({.id = 1047,
           .kind = K::Slider,
           .parent = kFailsafe,
           .at = {4, 1, 1, 5},
           .flags = L::kStretch,
           .range = {0, 15, 1, true}});
    b.add({.id = 1028,
           .kind = K::ReadOnlyEdit,
           .parent = kFailsafe,
           .at = {4, 6},
           .flags = L::kNarrow | L::kCentreText});
    b.add({.id = 1304, .kind = K::Label, .parent = kFailsafe, .at = {4, 7}, .text = "秒"});
}

void addChannelBlock(TableBuilder& b, int row, int caption, const char* captionText, int heading,
                     const char* headingText, const int (&values)[8], const int (&reverse)[8]) {
    b.add({.id = caption,
           .kind = K::Label,
           .parent = kDisplay,
           .at = {row, 0, 1, 8},
           .text = captionText});
    b.add({.id = heading,
           .kind = K::ColumnCaption,
           .parent = kDisplay,
           .at = {row + 1, 0, 1, 8},
           .text = headingText});
    for (int i = 0; i < 8; ++i) {
        b.add({.id = values[i],
               .kind = K::ReadOnlyEdit,
               .parent = kDisplay,
               .at = {row + 2, i},
               .flags = L::kNarrow | L::kCentreText});
        b.add({.id = reverse[i],
               .kind = K::CheckBox,
               .parent = kDisplay,
               .at = {row + 3, i},
               .flags = L::kCentre});
    }
}

// A sensor reading: caption, value and unit, from column `col` of `row`.
void addReading(TableBuilder& b, int row, int col, int label, const char* text, int edit,
                int unit = 0, const char* unitText = "", bool wide = false) {
    b.add({.id = label, .kind = K::Label, .parent = kSensors, .at = {row, col}, .text = text});
    b.add({.id = edit,
           .kind = K::ReadOnlyEdit,
           .parent = kSensors,
           .at = {row, col + 1, 1, wide ? 2 : 1},
           .flags = wide ? 0u : (L::kNarrow | L::kCentreText)});
    if (unit != 0) {
        b.add({.id = unit,
               .kind = K::Label,
               .parent = kSensors,
               .at = {row, col + 2},
               .text = unitText});
    }
}

void addDataDisplay(TableBuilder& b) {
    b.add({.id = kDisplay, .kind = K::GroupBox, .at = {0, 1, 2, 1}, .flags = L::kStretch});
    addChannelBlock(b, 0, 1206, "接收机通道数据(选中复选框可反向)", kChannelHeading,
                    "CH1   CH2   CH3   CH4   CH5   CH6   CH7   CH8", kReceiverValues,
                    kReceiverReverse);
    addChannelBlock(b, 4, 1207, "输出通道数据(选中复选框可反向)", kOutputHeading,
                    "M/S1  M/S2  M/S3  M/S4  M/S5  M/S6  M/S7  M/S8", kOutputValues,
                    kOutputReverse);
    b.add({.id = kSensors, .kind = K::Panel, .parent = kDisplay, .at = {8, 0, 1, 8}});
    addReading(b, 0, 0, 1292, "超声波高度", 1041, 1294, "毫米");
    addReading(b, 0, 4, 1299, "气压针高度", 1029, 1295, "分米");
    addReading(b, 1, 0, 1291, "磁 角 度", 1044, 1293, "度");
    addReading(b, 1, 4, 1290, "振 动 值", 1030);
    addReading(b, 2, 0, 1296, "GPS经度值", 1031, 0, "", true);
    addReading(b, 2, 4, 1297, "GPS纬度值", 1032, 0, "", true);
    b.add({.id = 1118,
           .kind = K::Button,
           .parent = kDisplay,
           .at = {9, 0, 1, 8},
           .text = "显 示 数 据",
           .flags = L::kCentre});
}

std::vector<ControlEntry> customControls() {
    TableBuilder b;
    addFunctionMatrix(b);
    addFailsafeAndDelay(b);
    addDataDisplay(b);
    return b.take();
}

const std::vector<ControlEntry> kCustom = customControls();

}  // namespace

DialogTable customPageTable() {
    return {Dialog::Custom, kCustom};
}

}  // namespace orva
