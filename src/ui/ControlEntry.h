#pragma once

#include <span>

#include "model/ControlKey.h"

namespace orva {

// What a control of a dialog table becomes on screen.
enum class ControlKind {
    Button,
    LabelButton,  // a button that stands as a caption and explains its setting when clicked
    Label,
    Edit,  // the user types into it
    ReadOnlyEdit,
    Slider,
    Combo,  // drop-down list
    CheckBox,
    GroupBox,  // a titled frame; holds its own grid of controls
    Panel,     // an invisible frame with its own grid, for rows that keep their own columns
    ProgressBar,
    ScaleCaption,   // numbers above a slider, spread from its left end to its right end
    ColumnCaption,  // one word per grid column, over a row of equally spaced controls
    TabControl,     // the page host: tab items above the five pages
};

// Where a control sits in its container's grid.
struct Cell {
    int row = 0;
    int col = 0;
    int rowSpan = 1;
    int colSpan = 1;
};

// Slider range and tick spacing. Inverted sliders have their maximum at the left end, as their
// scale captions read.
struct SliderRange {
    int min = 0;
    int max = 0;
    int tick = 0;
    bool inverted = false;
};

namespace layout {
enum : unsigned {
    kHidden = 1u << 0,   // never shown
    kStretch = 1u << 1,  // its grid column takes the spare width
    kCentre = 1u << 2,   // centred in its cell (otherwise it fills the cell)
    kNarrow = 1u << 3,   // an edit sized for a short number
    kWide = 1u << 4,     // an edit or label that needs room for a long text
    kLeft = 1u << 5,     // left-aligned and no wider than its content
    kCentreText = 1u << 6,
    kElide = 1u << 7,  // a label whose long texts end in an ellipsis, shown whole as a tool tip
};
}  // namespace layout

// One control of a dialog: the key the model knows it by, its kind, its place and its template
// text. The model's text replaces the template text once the core sets one.
struct ControlEntry {
    int id = 0;
    ControlKind kind = ControlKind::Label;
    int parent = 0;  // id of the group box or panel holding it; 0 for the dialog itself
    Cell at;
    const char* text = "";
    unsigned flags = 0;
    SliderRange range;
    std::span<const char* const> items;  // combo items
};

// The controls of one dialog, containers before what they hold.
struct DialogTable {
    Dialog dialog;
    std::span<const ControlEntry> controls;
};

}  // namespace orva
