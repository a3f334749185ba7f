#pragma once

#include <QWidget>

#include <vector>

#include "frame/FramePlan.h"

namespace orva {

// The frame plan of the custom frame dialog: paints the items the core last drew, in order, on
// a canvas whose top-left corner is the plan's canvas corner.
class FramePlanView : public QWidget {
    Q_OBJECT
  public:
    explicit FramePlanView(const std::vector<PlanItem>& plan, QWidget* parent = nullptr);

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const std::vector<PlanItem>& m_plan;
};

}  // namespace orva
