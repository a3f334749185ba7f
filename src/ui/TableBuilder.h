#pragma once

#include <vector>

#include "ui/ControlEntry.h"

namespace orva {

// One setting edited by a slider: its caption (a label or a label button), the scale above the
// slider, and the read-only edit beside it that shows the position.
struct SliderRow {
    int label;
    const char* labelText;
    int slider;
    int edit;
    int scale;
    const char* scaleText;
    SliderRange range;
};

// Collects the rows of a dialog table, with the patterns that repeat on the setting pages.
class TableBuilder {
  public:
    TableBuilder& add(const ControlEntry& control) {
        m_controls.push_back(control);
        return *this;
    }

    // Two grid rows from (row, col) of `parent`: the scale over the slider, then the caption,
    // the slider and its edit. `labelKind` is Label or LabelButton.
    void sliderRow(int parent, int row, int col, ControlKind labelKind, const SliderRow& r);

    std::vector<ControlEntry> take() { return std::move(m_controls); }

  private:
    std::vector<ControlEntry> m_controls;
};

}  // namespace orva
