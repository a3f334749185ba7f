#pragma once

#include "model/WindowModel.h"

namespace orva {

// What the frame settings turn on and off in the window, whoever changed them: the read-back, the
// main area's list or the custom frame dialog.
namespace frame_controls {

// The multi-axis list's "16. IRRET_SHAPE": only this frame type has an "Edit..." dialog.
constexpr int kIrregularFrameIndex = 15;

// "Edit..." is on only while the multi-axis list shows the irregular frame.
void showFrameType(WindowModel& model, int multiAxisIndex);
// The frame's axis count; the label, edits and reverse box of motors 5 and 6 are in use only
// with six axes.
void showAxisCount(WindowModel& model, int axisCount);

}  // namespace frame_controls
}  // namespace orva
