#pragma once

#include <functional>
#include <map>
#include <utility>

#include "model/UserAction.h"

namespace orva {

// Which handler answers which user action: each page's logic registers its own.
class ActionTable {
  public:
    using Handler = std::function<void(const UserAction&)>;

    void on(ActionKind kind, ControlKey key, Handler handler) {
        m_handlers[{kind, key}] = std::move(handler);
    }
    // False when nothing is registered for the action.
    bool dispatch(const UserAction& action) const {
        auto it = m_handlers.find({action.kind, action.key});
        if (it == m_handlers.end()) {
            return false;
        }
        it->second(action);
        return true;
    }

  private:
    std::map<std::pair<ActionKind, ControlKey>, Handler> m_handlers;
};

}  // namespace orva
