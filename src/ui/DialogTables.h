#pragma once

#include <array>

#include "ui/ControlEntry.h"

namespace orva {

// The controls of the main window and of its five pages, where each sits and what it starts
// with. Pages are listed in tab order.
DialogTable mainWindowTable();
DialogTable basicPageTable();
DialogTable customPageTable();
DialogTable gpsPageTable();
DialogTable gimbalPageTable();
DialogTable voltagePageTable();

// The custom frame dialog (130).
DialogTable frameDialogTable();

constexpr int kPageCount = 5;
std::array<DialogTable, kPageCount> pageTables();

// Captions that no control ID of the dialog templates names: the slider scales, the data
// display's column headings and the unnamed frames. They keep one range clear of the dialogs' own
// IDs.
namespace caption_ids {
constexpr int kFirst = 9100;
}  // namespace caption_ids

}  // namespace orva
