#include "ui/COrvaDlg.h"

#include <QApplication>
#include <QKeyEvent>

#include "model/ControlIds.h"
#include "ui/DialogTables.h"
#include "ui/FrameDialog.h"
#include "ui/ModelBinder.h"
#include "ui/PageHost.h"
#include "ui/WidgetFactory.h"

namespace orva {
namespace {

// Tab item texts in tab order; they never follow the language switch.
constexpr const char* kTabItems[kPageCount] = {
    "基础参数设置", "自定义功能及数据显示", "GPS参数设置", "云台参数设置", "电压显示及报警设置",
};

bool isEnterOrEscape(const QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
}

}  // namespace

COrvaDlg::COrvaDlg(IWindowCore& core, QWidget* parent)
    : QDialog(parent), m_core(core), m_binder(new ModelBinder(core, this)) {
    setWindowTitle(QStringLiteral("Orva"));
    setWindowFlag(Qt::WindowMinimizeButtonHint, true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    WidgetFactory factory(*m_binder);
    factory.build(mainWindowTable(), this);
    m_pages = factory.pageHost();
    const auto pages = pageTables();
    for (int i = 0; i < kPageCount; ++i) {
        auto* page = new QWidget;
        factory.build(pages[i], page);
        m_pages->addPage(page, QString::fromUtf8(kTabItems[i]));
        m_binder->bindPage({pages[i].dialog, 0}, m_pages, i);
    }
    m_binder->bindTitle(ids::main::kWindowTitle, this);
    m_binder->watch(ids::frame::kDialog, [this] { syncFrameDialog(); });
    m_binder->attach();

    // Enter and Escape are taken before any control of this window sees them.
    qApp->installEventFilter(this);
}

COrvaDlg::~COrvaDlg() {
    qApp->removeEventFilter(this);
}

QWidget* COrvaDlg::control(ControlKey key) const {
    return m_binder->widget(key);
}

bool COrvaDlg::eventFilter(QObject* watched, QEvent* event) {
    if (isEnterOrEscape(event) && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        // Popups and message boxes are windows of their own and keep their keys.
        if (widget == this || isAncestorOf(widget)) {
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void COrvaDlg::syncFrameDialog() {
    const bool shown = m_core.model().visible(ids::frame::kDialog);
    if (shown && m_frameDialog == nullptr) {
        m_frameDialog = new FrameDialog(m_core, *m_binder, this);
    }
    if (m_frameDialog == nullptr) {
        return;
    }
    if (shown) {
        m_frameDialog->show();
        m_frameDialog->raise();
        m_frameDialog->activateWindow();
    } else {
        m_frameDialog->hide();
    }
}

void COrvaDlg::reject() {
    if (m_core.onCloseRequested()) {
        QDialog::reject();
    }
}

}  // namespace orva
