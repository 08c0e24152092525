#include "guicommon/UserPrompts.h"

#include <QAbstractButton>
#include <QDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QScreen>

namespace morvane::guicommon {
namespace {

// A window whose parent is not on screen yet (at start-up) belongs in the middle of the screen;
// Qt would centre it over the hidden parent, at the top left.
bool ParentShown(const QWidget* parent) { return parent != nullptr && parent->isVisible(); }

void CentreOnScreen(QWidget& window) {
    QScreen* screen = window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    window.adjustSize();
    window.move(screen->availableGeometry().center() - window.rect().center());
}

}  // namespace

QMessageBox::StandardButton SafeButton(QMessageBox::StandardButtons buttons) {
    for (const QMessageBox::StandardButton safe : {QMessageBox::Cancel, QMessageBox::No, QMessageBox::Abort})
        if (buttons.testFlag(safe)) return safe;
    return QMessageBox::NoButton;
}

void QtPrompts::ShowMessage(QWidget* parent, const QString& text, const QString& caption, QMessageBox::Icon icon) {
    QMessageBox box(icon, caption, text, QMessageBox::Ok, ParentShown(parent) ? parent : nullptr);
    box.exec();
}

QMessageBox::StandardButton QtPrompts::Ask(QWidget* parent, const QString& text, const QString& caption,
                                           QMessageBox::StandardButtons buttons) {
    QMessageBox box(QMessageBox::Question, caption, text, buttons, ParentShown(parent) ? parent : nullptr);
    box.setDefaultButton(SafeButton(buttons));
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QMessageBox::StandardButton QtPrompts::AskLabelled(QWidget* parent, const QString& text, const QString& caption,
                                                   QMessageBox::StandardButtons buttons, const ButtonLabels& labels) {
    QMessageBox box(QMessageBox::Question, caption, text, buttons, parent);
    for (auto label = labels.begin(); label != labels.end(); ++label)
        if (QAbstractButton* button = box.button(label.key())) button->setText(label.value());
    box.setDefaultButton(SafeButton(buttons));
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

int QtPrompts::Exec(QDialog& dialog) {
    if (!ParentShown(dialog.parentWidget())) CentreOnScreen(dialog);
    return dialog.exec();
}

}  // namespace morvane::guicommon
