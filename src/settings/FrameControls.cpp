#include "settings/FrameControls.h"

#include "model/ControlIds.h"

namespace orva::frame_controls {

void showFrameType(WindowModel& model, int multiAxisIndex) {
    model.setEnabled(ids::main::kEditFrame, multiAxisIndex == kIrregularFrameIndex);
}

void showAxisCount(WindowModel& model, int axisCount) {
    model.setValue(ids::frame::kAxisCount, axisCount);
    for (ControlKey key : ids::frame::kExtraMotorControls) {
        model.setEnabled(key, axisCount == 6);
    }
}

}  // namespace orva::frame_controls
