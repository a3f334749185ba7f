#pragma once

#include "model/ControlKey.h"

namespace orva::ids {

// Main window (dialog 102).
namespace main {
constexpr ControlKey kPortTip{Dialog::Main, 1000};
constexpr ControlKey kPortCombo{Dialog::Main, 1061};
constexpr ControlKey kRefresh{Dialog::Main, 1017};
constexpr ControlKey kLanguage{Dialog::Main, 1019};
constexpr ControlKey kVersionCaption{Dialog::Main, 1264};
constexpr ControlKey kVersionText{Dialog::Main, 1112};
constexpr ControlKey kStatus{Dialog::Main, 1047};
constexpr ControlKey kChooseFirmware{Dialog::Main, 1001};
constexpr ControlKey kUpgradeHint{Dialog::Main, 1028};
constexpr ControlKey kUpgrade{Dialog::Main, 1043};
constexpr ControlKey kProgress{Dialog::Main, 1075};
constexpr ControlKey kSaveData{Dialog::Main, 1015};
constexpr ControlKey kLoadData{Dialog::Main, 1100};
constexpr ControlKey kRestoreChoice{Dialog::Main, 1099};
constexpr ControlKey kMultiAxisTip{Dialog::Main, 1002};
constexpr ControlKey kMultiAxis{Dialog::Main, 1032};
constexpr ControlKey kEditFrame{Dialog::Main, 1016};
constexpr ControlKey kEscTip{Dialog::Main, 1003};
constexpr ControlKey kEsc{Dialog::Main, 1033};
constexpr ControlKey kServoTip{Dialog::Main, 1013};
constexpr ControlKey kServo{Dialog::Main, 1215};
constexpr ControlKey kSensorTip{Dialog::Main, 1021};
constexpr ControlKey kDeclinationTip{Dialog::Main, 1020};
constexpr ControlKey kDeclination{Dialog::Main, 1031};
constexpr ControlKey kDeclinationSet{Dialog::Main, 1018};
constexpr ControlKey kUpperGroup{Dialog::Main, 1263};
// The page host. Its model value is the selected tab index, 0 (basic setup) to 4 (voltage).
constexpr ControlKey kTabs{Dialog::Main, 1230};
constexpr ControlKey kWindowTitle{Dialog::Main, 0};
// The row of page buttons above the tab control; each selects the tab of the same index.
constexpr ControlKey kPageBasic{Dialog::Main, 1005};
constexpr ControlKey kPageCustom{Dialog::Main, 1006};
constexpr ControlKey kPageGps{Dialog::Main, 1007};
constexpr ControlKey kPageGimbal{Dialog::Main, 1009};
constexpr ControlKey kPageVoltage{Dialog::Main, 1010};
// Not a control of the window template: the device that the chosen COM number stands for and,
// after a failed opening, the system's reason.
constexpr ControlKey kPortDevice{Dialog::Main, 9001};
}  // namespace main

// Each page's own key {page, 0}: `visible` says whether the page is shown (exactly one is), and
// `text` holds its tab item text, which stays Chinese in both languages.

// Basic setup page (dialog 137), tab 0.
namespace basic {
constexpr ControlKey kPage{Dialog::Basic, 0};
}  // namespace basic

// Custom function and data display page (dialog 138), tab 1.
namespace custom {
constexpr ControlKey kPage{Dialog::Custom, 0};
constexpr ControlKey kFunctionTip{Dialog::Custom, 1014};
// Starts and stops the live data display; its text says which it will do.
constexpr ControlKey kDataDisplay{Dialog::Custom, 1118};
}  // namespace custom

// GPS page (dialog 139), tab 2.
namespace gps {
constexpr ControlKey kPage{Dialog::Gps, 0};
}  // namespace gps

// Gimbal page (dialog 140), tab 3.
namespace gimbal {
constexpr ControlKey kPage{Dialog::Gimbal, 0};
}  // namespace gimbal

// Voltage page (dialog 141), tab 4.
namespace voltage {
constexpr ControlKey kPage{Dialog::Voltage, 0};
}  // namespace voltage

// Keys the parameter read-back and the page senders name themselves; the other controls of
// each parameter are listed in the parameter catalogue.
namespace voltage {
constexpr ControlKey kCalibrate{Dialog::Voltage, 1246};
}  // namespace voltage

// Custom frame dialog (dialog 130).
namespace frame {
constexpr ControlKey kAxisCombo{Dialog::Frame, 1215};
// Not a control: the frame's axis count (4 or 6).
constexpr ControlKey kAxisCount{Dialog::Frame, 9001};
// The dialog itself: `visible` while it is shown, `text` its title.
constexpr ControlKey kDialog{Dialog::Frame, 0};
// Not controls: goes up by one each time a new plan is ready to paint; and the control the
// dialog puts the focus on (its ID as the value, set anew for each request).
constexpr ControlKey kPlan{Dialog::Frame, 9003};
constexpr ControlKey kFocus{Dialog::Frame, 9004};
constexpr ControlKey kMaxX{Dialog::Frame, 1029};
constexpr ControlKey kMaxY{Dialog::Frame, 1030};
constexpr ControlKey kSave{Dialog::Frame, 1000};
constexpr ControlKey kCancel{Dialog::Frame, 2};
// The labels of motors 5 and 6: in use only with six axes, as are the motors' edits and boxes.
inline constexpr ControlKey kExtraMotorLabels[] = {{Dialog::Frame, 1224}, {Dialog::Frame, 1225}};
}  // namespace frame

}  // namespace orva::ids
