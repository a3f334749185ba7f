#include <vector>

#include "settings/ParameterCatalogue.h"
#include "ui/DialogTables.h"
#include "ui/TableBuilder.h"

namespace orva {
namespace {

using K = ControlKind;
namespace L = layout;

// The input group and the plan group keep their template IDs; the motor frame, the notes and the
// buttons have none.
constexpr int kInput = 1263;
constexpr int kPlan = 1266;
constexpr int kMotors = caption_ids::kFirst + 0;
constexpr int kNotes = caption_ids::kFirst + 1;
constexpr int kButtons = caption_ids::kFirst + 2;

// One motor row from grid column `col`: its reverse box (bit `motor` of the propeller
// directions), its label, and the edits of its X and Y codes.
struct MotorRow {
    int row;
    int col;
    int motor;
    int label;
    const char* name;
    char x;
    char y;
};

constexpr MotorRow kMotorRows[] = {
    {2, 0, 0, 1003, "电机1", 'n', 'o'}, {2, 5, 1, 1008, "电机2", 'p', 'q'},
    {3, 0, 2, 1006, "电机3", 'r', 's'}, {3, 5, 3, 1009, "电机4", 't', 'u'},
    {4, 0, 4, 1224, "电机5", 'v', 'w'}, {4, 5, 5, 1225, "电机6", 'x', 'y'},
};

constexpr struct {
    int id;
    const char* text;
} kNoteTexts[] = {
    {1267, "说明：1.坐标原点与飞行器设计重心重合，X、Y轴相互垂直，建立坐标系"},
    {1268, "2.先测量出各电机对应的坐标值，再将测得的值输入到对应的数据框中(不超过5000mm)"},
    {1269, "3.选中每个电机前的复选框表示该电机的桨方向为反转(顺时针)，不选为正转(逆时针)"},
    {1270, "4.按右侧“保存”按扭将各参数的值保存到Kivrel飞控中"},
    {1271, "5.电机按编号接到Kivrel飞控相应的输出通道"},
};

std::vector<ControlEntry> frameControls() {
    const std::vector<ControlEntry> fixed = {
        // The group of the axis count and the two maximum distances.
        {.id = kInput, .kind = K::GroupBox, .at = {0, 0}, .text = "异形机架参数设置区"},

        // Motor coordinates and propeller directions, motors 1, 3, 5 left and 2, 4, 6 right.
        {.id = kMotors, .kind = K::GroupBox, .at = {1, 0}},
        {.id = 1004,
         .kind = K::Label,
         .parent = kMotors,
         .at = {0, 0, 1, 9},
         .text = "请输入电机的（x,y）坐标"},
        {.id = 1017, .kind = K::Label, .parent = kMotors, .at = {1, 0}, .text = "方向"},
        {.id = 1015,
         .kind = K::Label,
         .parent = kMotors,
         .at = {1, 2, 1, 2},
         .text = "坐标",
         .flags = L::kCentreText},
        {.id = 1018, .kind = K::Label, .parent = kMotors, .at = {1, 5}, .text = "方向"},
        {.id = 1016,
         .kind = K::Label,
         .parent = kMotors,
         .at = {1, 7, 1, 2},
         .text = "坐标",
         .flags = L::kCentreText},

        // The plan.
        {.id = kPlan, .kind = K::GroupBox, .at = {0, 1, 2, 1}, .text = "异形机架图示"},

        // Notes, and the buttons beside them.
        {.id = kNotes, .kind = K::Panel, .at = {2, 0}},
        {.id = kButtons, .kind = K::Panel, .at = {2, 1}},
        {.id = 2, .kind = K::Button, .parent = kButtons, .at = {1, 1}, .text = "取消"},
        {.id = 1000, .kind = K::Button, .parent = kButtons, .at = {2, 1}, .text = "保存"},
    };
    TableBuilder b;
    for (const ControlEntry& control : fixed) {
        b.add(control);
    }
    // The axis count and the two maximum distances, each below the other with its label.
    int row = 0;
    for (char code : {'k', 'l', 'm'}) {
        const ParameterEntry& e = ParameterCatalogue::at(code);
        b.add({.id = e.look.caption,
               .kind = K::Label,
               .parent = kInput,
               .at = {row++, 0},
               .text = e.chinese});
    }
    b.list('k', kInput, {0, 1}, L::kLeft);
    b.edit('l', kInput, {1, 1}, L::kNarrow | L::kLeft);
    b.edit('m', kInput, {2, 1}, L::kNarrow | L::kLeft);
    for (const MotorRow& m : kMotorRows) {
        b.box('z', m.motor, kMotors, {m.row, m.col});
        b.add({.id = m.label,
               .kind = K::Label,
               .parent = kMotors,
               .at = {m.row, m.col + 1},
               .text = m.name});
        b.edit(m.x, kMotors, {m.row, m.col + 2}, L::kNarrow);
        b.edit(m.y, kMotors, {m.row, m.col + 3}, L::kNarrow);
    }
    row = 0;
    for (const auto& note : kNoteTexts) {
        b.add({.id = note.id,
               .kind = K::Label,
               .parent = kNotes,
               .at = {row++, 0},
               .text = note.text});
    }
    return b.take();
}

const std::vector<ControlEntry> kControls = frameControls();

}  // namespace

DialogTable frameDialogTable() {
    return {Dialog::Frame, kControls};
}

}  // namespace orva
