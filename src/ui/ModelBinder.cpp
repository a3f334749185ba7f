#include "ui/ModelBinder.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>

#include "model/ControlIds.h"
#include "ui/CaptionRow.h"
#include "ui/ElidedLabel.h"
#include "ui/PageHost.h"
#include "ui/ScaleStrip.h"

namespace orva {
namespace {

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

ModelBinder::ModelBinder(IWindowCore& core, QObject* parent) : QObject(parent), m_core(core) {}

ModelBinder::~ModelBinder() {
    m_core.model().setListener(nullptr);
}

void ModelBinder::bind(ControlKey key, ControlKind kind, QWidget* widget, bool neverShown) {
    Target t;
    t.kind = kind;
    t.widget = widget;
    t.neverShown = neverShown;
    m_targets[key] = t;
    switch (kind) {
        case ControlKind::Button:
        case ControlKind::LabelButton:
            connect(static_cast<QAbstractButton*>(widget), &QAbstractButton::clicked, this,
                    [this, key] {
                        report({ActionKind::Click, key});
                    });
            break;
        case ControlKind::CheckBox:
            connect(static_cast<QAbstractButton*>(widget), &QAbstractButton::clicked, this,
                    [this, key](bool checked) {
                        report({ActionKind::Check, key, checked ? 1 : 0});
                    });
            break;
        case ControlKind::Combo:
            connect(static_cast<QComboBox*>(widget), &QComboBox::activated, this,
                    [this, key](int index) {
                        report({ActionKind::Select, key, index});
                    });
            break;
        case ControlKind::Edit:
            connect(static_cast<QLineEdit*>(widget), &QLineEdit::textEdited, this,
                    [this, key](const QString& text) {
                        report({ActionKind::EditCommit, key, 0, text.toStdString()});
                    });
            break;
        case ControlKind::Slider:
            connectSlider(key, static_cast<QSlider*>(widget));
            break;
        case ControlKind::TabControl:
            connect(static_cast<PageHost*>(widget), &PageHost::tabSelected, this,
                    [this, key](int index) {
                        report({ActionKind::Tab, key, index});
                    });
            break;
        default:
            break;
    }
}

void ModelBinder::connectSlider(ControlKey key, QSlider* slider) {
    slider->installEventFilter(this);
    connect(slider, &QSlider::sliderMoved, this, [this, key](int position) {
        report({ActionKind::SliderDraw, key, position});
    });
    connect(slider, &QSlider::sliderReleased, this, [this, key, slider] {
        report({ActionKind::SliderRelease, key, slider->value()});
    });
    // Keys, the wheel and clicks beside the thumb move the slider without dragging it. The
    // position is already moved when the action is announced; the value follows after.
    connect(slider, &QSlider::actionTriggered, this, [this, key, slider](int action) {
        if (action == QAbstractSlider::SliderNoAction || slider->isSliderDown()) {
            return;
        }
        if (m_pressedSlider == slider) {
            m_paged = true;
        }
        report({ActionKind::SliderKey, key, slider->sliderPosition()});
    });
}

bool ModelBinder::eventFilter(QObject* watched, QEvent* event) {
    auto* slider = qobject_cast<QSlider*>(watched);
    if (slider == nullptr) {
        return false;
    }
    if (event->type() == QEvent::MouseButtonPress) {
        m_pressedSlider = slider;
        m_paged = false;
    } else if (event->type() == QEvent::MouseButtonRelease && m_pressedSlider == slider) {
        // A drag reports its own release when the slider lets go of the thumb.
        const bool paged = m_paged && !slider->isSliderDown();
        m_pressedSlider = nullptr;
        m_paged = false;
        if (paged) {
            for (const auto& [key, target] : m_targets) {
                if (target.widget == slider) {
                    report({ActionKind::SliderRelease, key, slider->sliderPosition()});
                    break;
                }
            }
        }
    }
    return false;
}

void ModelBinder::bindCaption(ControlKey key, CaptionRow* caption) {
    Target t;
    t.role = Role::Caption;
    t.caption = caption;
    m_targets[key] = t;
}

void ModelBinder::bindPage(ControlKey key, PageHost* host, int index) {
    Target t;
    t.role = Role::Page;
    t.host = host;
    t.page = index;
    m_targets[key] = t;
}

void ModelBinder::bindTitle(ControlKey key, QWidget* window) {
    Target t;
    t.role = Role::Title;
    t.widget = window;
    m_targets[key] = t;
}

QWidget* ModelBinder::widget(ControlKey key) const {
    auto it = m_targets.find(key);
    return it == m_targets.end() ? nullptr : it->second.widget;
}

void ModelBinder::attach() {
    m_core.model().setListener([this](ControlKey key) {
        apply(key, false);
        auto it = m_watchers.find(key);
        if (it != m_watchers.end()) {
            // A watcher may add watchers of its own; run the ones there were.
            const std::vector<std::function<void()>> watchers = it->second;
            for (const auto& onChange : watchers) {
                onChange();
            }
        }
    });
    for (const auto& entry : m_targets) {
        apply(entry.first, true);
    }
}

void ModelBinder::applyDialog(Dialog dialog) {
    for (const auto& entry : m_targets) {
        if (entry.first.dialog == dialog) {
            apply(entry.first, true);
        }
    }
}

void ModelBinder::watch(ControlKey key, std::function<void()> onChange) {
    m_watchers[key].push_back(std::move(onChange));
}

void ModelBinder::report(UserAction action) {
    m_core.onUserAction(action);
}

void ModelBinder::apply(ControlKey key, bool initial) {
    auto it = m_targets.find(key);
    if (it == m_targets.end()) {
        return;
    }
    const Target& t = it->second;
    const ControlState& s = m_core.model().get(key);
    // A control whose text the model has not set keeps its template text.
    const bool hasText = !s.text.empty();
    switch (t.role) {
        case Role::Title:
            if (hasText) {
                t.widget->setWindowTitle(qt(s.text));
            }
            break;
        case Role::Page:
            if (hasText) {
                t.host->setTabText(t.page, qt(s.text));
            }
            showVisiblePage(t.host);
            break;
        case Role::Caption:
            if (hasText) {
                t.caption->setText(qt(s.text));
            }
            t.caption->setEnabled(s.enabled);
            if (!initial || !s.visible) {
                t.caption->setVisible(s.visible);
            }
            break;
        case Role::Control: {
            const QSignalBlocker blocker(t.widget);
            applyControl(t, s, initial);
            t.widget->setEnabled(s.enabled);
            if (!t.neverShown) {
                t.widget->setVisible(s.visible);
            }
            break;
        }
    }
}

void ModelBinder::showVisiblePage(PageHost* host) {
    const WindowModel& model = m_core.model();
    const int selected = model.value(ids::main::kTabs);
    int shown = -1;
    for (const auto& [key, t] : m_targets) {
        if (t.role != Role::Page || t.host != host || !model.visible(key)) {
            continue;
        }
        if (shown < 0 || t.page == selected) {
            shown = t.page;
        }
    }
    if (shown >= 0) {
        host->showPage(shown);
    }
}

void ModelBinder::applyControl(const Target& t, const ControlState& s, bool initial) {
    const bool hasText = !s.text.empty();
    switch (t.kind) {
        case ControlKind::Button:
        case ControlKind::LabelButton:
        case ControlKind::CheckBox: {
            auto* button = static_cast<QAbstractButton*>(t.widget);
            if (hasText) {
                button->setText(qt(s.text));
            }
            if (t.kind == ControlKind::CheckBox) {
                button->setChecked(s.value != 0);
            }
            break;
        }
        case ControlKind::Label:
            if (auto* elided = qobject_cast<ElidedLabel*>(t.widget)) {
                elided->setFullText(qt(s.text));
            } else if (hasText) {
                static_cast<QLabel*>(t.widget)->setText(qt(s.text));
            }
            break;
        case ControlKind::GroupBox:
            if (hasText) {
                static_cast<QGroupBox*>(t.widget)->setTitle(qt(s.text));
            }
            break;
        case ControlKind::Edit:
        case ControlKind::ReadOnlyEdit: {
            auto* edit = static_cast<QLineEdit*>(t.widget);
            // An edit set only by number shows the number.
            const QString text = hasText || s.value == 0 ? qt(s.text) : QString::number(s.value);
            if (edit->text() != text && (!initial || !text.isEmpty())) {
                edit->setText(text);
            }
            break;
        }
        case ControlKind::Slider:
            static_cast<QSlider*>(t.widget)->setValue(s.value);
            break;
        case ControlKind::Combo:
            static_cast<QComboBox*>(t.widget)->setCurrentIndex(s.value);
            break;
        case ControlKind::ProgressBar: {
            auto* bar = static_cast<QProgressBar*>(t.widget);
            if (s.maximum > 0) {
                bar->setRange(0, s.maximum);
            }
            bar->setValue(s.value);
            break;
        }
        case ControlKind::TabControl: {
            auto* host = static_cast<PageHost*>(t.widget);
            host->selectTab(s.value);
            showVisiblePage(host);
            break;
        }
        case ControlKind::ScaleCaption:
            if (hasText) {
                static_cast<ScaleStrip*>(t.widget)->setText(qt(s.text));
            }
            break;
        case ControlKind::Panel:
        case ControlKind::ColumnCaption:
            break;
    }
}

}  // namespace orva
