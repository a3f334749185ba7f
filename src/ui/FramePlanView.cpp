#include "ui/FramePlanView.h"

#include <QPainter>
#include <QPen>

namespace orva {
namespace {

QColor qt(const PlanColour& c) {
    return QColor(c.red, c.green, c.blue);
}

// Plan positions are on the dialog's client area; the view starts at the canvas corner.
QPoint local(const PlanItem::Point& p) {
    return {p.x - FramePlan::kCanvasLeft, p.y - FramePlan::kCanvasTop};
}

// Texts are placed by their top-left corner, as the dialog's text output does.
constexpr int kTextBox = 1000;

}  // namespace

FramePlanView::FramePlanView(const std::vector<PlanItem>& plan, QWidget* parent)
    : QWidget(parent), m_plan(plan) {
    setFixedSize(sizeHint());
}

QSize FramePlanView::sizeHint() const {
    return {FramePlan::kCanvasRight - FramePlan::kCanvasLeft,
            FramePlan::kCanvasBottom - FramePlan::kCanvasTop};
}

void FramePlanView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // What shows before the first plan, and under a plan that leaves part of the canvas.
    painter.fillRect(rect(), qt(FramePlan::kBackground));
    painter.setBackgroundMode(Qt::TransparentMode);
    for (const PlanItem& item : m_plan) {
        switch (item.kind) {
            case PlanItem::Kind::Fill: {
                const QPoint from = local(item.from);
                const QPoint to = local(item.to);
                painter.fillRect(QRect(from, QSize(to.x() - from.x(), to.y() - from.y())),
                                 qt(item.colour));
                break;
            }
            case PlanItem::Kind::Line:
                painter.setPen(QPen(qt(item.colour), 1, Qt::SolidLine));
                painter.drawLine(local(item.from), local(item.to));
                break;
            case PlanItem::Kind::Text:
                painter.setPen(qt(item.colour));
                painter.drawText(QRect(local(item.from), QSize(kTextBox, kTextBox)),
                                 Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                                 QString::fromStdString(item.text));
                break;
        }
    }
}

}  // namespace orva
