#include "ui/COrvaDlg.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "model/ControlIds.h"

namespace orva {

COrvaDlg::COrvaDlg(OrvaCore& core, QWidget* parent)
    : QDialog(parent),
      m_core(core),
      m_portCombo(new QComboBox(this)),
      m_portDevice(new QLabel(this)),
      m_refresh(new QPushButton(QStringLiteral("刷  新"), this)),
      m_versionCaption(new QLabel(QStringLiteral("固件版本: V"), this)),
      m_versionText(new QLineEdit(this)),
      m_status(new QLineEdit(this)) {
    for (int i = 1; i <= OrvaCore::kPortCount; ++i) {
        m_portCombo->addItem(QStringLiteral("COM%1").arg(i));
    }
    m_versionText->setReadOnly(true);
    m_status->setReadOnly(true);
    m_status->setAlignment(Qt::AlignCenter);

    auto* row = new QHBoxLayout;
    row->addWidget(m_portCombo);
    row->addWidget(m_refresh);
    row->addWidget(m_versionCaption);
    row->addWidget(m_versionText);
    row->addWidget(m_status);
    auto* column = new QVBoxLayout(this);
    column->addLayout(row);
    column->addWidget(m_portDevice);

    connect(m_portCombo, &QComboBox::activated, this,
            [this](int index) {
                m_core.onUserAction({ActionKind::Select, ids::main::kPortCombo, index});
            });
    connect(m_refresh, &QPushButton::clicked, this,
            [this] { m_core.onUserAction({ActionKind::Click, ids::main::kRefresh}); });
    m_core.model().setListener([this](ControlKey key) { refresh(key); });
    refreshAll();
}

void COrvaDlg::refresh(ControlKey key) {
    const WindowModel& model = m_core.model();
    if (key == ids::main::kPortCombo) {
        m_portCombo->setCurrentIndex(model.value(key));
    } else if (key == ids::main::kStatus) {
        m_status->setText(QString::fromStdString(model.text(key)));
    } else if (key == ids::main::kVersionText) {
        m_versionText->setText(QString::fromStdString(model.text(key)));
    } else if (key == ids::main::kVersionCaption) {
        m_versionCaption->setText(QString::fromStdString(model.text(key)));
    } else if (key == ids::main::kPortDevice) {
        m_portDevice->setText(QString::fromStdString(model.text(key)));
    }
}

void COrvaDlg::refreshAll() {
    for (ControlKey key : {ids::main::kPortCombo, ids::main::kStatus, ids::main::kVersionText,
                           ids::main::kVersionCaption, ids::main::kPortDevice}) {
        refresh(key);
    }
}

void COrvaDlg::keyPressEvent(QKeyEvent* event) {
    // Enter and Escape never close the window nor press a button.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
        event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace orva
