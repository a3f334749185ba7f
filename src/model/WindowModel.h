#pragma once

#include <functional>
#include <map>
#include <string>

#include "model/ControlKey.h"
#include "model/PortNotices.h"

namespace orva {

// What one control shows. The meaning of `value` depends on the control's kind: slider
// position, combo selection (-1 for none), check state (0/1), progress position, or the
// integer of an edit box; edits and captions also carry `text` (UTF-8). A progress bar runs from
// 0 to `maximum`.
struct ControlState {
    int value = 0;
    int maximum = 0;
    std::string text;
    bool enabled = true;
    bool visible = true;
};

// The core's picture of every window: the view draws it and reports user actions back to
// the core, which alone decides what changes here.
class WindowModel {
  public:
    using Listener = std::function<void(ControlKey)>;

    const ControlState& get(ControlKey key) const;
    int value(ControlKey key) const { return get(key).value; }
    const std::string& text(ControlKey key) const { return get(key).text; }
    bool enabled(ControlKey key) const { return get(key).enabled; }
    bool visible(ControlKey key) const { return get(key).visible; }

    void setValue(ControlKey key, int value);
    void setMaximum(ControlKey key, int maximum);
    void setText(ControlKey key, std::string text);
    // An edit box with integer exchange: the number and its decimal text.
    void setNumber(ControlKey key, int number);
    void setEnabled(ControlKey key, bool enabled);
    void setVisible(ControlKey key, bool visible);

    // Called after every change, once per changed control.
    void setListener(Listener listener) { m_listener = std::move(listener); }

    // What the exchanges have to say beside the port list.
    PortNotices& notices() { return m_notices; }
    const PortNotices& notices() const { return m_notices; }

  private:
    ControlState& slot(ControlKey key) { return m_controls[key]; }
    void changed(ControlKey key);

    std::map<ControlKey, ControlState> m_controls;
    Listener m_listener;
    PortNotices m_notices;
};

}  // namespace orva
