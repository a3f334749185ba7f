#pragma once

#include <string>

#include "model/ControlKey.h"

namespace orva {

// What the user did to a control, as the view reports it.
enum class ActionKind {
    Click,          // button pressed
    Check,          // check box clicked; value 0/1 is the new state
    Select,         // drop-down list selection changed; value is the index
    SliderDraw,     // slider thumb dragged with the mouse; value is the position
    SliderRelease,  // mouse let go of the slider; value is the position
    SliderKey,      // slider moved by keyboard or page click; value is the position
    EditCommit,     // edit box text entered by the user; text is what was typed
    Tab,            // tab control selection changed; value is the index
};

struct UserAction {
    ActionKind kind;
    ControlKey key;
    int value = 0;
    std::string text;
};

}  // namespace orva
