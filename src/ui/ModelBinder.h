#pragma once

#include <QObject>
#include <QPointer>
#include <QSlider>
#include <functional>
#include <map>
#include <vector>

#include "core/IWindowCore.h"
#include "ui/ControlEntry.h"

namespace orva {

class CaptionRow;
class PageHost;

// Keeps every widget equal to what the model holds for its key, and reports what the user does
// to a widget to the core. Model state is applied with the widget's signals blocked, so that it
// never comes back as a user action.
class ModelBinder : public QObject {
    Q_OBJECT
  public:
    explicit ModelBinder(IWindowCore& core, QObject* parent = nullptr);
    ~ModelBinder() override;

    // `neverShown`: a control the window keeps hidden whatever the model says.
    void bind(ControlKey key, ControlKind kind, QWidget* widget, bool neverShown = false);
    void bindCaption(ControlKey key, CaptionRow* caption);
    void bindPage(ControlKey key, PageHost* host, int index);
    void bindTitle(ControlKey key, QWidget* window);

    // Installs the model listener and shows what the model holds already: texts it has set,
    // values, and controls it has disabled or hidden.
    void attach();
    // Shows what the model holds for the controls of `dialog` bound since attach(), as attach()
    // does for the window's own.
    void applyDialog(Dialog dialog);
    // Runs `onChange` after every change of `key`, for what the view draws beyond its controls.
    void watch(ControlKey key, std::function<void()> onChange);

    QWidget* widget(ControlKey key) const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    enum class Role { Control, Caption, Page, Title };
    struct Target {
        Role role = Role::Control;
        ControlKind kind = ControlKind::Label;
        QWidget* widget = nullptr;
        CaptionRow* caption = nullptr;
        PageHost* host = nullptr;
        int page = 0;
        bool neverShown = false;
    };

    void apply(ControlKey key, bool initial);
    void applyControl(const Target& t, const ControlState& s, bool initial);
    void report(UserAction action);
    // Shows the page the model marks visible; while several are (at start), the selected tab's.
    void showVisiblePage(PageHost* host);
    void connectSlider(ControlKey key, QSlider* slider);

    IWindowCore& m_core;
    std::map<ControlKey, Target> m_targets;
    std::map<ControlKey, std::vector<std::function<void()>>> m_watchers;
    // A mouse press on a slider outside its thumb pages it; the release then counts as the
    // release of a drag.
    QPointer<QSlider> m_pressedSlider;
    bool m_paged = false;
};

}  // namespace orva
