#include "ui/FrameDialog.h"

#include <QGridLayout>

#include "model/ControlIds.h"
#include "ui/DialogTables.h"
#include "ui/FramePlanView.h"
#include "ui/ModelBinder.h"
#include "ui/WidgetFactory.h"

namespace orva {
namespace {

constexpr ControlKey kPlanGroup{Dialog::Frame, 1266};

}  // namespace

FrameDialog::FrameDialog(IWindowCore& core, ModelBinder& binder, QWidget* parent)
    : QDialog(parent), m_core(core), m_binder(binder) {
    setModal(false);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setObjectName(WidgetFactory::objectName(ids::frame::kDialog));

    WidgetFactory factory(m_binder);
    factory.build(frameDialogTable(), this);
    m_binder.bindTitle(ids::frame::kDialog, this);

    m_plan = new FramePlanView(core.framePlan());
    if (QWidget* group = m_binder.widget(kPlanGroup)) {
        static_cast<QGridLayout*>(group->layout())->addWidget(m_plan, 0, 0);
    }
    m_binder.watch(ids::frame::kPlan, [this] { m_plan->update(); });
    m_binder.watch(ids::frame::kFocus, [this] { takeFocus(); });
    m_binder.applyDialog(Dialog::Frame);
}

void FrameDialog::reject() {
    m_core.onUserAction({ActionKind::Click, ids::frame::kCancel});
}

void FrameDialog::takeFocus() {
    const int id = m_core.model().value(ids::frame::kFocus);
    if (id == 0) {
        return;
    }
    if (QWidget* widget = m_binder.widget({Dialog::Frame, id})) {
        widget->setFocus(Qt::OtherFocusReason);
    }
}

}  // namespace orva
