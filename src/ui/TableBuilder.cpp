#include "ui/TableBuilder.h"

#include "window/WindowTexts.h"

namespace orva {

using K = ControlKind;
namespace L = layout;

SliderRange TableBuilder::range(const ParameterEntry& entry) {
    return {entry.uiMin, entry.uiMax, entry.tick, entry.look.inverted};
}

const char* TableBuilder::templateText(ControlKey key) {
    for (const ControlText& t : controlTexts()) {
        if (t.key == key) {
            // The texts are literals, so the view ends where the literal does.
            return t.chinese.data();
        }
    }
    return "";
}

void TableBuilder::sliderRow(int parent, int row, int col, ControlKind labelKind, char code,
                             int scale) {
    const ParameterEntry& e = ParameterCatalogue::at(code);
    add({.id = scale,
         .kind = K::ScaleCaption,
         .parent = parent,
         .at = {row, col + 1},
         .text = e.look.scale});
    caption(code, labelKind, parent, {row + 1, col});
    add({.id = e.slider,
         .kind = K::Slider,
         .parent = parent,
         .at = {row + 1, col + 1},
         .flags = L::kStretch,
         .range = range(e)});
    add({.id = e.edit,
         .kind = K::ReadOnlyEdit,
         .parent = parent,
         .at = {row + 1, col + 2},
         .flags = L::kNarrow | L::kCentreText});
}

void TableBuilder::caption(char code, ControlKind kind, int parent, Cell at, unsigned flags) {
    const ParameterEntry& e = ParameterCatalogue::at(code);
    add({.id = e.look.caption,
         .kind = kind,
         .parent = parent,
         .at = at,
         .text = templateText(ParameterCatalogue::key(e, e.look.caption)),
         .flags = flags});
}

void TableBuilder::list(char code, int parent, Cell at, unsigned flags) {
    const ParameterEntry& e = ParameterCatalogue::at(code);
    add({.id = e.combo,
         .kind = K::Combo,
         .parent = parent,
         .at = at,
         .flags = flags,
         .items = e.items});
}

void TableBuilder::edit(char code, int parent, Cell at, unsigned flags) {
    add({.id = ParameterCatalogue::at(code).edit,
         .kind = K::Edit,
         .parent = parent,
         .at = at,
         .flags = flags});
}

void TableBuilder::box(char code, int bit, int parent, Cell at, unsigned flags) {
    const ParameterEntry& e = ParameterCatalogue::at(code);
    const int id = e.boxes[bit];
    add({.id = id,
         .kind = K::CheckBox,
         .parent = parent,
         .at = at,
         .text = templateText(ParameterCatalogue::key(e, id)),
         .flags = flags});
}

}  // namespace orva
