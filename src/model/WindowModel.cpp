#include "model/WindowModel.h"

namespace orva {

const ControlState& WindowModel::get(ControlKey key) const {
    static const ControlState kUntouched;
    auto it = m_controls.find(key);
    return it == m_controls.end() ? kUntouched : it->second;
}

void WindowModel::setValue(ControlKey key, int value) {
    ControlState& s = slot(key);
    if (s.value != value) {
        s.value = value;
        changed(key);
    }
}

void WindowModel::setMaximum(ControlKey key, int maximum) {
    ControlState& s = slot(key);
    if (s.maximum != maximum) {
        s.maximum = maximum;
        changed(key);
    }
}

void WindowModel::setText(ControlKey key, std::string text) {
    ControlState& s = slot(key);
    if (s.text != text) {
        s.text = std::move(text);
        changed(key);
    }
}

void WindowModel::setNumber(ControlKey key, int number) {
    ControlState& s = slot(key);
    std::string text = std::to_string(number);
    if (s.value != number || s.text != text) {
        s.value = number;
        s.text = std::move(text);
        changed(key);
    }
}

void WindowModel::setEnabled(ControlKey key, bool enabled) {
    ControlState& s = slot(key);
    if (s.enabled != enabled) {
        s.enabled = enabled;
        changed(key);
    }
}

void WindowModel::setVisible(ControlKey key, bool visible) {
    ControlState& s = slot(key);
    if (s.visible != visible) {
        s.visible = visible;
        changed(key);
    }
}

void WindowModel::changed(ControlKey key) {
    if (m_listener) {
        m_listener(key);
    }
}

}  // namespace orva
