#include "settings/FrameControls.h"

#include <string_view>

#include "model/ControlIds.h"
#include "settings/ParameterCatalogue.h"

namespace orva::frame_controls {
namespace {

constexpr int kSixAxes = 6;
// Motors 5 and 6: their coordinates' codes, and the first of their propeller direction bits.
constexpr std::string_view kExtraMotorCoordinates = "vwxy";
constexpr std::size_t kFirstExtraMotor = 4;
constexpr char kReverseCode = 'z';

}  // namespace

void showFrameType(WindowModel& model, int multiAxisIndex) {
    model.setEnabled(ids::main::kEditFrame, multiAxisIndex == kIrregularFrameIndex);
}

void showAxisCount(WindowModel& model, int axisCount) {
    model.setValue(ids::frame::kAxisCount, axisCount);
    const bool sixAxes = axisCount == kSixAxes;
    for (ControlKey key : ids::frame::kExtraMotorLabels) {
        model.setEnabled(key, sixAxes);
    }
    for (char code : kExtraMotorCoordinates) {
        const ParameterEntry& coordinate = ParameterCatalogue::at(code);
        model.setEnabled(ParameterCatalogue::key(coordinate, coordinate.edit), sixAxes);
    }
    const ParameterEntry& reverse = ParameterCatalogue::at(kReverseCode);
    for (std::size_t motor = kFirstExtraMotor; motor < reverse.boxes.size(); ++motor) {
        model.setEnabled(ParameterCatalogue::key(reverse, reverse.boxes[motor]), sixAxes);
    }
}

}  // namespace orva::frame_controls
