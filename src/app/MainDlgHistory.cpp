// Undo and redo: every write of the window is a step of the open file's history. The file work
// happens in the core's EditHistory before the undo stack moves, so a refused or failed undo
// leaves both where they were; the stack gives the menu its texts and states.
#include <QAction>
#include <QMenu>
#include <QUndoStack>

#include "app/CMainDlg.h"
#include "editor/ControlIds.h"
#include "editor/WriteSummary.h"
#include "guicommon/Latin1.h"
#include "guicommon/UserPrompts.h"
#include "platform/FileAccess.h"
#include "rulesfile/ValueLabel.h"

namespace morvane::app {
namespace {

// One entry of the undo stack: its text only; EditHistory holds the bytes and labels.
class HistoryEntry : public QUndoCommand {
public:
    explicit HistoryEntry(const QString& text) { setText(text); }
    void undo() override {}
    void redo() override {}
};

}  // namespace

void CMainDlg::BuildHistoryActions(QMenu* edit) {
    m_undoStack = new QUndoStack(this);
    QAction* undo = edit->addAction(QStringLiteral("&Undo"));
    undo->setShortcut(QKeySequence::Undo);
    QAction* redo = edit->addAction(QStringLiteral("&Redo"));
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(QKeySequence::Redo)});
    for (QAction* action : {undo, redo}) action->setEnabled(false);
    connect(undo, &QAction::triggered, this, &CMainDlg::OnUndo);
    connect(redo, &QAction::triggered, this, &CMainDlg::OnRedo);
    connect(m_undoStack, &QUndoStack::canUndoChanged, undo, &QAction::setEnabled);
    connect(m_undoStack, &QUndoStack::canRedoChanged, redo, &QAction::setEnabled);
    connect(m_undoStack, &QUndoStack::undoTextChanged, undo, [undo](const QString& text) {
        undo->setText(text.isEmpty() ? QStringLiteral("&Undo") : QStringLiteral("&Undo ") + text);
    });
    connect(m_undoStack, &QUndoStack::redoTextChanged, redo, [redo](const QString& text) {
        redo->setText(text.isEmpty() ? QStringLiteral("&Redo") : QStringLiteral("&Redo ") + text);
    });
    m_commands[control::kUndoMenuItem] = undo;
    m_commands[control::kRedoMenuItem] = redo;
    edit->addSeparator();
}

void CMainDlg::ForgetHistory() {
    m_history.Clear();
    if (m_undoStack != nullptr) m_undoStack->clear();
}

void CMainDlg::RecordWrite(const std::string& description, const std::function<bool()>& write) {
    const TreeItem item = m_editor->m_hCurItem;
    const std::string before = platform::ReadFileBytes(m_strRulesPath).value_or("");
    const std::vector<std::string> labels = TakeLabels(m_tree);
    m_lastMessage.clear();
    const bool written = write();
    RefreshPending();
    if (!written) {
        if (!m_lastMessage.empty()) ShowStatus(ToQt(m_lastMessage).replace('\n', ' '));
        return;
    }
    if (description == "Apply" || description == "Default") ShowStatus(ToQt(DescribeItemWrite(m_tree, m_items, item)));
    EditStep step{description, before, platform::ReadFileBytes(m_strRulesPath).value_or(""),
                  ChangedLabels(labels, m_tree)};
    if (step.bytesAfter == step.bytesBefore && step.labels.empty()) return;
    if (item != kNoItem && description.find(' ') == std::string::npos)
        step.description += " " + KeyOfLabel(m_tree.GetItemText(item));
    const QString text = ToQt(step.description);
    m_history.Record(std::move(step));
    m_undoStack->push(new HistoryEntry(text));
}

void CMainDlg::ShowCurrentItemAgain() {
    // The controls follow the restored label, as after a fresh selection.
    if (m_editor->m_hCurItem != kNoItem) m_editor->OnSelchangedTree(m_editor->m_hCurItem);
    RefreshPending();
}

bool CMainDlg::ConfirmDiscardForHistory() {
    if (m_editor->m_hCurItem == kNoItem || !m_editor->HasPendingEdit()) return true;
    const std::string key = KeyOfLabel(m_tree.GetItemText(m_editor->m_hCurItem));
    return m_prompts.AskLabelled(this,
                                 ToQt("The value of " + key +
                                      " was changed but not applied; the controls will show the value the "
                                      "file is given back."),
                                 QStringLiteral("Morvane"), QMessageBox::Discard | QMessageBox::Cancel,
                                 {}) == QMessageBox::Discard;
}

void CMainDlg::OnUndo() {
    if (!m_history.CanUndo() || !ConfirmDiscardForHistory()) return;
    bool evenIfChanged = false;
    if (m_history.CheckUndo(m_strRulesPath) == EditHistory::FileState::Changed) {
        const auto answer = m_prompts.AskLabelled(
            this,
            ToQt(m_strRulesPath + " changed on disk since \"" + m_history.NextUndo().description +
                 "\".\nUndo puts back the whole file as it was before that step; the changes made since are lost."),
            QStringLiteral("Morvane"), QMessageBox::Yes | QMessageBox::Cancel,
            {{QMessageBox::Yes, QStringLiteral("Undo and Replace the File")}});
        if (answer != QMessageBox::Yes) return;
        evenIfChanged = true;
    }
    const std::string description = m_history.NextUndo().description;
    if (const int error = m_history.Undo(m_strRulesPath, m_tree, evenIfChanged)) {
        ShowMessage("Unable To Undo, Error Number: " + std::to_string(error) + " \n" + m_strRulesPath, m_strRulesPath);
        ShowStatus(ToQt("Undo failed: error " + std::to_string(error)));
        return;
    }
    m_undoStack->undo();
    // A file replaced over another program's change: every label is read from it again.
    if (evenIfChanged && m_watch != nullptr)
        ReloadLabels();
    else
        FileWritten();
    ShowCurrentItemAgain();
    ShowStatus(ToQt("Undid " + description));
}

void CMainDlg::OnRedo() {
    if (!m_history.CanRedo() || !ConfirmDiscardForHistory()) return;
    bool evenIfChanged = false;
    if (m_history.CheckRedo(m_strRulesPath) == EditHistory::FileState::Changed) {
        const auto answer = m_prompts.AskLabelled(
            this,
            ToQt(m_strRulesPath + " changed on disk since \"" + m_history.NextRedo().description +
                 "\" was undone.\nRedo puts back the whole file as that step left it; the changes made since are "
                 "lost."),
            QStringLiteral("Morvane"), QMessageBox::Yes | QMessageBox::Cancel,
            {{QMessageBox::Yes, QStringLiteral("Redo and Replace the File")}});
        if (answer != QMessageBox::Yes) return;
        evenIfChanged = true;
    }
    const std::string description = m_history.NextRedo().description;
    if (const int error = m_history.Redo(m_strRulesPath, m_tree, evenIfChanged)) {
        ShowMessage("Unable To Redo, Error Number: " + std::to_string(error) + " \n" + m_strRulesPath, m_strRulesPath);
        ShowStatus(ToQt("Redo failed: error " + std::to_string(error)));
        return;
    }
    m_undoStack->redo();
    // A file replaced over another program's change: every label is read from it again.
    if (evenIfChanged && m_watch != nullptr)
        ReloadLabels();
    else
        FileWritten();
    ShowCurrentItemAgain();
    ShowStatus(ToQt("Redid " + description));
}

}  // namespace morvane::app
