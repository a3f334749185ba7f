#pragma once

#include <QDialog>

#include "core/IWindowCore.h"

namespace orva {

class FrameDialog;
class ModelBinder;
class PageHost;

// The main window (dialog 102): the upper area, the page buttons and the tab control with the
// five pages, all built from their tables. It draws the core's model and forwards the user's
// actions to the core.
class COrvaDlg : public QDialog {
    Q_OBJECT
  public:
    explicit COrvaDlg(IWindowCore& core, QWidget* parent = nullptr);
    ~COrvaDlg() override;

    // The widget of a control, or null when the window has none for `key`.
    QWidget* control(ControlKey key) const;
    PageHost* pages() const { return m_pages; }
    // The custom frame dialog; null until the core first shows it.
    FrameDialog* frameDialog() const { return m_frameDialog; }

    // The close box and the system close command: closes only when the user confirms.
    void reject() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Creates the custom frame dialog on first use, and shows or hides it as the core says.
    void syncFrameDialog();

    IWindowCore& m_core;
    ModelBinder* m_binder;
    PageHost* m_pages = nullptr;
    FrameDialog* m_frameDialog = nullptr;
};

}  // namespace orva
