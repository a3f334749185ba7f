#include <vector>

#include "model/ControlIds.h"
#include "ui/DialogTables.h"
#include "ui/TableBuilder.h"

namespace orva {
namespace {

using K = ControlKind;
namespace L = layout;

constexpr int kScale = caption_ids::kFirst;

// A scale caption takes its row caption's number, counted from 1000, above the caption range.
int scaleOf(char code) {
    return kScale + ParameterCatalogue::at(code).look.caption - 1000;
}

// A page's one group box, which takes the page's width.
TableBuilder pageGroup(int group, const char* text) {
    TableBuilder b;
    b.add({.id = group, .kind = K::GroupBox, .at = {0, 0}, .text = text, .flags = L::kStretch});
    return b;
}

// Slider rows of `codes`, two grid rows each, down from the top of column `col`.
void sliderColumn(TableBuilder& b, int group, int col, ControlKind labelKind, const char* codes) {
    for (int i = 0; codes[i] != 0; ++i) {
        b.sliderRow(group, 2 * i, col, labelKind, codes[i], scaleOf(codes[i]));
    }
}

// Basic setup page: five rows in each of two columns.
std::vector<ControlEntry> basicControls() {
    constexpr int kGroup = 1206;
    TableBuilder b = pageGroup(kGroup, "基础参数设置");
    // Built row by row across both columns, the order the keyboard walks them.
    constexpr const char* kLeft = "CDEFG";
    constexpr const char* kRight = "YZRT`";
    for (int i = 0; i < 5; ++i) {
        b.sliderRow(kGroup, 2 * i, 0, K::LabelButton, kLeft[i], scaleOf(kLeft[i]));
        b.sliderRow(kGroup, 2 * i, 4, K::LabelButton, kRight[i], scaleOf(kRight[i]));
    }
    return b.take();
}

// GPS page: four rows.
std::vector<ControlEntry> gpsControls() {
    constexpr int kGroup = 1302;
    TableBuilder b = pageGroup(kGroup, "GPS参数设置");
    sliderColumn(b, kGroup, 0, K::Label, "@#$!");
    return b.take();
}

// Gimbal page: scales and angle limits on the left, servo mid points on the right.
std::vector<ControlEntry> gimbalControls() {
    constexpr int kGroup = 1207;
    TableBuilder b = pageGroup(kGroup, "云台参数设置");
    sliderColumn(b, kGroup, 0, K::LabelButton, "KJ%_)+");
    sliderColumn(b, kGroup, 4, K::LabelButton, "&^(");
    return b.take();
}

// Voltage page: the four cell voltages with the calibrate button, then the alarm threshold.
std::vector<ControlEntry> voltageControls() {
    constexpr int kGroup = 1263;
    constexpr int kCells = kScale + 1;
    constexpr int kAlarm = kScale + 2;
    TableBuilder b = pageGroup(kGroup, "电池电压校准与报警电压设置");
    b.add({.id = kCells, .kind = K::Panel, .parent = kGroup, .at = {0, 0}});
    for (int i = 0; i < 4; ++i) {
        const char code = static_cast<char>('4' + i);
        b.caption(code, K::Label, kCells, {0, 2 * i});
        b.add({.id = ParameterCatalogue::at(code).edit,
               .kind = K::Edit,
               .parent = kCells,
               .at = {0, 2 * i + 1},
               .flags = L::kNarrow | L::kCentreText});
    }
    b.add({.id = ids::voltage::kCalibrate.id,
           .kind = K::Button,
           .parent = kCells,
           .at = {0, 9},
           .text = TableBuilder::templateText(ids::voltage::kCalibrate)});
    b.add({.id = kAlarm, .kind = K::Panel, .parent = kGroup, .at = {1, 0}, .flags = L::kStretch});
    b.sliderRow(kAlarm, 0, 0, K::Label, 'L', kScale + 0);
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
