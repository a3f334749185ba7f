#include "ui/PageHost.h"

#include <QSignalBlocker>
#include <QVBoxLayout>

namespace orva {

PageHost::PageHost(QWidget* parent)
    : QWidget(parent), m_tabs(new QTabBar(this)), m_pages(new QStackedWidget(this)) {
    m_tabs->setDrawBase(false);
    m_tabs->setExpanding(false);
    m_pages->setFrameShape(QFrame::StyledPanel);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(m_tabs);
    column->addWidget(m_pages, 1);
    connect(m_tabs, &QTabBar::currentChanged, this, &PageHost::tabSelected);
}

void PageHost::addPage(QWidget* page, const QString& tabText) {
    const QSignalBlocker blocker(m_tabs);
    m_tabs->addTab(tabText);
    m_pages->addWidget(page);
}

void PageHost::selectTab(int index) {
    if (index >= 0 && index < m_tabs->count() && index != m_tabs->currentIndex()) {
        const QSignalBlocker blocker(m_tabs);
        m_tabs->setCurrentIndex(index);
    }
}

void PageHost::setTabText(int index, const QString& text) {
    m_tabs->setTabText(index, text);
}

void PageHost::showPage(int index) {
    if (index >= 0 && index < m_pages->count()) {
        m_pages->setCurrentIndex(index);
    }
}

}  // namespace orva
