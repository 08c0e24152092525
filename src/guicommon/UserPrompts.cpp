#include "guicommon/UserPrompts.h"

#include <QAbstractButton>
#include <QDialog>
#include <QFileDialog>

namespace morvane::app {

void QtPrompts::ShowMessage(QWidget* parent, const QString& text, const QString& caption, QMessageBox::Icon icon) {
    QMessageBox box(icon, caption, text, QMessageBox::Ok, parent);
    box.exec();
}

QMessageBox::StandardButton QtPrompts::Ask(QWidget* parent, const QString& text, const QString& caption,
                                           QMessageBox::StandardButtons buttons) {
    QMessageBox box(QMessageBox::Question, caption, text, buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QMessageBox::StandardButton QtPrompts::AskLabelled(QWidget* parent, const QString& text, const QString& caption,
                                                   QMessageBox::StandardButtons buttons, const ButtonLabels& labels) {
    QMessageBox box(QMessageBox::Question, caption, text, buttons, parent);
    for (auto label = labels.begin(); label != labels.end(); ++label)
        if (QAbstractButton* button = box.button(label.key())) button->setText(label.value());
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QString QtPrompts::ChooseOpenFile(QWidget* parent, const QString& caption, const QString& startPath,
                                  const QString& filter) {
    return QFileDialog::getOpenFileName(parent, caption, startPath, filter);
}

QString QtPrompts::ChooseSaveFile(QWidget* parent, const QString& caption, const QString& startPath,
                                  const QString& filter) {
    return QFileDialog::getSaveFileName(parent, caption, startPath, filter);
}

QString QtPrompts::ChooseNewFile(QWidget* parent, const QString& caption, const QString& startPath,
                                 const QString& filter) {
    return QFileDialog::getSaveFileName(parent, caption, startPath, filter, nullptr, QFileDialog::DontConfirmOverwrite);
}

int QtPrompts::Exec(QDialog& dialog) { return dialog.exec(); }

}  // namespace morvane::app
