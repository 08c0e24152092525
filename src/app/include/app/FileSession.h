#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "editor/EditHistory.h"
#include "rulesfile/MessageSink.h"
#include "rulesfile/RulesFileAccess.h"
#include "tree/Tree.h"

class QWidget;

namespace morvane::guicommon {
class UserPrompts;
}  // namespace morvane::guicommon

namespace morvane::app {

class RulesFileWatch;

// The open rules file as the window works on it: where it is, the watch that notices other
// programs' changes, the history of the window's own writes, and the bracket every write goes
// through (PrepareWrite before, FileWritten after) so that nothing is written from values older
// than the file. Write failures of the core come here as messages.
class FileSession : public QObject, public MessageSink {
    Q_OBJECT
public:
    FileSession(guicommon::UserPrompts& prompts, QWidget* window);
    ~FileSession() override;

    RulesFileAccess& Rules() { return m_rules; }
    const std::string& Path() const { return m_rules.RulesPath(); }
    // Starts on a file whose bytes the caller has just read: watches it; with `freshHistory` the
    // steps of the previous file go.
    void Open(const std::string& path, const std::optional<std::string>& bytes, bool freshHistory = true);

    // Before a write: makes sure the labels are not older than the file (asks the window to read
    // them again when they are; `reloaded` tells) and asks before writing to a file that is gone.
    // False: write nothing.
    bool PrepareWrite(bool* reloaded = nullptr);
    // After a write: the file as it is now is the one the window shows.
    void FileWritten();
    // A check or write ends without writing: looks at news that came meanwhile.
    void EndWrite();
    // The window has read every label from the file again.
    void Remember();
    // Reads the labels again when another program changed the file; the watcher calls it.
    void CheckRulesFile();
    // Save As: a copy of the file, or of what it held when it was deleted under the window.
    int SaveCopyAs(const std::string& path);

    // Runs one write and records what it changed, as its locked edits report it, as an
    // undoable step named `description`. False when nothing was written; LastMessage() then
    // says why, if the core said.
    bool RecordWrite(const std::string& description, Tree& tree, const std::function<bool()>& write);
    // Undo or redo of the last step: the step's description, or nothing when nothing moved
    // (refused, failed or nothing to do).
    std::optional<std::string> Undo(Tree& tree) { return Move(EditHistory::Direction::Back, tree); }
    std::optional<std::string> Redo(Tree& tree) { return Move(EditHistory::Direction::Forward, tree); }
    bool CanUndo() const { return m_history.CanUndo(); }
    bool CanRedo() const { return m_history.CanRedo(); }
    // The description of the step Undo (or Redo) would move; empty when there is none.
    std::string NextDescription(EditHistory::Direction direction) const;
    const EditHistory& History() const { return m_history; }
    void ForgetHistory();

    const std::string& LastMessage() const { return m_lastMessage; }
    void ShowMessage(const std::string& text, const std::string& caption) override;

signals:
    // Another program changed the file: the window reads every label again.
    void ReloadNeeded();
    // A line for the status bar.
    void Status(const QString& text);
    // A step was recorded, undone or redone, or the history was forgotten.
    void HistoryChanged();

private:
    bool MayWrite(bool& reloaded);
    bool MayWriteNonRules();
    std::optional<std::string> Move(EditHistory::Direction direction, Tree& tree);

    guicommon::UserPrompts& m_prompts;
    QWidget* m_window;
    RulesFileAccess m_rules;
    RulesFileWatch* m_watch = nullptr;
    bool m_checkingFile = false;    // a check or a write is under way: the watcher's news waits
    bool m_missedFileNews = false;  // news came while it waited
    EditHistory m_history;
    std::string m_lastMessage;
    QString m_notRules;  // why the open file does not look like a rules file; asked before a write
};

}  // namespace morvane::app
