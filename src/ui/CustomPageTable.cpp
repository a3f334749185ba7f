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

// The function rows top to bottom; each row's boxes run CH5 low .. CH8 high.
constexpr const char* kFunctionCodes = "abcdef=ghi";
constexpr int kBoxesPerRow = 12;

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
constexpr int kOutputValues[] = {1121, 1122, 1123, 1124, 1125, 1126, 1127, 1128};

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
    for (int r = 0; kFunctionCodes[r] != 0; ++r) {
        b.caption(kFunctionCodes[r], K::Label, kFunctions, {3 + r, 0});
        for (int k = 0; k < kBoxesPerRow; ++k) {
            b.box(kFunctionCodes[r], k, kFunctions, {3 + r, 1 + k}, L::kCentre);
        }
    }
}

void addFailsafeAndDelay(TableBuilder& b) {
    const ParameterEntry& delay = ParameterCatalogue::at('<');
    b.add({.id = kFailsafe, .kind = K::GroupBox, .at = {1, 0}});
    b.box('<', 0, kFailsafe, {0, 0});
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
           .text = delay.look.scale});
    b.caption('<', K::Label, kFailsafe, {4, 0});
    b.add({.id = delay.slider,
           .kind = K::Slider,
           .parent = kFailsafe,
           .at = {4, 1, 1, 5},
           .flags = L::kStretch,
           .range = TableBuilder::range(delay)});
    b.add({.id = delay.edit,
           .kind = K::ReadOnlyEdit,
           .parent = kFailsafe,
           .at = {4, 6},
           .flags = L::kNarrow | L::kCentreText});
    b.add({.id = 1304, .kind = K::Label, .parent = kFailsafe, .at = {4, 7}, .text = "秒"});
}

// Channel values with their reverse boxes, which are the bits of `code`.
void addChannelBlock(TableBuilder& b, int row, char code, int heading, const char* headingText,
                     const int (&values)[8]) {
    b.caption(code, K::Label, kDisplay, {row, 0, 1, 8});
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
        b.box(code, i, kDisplay, {row + 3, i}, L::kCentre);
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
    addChannelBlock(b, 0, 'N', kChannelHeading, "CH1   CH2   CH3   CH4   CH5   CH6   CH7   CH8",
                    kReceiverValues);
    addChannelBlock(b, 4, 'O', kOutputHeading, "M/S1  M/S2  M/S3  M/S4  M/S5  M/S6  M/S7  M/S8",
                    kOutputValues);
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
