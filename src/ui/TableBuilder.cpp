#include "ui/TableBuilder.h"

namespace orva {

void TableBuilder::sliderRow(int parent, int row, int col, ControlKind labelKind,
                             const SliderRow& r) {
    using K = ControlKind;
    namespace L = layout;
    add({.id = r.scale,
         .kind = K::ScaleCaption,
         .parent = parent,
         .at = {row, col + 1},
         .text = r.scaleText});
    add({.id = r.label,
         .kind = labelKind,
         .parent = parent,
         .at = {row + 1, col},
         .text = r.labelText});
    add({.id = r.slider,
         .kind = K::Slider,
         .parent = parent,
         .at = {row + 1, col + 1},
         .flags = L::kStretch,
         .range = r.range});
    add({.id = r.edit,
         .kind = K::ReadOnlyEdit,
         .parent = parent,
         .at = {row + 1, col + 2},
         .flags = L::kNarrow | L::kCentreText});
}

}  // namespace orva
