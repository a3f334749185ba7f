#include "ui/QtPrompts.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

namespace orva {
namespace {

QMessageBox::StandardButton toQt(MessageResult r) {
    switch (r) {
        case MessageResult::Ok:
            return QMessageBox::Ok;
        case MessageResult::Cancel:
            return QMessageBox::Cancel;
        case MessageResult::Yes:
            return QMessageBox::Yes;
        case MessageResult::No:
            return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

// "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||" becomes "Text Files (*.txt);;All Files (*.*)".
QString toQtFilter(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split('|', Qt::SkipEmptyParts);
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        out << parts[i];
    }
    return out.join(";;");
}

}  // namespace

MessageResult QtPrompts::message(const MessageBox& box) {
    QMessageBox mb(m_parent);
    mb.setWindowTitle(QString::fromStdString(box.title));
    // The texts keep the controller tool's CR line breaks; the box shows each as a new line.
    mb.setText(QString::fromStdString(box.text).replace(QChar('\r'), QChar('\n')));
    switch (box.icon) {
        case MessageIcon::Information:
            mb.setIcon(QMessageBox::Information);
            break;
        case MessageIcon::Warning:
            mb.setIcon(QMessageBox::Warning);
            break;
        case MessageIcon::Error:
            mb.setIcon(QMessageBox::Critical);
            break;
        case MessageIcon::Question:
            mb.setIcon(QMessageBox::Question);
            break;
        case MessageIcon::None:
            break;
    }
    switch (box.buttons) {
        case MessageButtons::Ok:
            mb.setStandardButtons(QMessageBox::Ok);
            break;
        case MessageButtons::OkCancel:
            mb.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case MessageButtons::YesNo:
            mb.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
    }
    mb.setDefaultButton(toQt(box.defaultButton));
    switch (mb.exec()) {
        case QMessageBox::Cancel:
            return MessageResult::Cancel;
        case QMessageBox::Yes:
            return MessageResult::Yes;
        case QMessageBox::No:
            return MessageResult::No;
        default:
            // Closing an OK/Cancel box by its close button counts as Cancel.
            return box.buttons == MessageButtons::Ok                  ? MessageResult::Ok
                   : mb.clickedButton() == mb.button(QMessageBox::Ok) ? MessageResult::Ok
                                                                      : MessageResult::Cancel;
    }
}

std::optional<std::string> QtPrompts::chooseFile(const FileChoice& choice) {
    QFileDialog dialog(m_parent, QString::fromStdString(choice.title));
    dialog.setAcceptMode(choice.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(choice.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // Saving over a file replaces it without a further question.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, choice.save);
    dialog.setNameFilter(toQtFilter(choice.filter));
    if (!choice.defaultSuffix.empty()) {
        dialog.setDefaultSuffix(QString::fromStdString(choice.defaultSuffix));
    }
    if (!choice.defaultName.empty()) {
        dialog.selectFile(QString::fromStdString(choice.defaultName));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().first().toStdString();
}

}  // namespace orva
