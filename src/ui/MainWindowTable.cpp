#include <vector>

#include "ui/DialogTables.h"
#include "ui/TableBuilder.h"

namespace orva {
namespace {

using K = ControlKind;
namespace L = layout;

constexpr const char* kPorts[] = {
    "COM1",  "COM2",  "COM3",  "COM4",  "COM5",  "COM6",  "COM7",  "COM8",  "COM9",  "COM10",
    "COM11", "COM12", "COM13", "COM14", "COM15", "COM16", "COM17", "COM18", "COM19", "COM20",
};

// The upper area keeps one column of leading buttons; the rest of each of its rows is a panel
// with its own columns.
constexpr int kUpper = 1263;
constexpr int kPortRow = caption_ids::kFirst + 0;
constexpr int kFirmwareRow = caption_ids::kFirst + 1;
constexpr int kModesRow = caption_ids::kFirst + 2;
constexpr int kSensorRow = caption_ids::kFirst + 3;
constexpr int kFilesRow = caption_ids::kFirst + 4;

// The rows above the frame type, and from the parameter files on: no parameter in them.
const ControlEntry kTop[] = {
    {.id = kUpper,
     .kind = K::GroupBox,
     .at = {0, 0, 1, 5},
     .text = "Kivrel飞控固件升级及主要参数设置区"},

    // Port, refresh, language, firmware version and link status.
    {.id = 1000, .kind = K::LabelButton, .parent = kUpper, .at = {0, 0}, .text = "选择串口"},
    {.id = kPortRow, .kind = K::Panel, .parent = kUpper, .at = {0, 1}},
    {.id = 1061, .kind = K::Combo, .parent = kPortRow, .at = {0, 0}, .items = kPorts},
    {.id = 9001,
     .kind = K::Label,
     .parent = kPortRow,
     .at = {0, 1},
     .flags = L::kStretch | L::kElide},
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
};

// Parameter files; the restore list follows from the catalogue.
const ControlEntry kFiles[] = {
    {.id = 1015, .kind = K::Button, .parent = kUpper, .at = {4, 0}, .text = "保存当前数据"},
    {.id = kFilesRow, .kind = K::Panel, .parent = kUpper, .at = {4, 1}},
    {.id = 1100, .kind = K::Button, .parent = kFilesRow, .at = {0, 0}, .text = "恢复参考数据"},
};

const ControlEntry kBottom[] = {

    // Page buttons and the pages.
    {.id = 1005, .kind = K::Button, .at = {1, 0}, .text = "基础参数设置"},
    {.id = 1006, .kind = K::Button, .at = {1, 1}, .text = "自定义功能设置与数据显示"},
    {.id = 1007, .kind = K::Button, .at = {1, 2}, .text = "GPS参数设置"},
    {.id = 1009, .kind = K::Button, .at = {1, 3}, .text = "云台参数设置"},
    {.id = 1010, .kind = K::Button, .at = {1, 4}, .text = "电压校准与报警设置"},
    {.id = 1230, .kind = K::TabControl, .at = {2, 0, 1, 5}},
};

// Frame type, output rates, sensors and the magnetic declination.
void addParameterRows(TableBuilder& b) {
    b.caption('A', K::LabelButton, kUpper, {2, 0});
    b.add({.id = kModesRow, .kind = K::Panel, .parent = kUpper, .at = {2, 1}});
    b.list('A', kModesRow, {0, 0});
    b.add({.id = 1016, .kind = K::Button, .parent = kModesRow, .at = {0, 1}, .text = "编缉..."});
    b.caption('B', K::LabelButton, kModesRow, {0, 3});
    b.list('B', kModesRow, {0, 4});
    b.caption('P', K::LabelButton, kModesRow, {0, 6});
    b.list('P', kModesRow, {0, 7});

    b.caption('M', K::LabelButton, kUpper, {3, 0});
    b.add({.id = kSensorRow, .kind = K::Panel, .parent = kUpper, .at = {3, 1}});
    // Boxes 4 to 7 are shown; 0 to 3 exist only to carry their bits.
    for (int bit = 4; bit < 8; ++bit) {
        b.box('M', bit, kSensorRow, {0, bit - 4});
    }
    for (int bit = 0; bit < 4; ++bit) {
        b.box('M', bit, kSensorRow, {0, 4}, L::kHidden);
    }
    b.caption('Q', K::LabelButton, kSensorRow, {0, 5});
    b.add({.id = ParameterCatalogue::at('Q').edit,
           .kind = K::Edit,
           .parent = kSensorRow,
           .at = {0, 6},
           .flags = L::kNarrow | L::kCentreText});
    b.add({.id = 1018, .kind = K::Button, .parent = kSensorRow, .at = {0, 7}, .text = "设 置"});
}

std::vector<ControlEntry> mainControls() {
    TableBuilder b;
    for (const ControlEntry& c : kTop) {
        b.add(c);
    }
    addParameterRows(b);
    for (const ControlEntry& c : kFiles) {
        b.add(c);
    }
    b.list('j', kFilesRow, {0, 1});
    for (const ControlEntry& c : kBottom) {
        b.add(c);
    }
    return b.take();
}

const std::vector<ControlEntry> kControls = mainControls();

}  // namespace

DialogTable mainWindowTable() {
    return {Dialog::Main, kControls};
}

}  // namespace orva
