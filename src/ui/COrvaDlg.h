#pragma once

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/OrvaCore.h"

namespace orva {

// The main window: draws the core's model and forwards the user's actions to it.
class COrvaDlg : public QDialog {
    Q_OBJECT
public:
    explicit COrvaDlg(OrvaCore& core, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void refresh(ControlKey key);
    void refreshAll();

    OrvaCore& m_core;
    QComboBox* m_portCombo;
    QLabel* m_portDevice;
    QPushButton* m_refresh;
    QLabel* m_versionCaption;
    QLineEdit* m_versionText;
    QLineEdit* m_status;
};

}  // namespace orva
