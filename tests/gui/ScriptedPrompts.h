#pragma once

#include <QDialog>
#include <QStringList>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "guicommon/UserPrompts.h"

namespace morvane::test {

// Answers the program's questions from a script and keeps every message it shows.
class ScriptedPrompts : public guicommon::UserPrompts {
public:
    struct Message {
        QString text;
        QString caption;
    };

    void ShowMessage(QWidget*, const QString& text, const QString& caption, QMessageBox::Icon) override {
        messages.push_back({text, caption});
    }
    QMessageBox::StandardButton Ask(QWidget*, const QString& text, const QString&,
                                    QMessageBox::StandardButtons) override {
        questions << text;
        if (answers.empty()) return QMessageBox::Cancel;
        const auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
    QMessageBox::StandardButton AskLabelled(QWidget* parent, const QString& text, const QString& caption,
                                            QMessageBox::StandardButtons buttons, const ButtonLabels& labels) override {
        buttonLabels << QStringList(labels.values());
        return Ask(parent, text, caption, buttons);
    }
    QString ChooseOpenFile(QWidget*, const QString&, const QString& startPath, const QString&) override {
        startPaths << startPath;
        return Next(files);
    }
    QString ChooseSaveFile(QWidget*, const QString&, const QString& startPath, const QString&) override {
        startPaths << startPath;
        return Next(files);
    }
    int Exec(QDialog& dialog) override {
        if (dialogs.empty()) return QDialog::Rejected;
        auto handler = std::move(dialogs.front());
        dialogs.pop_front();
        return handler(dialog);
    }

    std::vector<Message> messages;
    QStringList questions;
    QList<QStringList> buttonLabels;  // of each labelled question
    QStringList startPaths;
    std::deque<QMessageBox::StandardButton> answers;
    std::deque<QString> files;
    std::deque<std::function<int(QDialog&)>> dialogs;

private:
    static QString Next(std::deque<QString>& queue) {
        if (queue.empty()) return {};
        QString next = queue.front();
        queue.pop_front();
        return next;
    }
};

}  // namespace morvane::test
