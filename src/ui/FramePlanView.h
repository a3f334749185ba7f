#pragma once

#include <QWidget>

#include "frame/FrameDialogLogic.h"

namespace orva {

// The frame plan of the custom frame dialog: paints the items the core last drew, in order, on
// a canvas whose top-left corner is the plan's canvas corner.
class FramePlanView : public QWidget {
    Q_OBJECT
  public:
    explicit FramePlanView(const FrameDialogLogic& frame, QWidget* parent = nullptr);

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const FrameDialogLogic& m_frame;
};

}  // namespace orva
