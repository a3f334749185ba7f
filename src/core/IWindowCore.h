#pragma once

#include <vector>

#include "frame/FramePlan.h"
#include "model/UserAction.h"
#include "model/WindowModel.h"

namespace orva {

// All the window's view sees of the core: the model it draws, the user's actions it reports,
// the close request, and the custom frame's plan to paint.
class IWindowCore {
  public:
    virtual ~IWindowCore() = default;

    virtual WindowModel& model() = 0;
    // Check boxes, lists and sliders take the new state into the model first; then the handler
    // registered for the action runs.
    virtual void onUserAction(const UserAction& action) = 0;
    // The window's close box: true when the user confirms closing.
    virtual bool onCloseRequested() = 0;
    // The plan as last drawn, in painting order.
    virtual const std::vector<PlanItem>& framePlan() const = 0;
};

}  // namespace orva
