#pragma once

#include <functional>
#include <map>
#include <stdexcept>
#include <utility>

#include "model/UserAction.h"

namespace orva {

// Which handler answers which user action: each page's logic registers its own.
class ActionTable {
  public:
    using Handler = std::function<void(const UserAction&)>;

    // Each action has one handler: a second for the same action throws std::logic_error rather
    // than silently replace the first.
    void on(ActionKind kind, ControlKey key, Handler handler) {
        if (!m_handlers.try_emplace({kind, key}, std::move(handler)).second) {
            throw std::logic_error("a second handler for one user action");
        }
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
