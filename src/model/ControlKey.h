#pragma once

#include <compare>
#include <cstdint>

namespace orva {

// Dialog resource IDs; control IDs are only unique within one dialog.
enum class Dialog : int {
    Frame = 130,
    Main = 102,
    Basic = 137,
    Custom = 138,
    Gps = 139,
    Gimbal = 140,
    Voltage = 141,
};

struct ControlKey {
    Dialog dialog;
    int id;
    auto operator<=>(const ControlKey&) const = default;
};

}  // namespace orva
