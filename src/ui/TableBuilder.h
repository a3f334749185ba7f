#pragma once

#include <span>
#include <vector>

#include "settings/ParameterCatalogue.h"
#include "ui/ControlEntry.h"

namespace orva {

// Collects the rows of a dialog table. The rows of a parameter take their IDs, range, scale and
// caption from its catalogue entry; the table itself says only where they sit.
class TableBuilder {
  public:
    TableBuilder& add(const ControlEntry& control) {
        m_controls.push_back(control);
        return *this;
    }

    // Two grid rows from (row, col) of `parent`: the scale over the slider, then the caption,
    // the slider and the read-only edit that shows its position. `labelKind` is Label or
    // LabelButton; `scale` is the scale caption's ID.
    void sliderRow(int parent, int row, int col, ControlKind labelKind, char code, int scale);

    // The caption of `code` (a label or label button) with its template text.
    void caption(char code, ControlKind kind, int parent, Cell at, unsigned flags = 0);
    // The list of `code`, with the texts of its items.
    void list(char code, int parent, Cell at, unsigned flags = 0);
    // The edit box of `code`.
    void edit(char code, int parent, Cell at, unsigned flags = 0);
    // Check box `bit` of `code`, with its template text.
    void box(char code, int bit, int parent, Cell at, unsigned flags = 0);

    std::vector<ControlEntry> take() { return std::move(m_controls); }

    // The slider range of a catalogue entry.
    static SliderRange range(const ParameterEntry& entry);
    // The text a control starts with: its Chinese template text, "" for none.
    static const char* templateText(ControlKey key);

  private:
    std::vector<ControlEntry> m_controls;
};

}  // namespace orva
