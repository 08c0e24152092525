#pragma once

#include <QMap>
#include <QMessageBox>
#include <QString>

class QDialog;
class QWidget;

namespace morvane::guicommon {

// Everything that waits for the user: message boxes, questions, file choosers and modal dialogs.
// The program uses the real ones; tests answer them.
class UserPrompts {
public:
    virtual ~UserPrompts() = default;
    // A message with one OK button.
    virtual void ShowMessage(QWidget* parent, const QString& text, const QString& caption,
                             QMessageBox::Icon icon = QMessageBox::NoIcon) = 0;
    virtual QMessageBox::StandardButton Ask(QWidget* parent, const QString& text, const QString& caption,
                                            QMessageBox::StandardButtons buttons) = 0;
    // A question whose buttons say what they do ("Apply and Close"); the answer is still the
    // standard button. Without its own implementation the labels are left out.
    using ButtonLabels = QMap<QMessageBox::StandardButton, QString>;
    virtual QMessageBox::StandardButton AskLabelled(QWidget* parent, const QString& text, const QString& caption,
                                                    QMessageBox::StandardButtons buttons, const ButtonLabels& labels) {
        static_cast<void>(labels);
        return Ask(parent, text, caption, buttons);
    }
    // A file to open or to save; empty when the user cancels. `startPath` may name a file.
    virtual QString ChooseOpenFile(QWidget* parent, const QString& caption, const QString& startPath,
                                   const QString& filter) = 0;
    virtual QString ChooseSaveFile(QWidget* parent, const QString& caption, const QString& startPath,
                                   const QString& filter) = 0;
    // A name for a new file, where the caller itself asks about replacing an existing one.
    virtual QString ChooseNewFile(QWidget* parent, const QString& caption, const QString& startPath,
                                  const QString& filter) {
        return ChooseSaveFile(parent, caption, startPath, filter);
    }
    // Runs a dialog modally; its result (QDialog::Accepted or Rejected).
    virtual int Exec(QDialog& dialog) = 0;
};

// The button a question falls back on (focused, and what Enter presses): the one that changes
// nothing (Cancel, No), if the question has one.
QMessageBox::StandardButton SafeButton(QMessageBox::StandardButtons buttons);

// The real prompts: Qt's message boxes and file dialogs; every question has its safe button as
// the default.
class QtPrompts : public UserPrompts {
public:
    void ShowMessage(QWidget* parent, const QString& text, const QString& caption, QMessageBox::Icon icon) override;
    QMessageBox::StandardButton Ask(QWidget* parent, const QString& text, const QString& caption,
                                    QMessageBox::StandardButtons buttons) override;
    QMessageBox::StandardButton AskLabelled(QWidget* parent, const QString& text, const QString& caption,
                                            QMessageBox::StandardButtons buttons, const ButtonLabels& labels) override;
    QString ChooseOpenFile(QWidget* parent, const QString& caption, const QString& startPath,
                           const QString& filter) override;
    QString ChooseSaveFile(QWidget* parent, const QString& caption, const QString& startPath,
                           const QString& filter) override;
    QString ChooseNewFile(QWidget* parent, const QString& caption, const QString& startPath,
                          const QString& filter) override;
    int Exec(QDialog& dialog) override;
};

}  // namespace morvane::guicommon
