#pragma once

#include <QDialog>

#include "core/IWindowCore.h"

namespace orva {

class FramePlanView;
class ModelBinder;

// The custom frame dialog (130), modeless: built from its table onto the main window's binder,
// with the plan painted beside the inputs. The core decides when it shows and what it holds.
class FrameDialog : public QDialog {
    Q_OBJECT
  public:
    FrameDialog(IWindowCore& core, ModelBinder& binder, QWidget* parent);

    FramePlanView* plan() const { return m_plan; }

    // Cancel, Escape and the close box: the core hides the dialog; its values stay.
    void reject() override;

  private:
    void takeFocus();

    IWindowCore& m_core;
    ModelBinder& m_binder;
    FramePlanView* m_plan = nullptr;
};

}  // namespace orva
