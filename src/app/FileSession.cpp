// The rules file changing under the window: another program edits, replaces or deletes it while
// the window shows its values. The labels are the window's copy of the file, so they are read
// again whenever the file is no longer the one they came from, and nothing is written from a
// label older than the file. Every write of the window is a step of the file's history; the file
// work happens in the core's EditHistory before the undo stack moves, so a refused or failed
// undo leaves both where they were; the stack gives the menu its texts and states.
#include "app/FileSession.h"

#include <QUndoStack>
#include <QWidget>

#include "app/RulesFileWatch.h"
#include "gamesetup/GameSetup.h"
#include "guicommon/FileNames.h"
#include "guicommon/Latin1.h"
#include "guicommon/UserPrompts.h"
#include "platform/FileAccess.h"

namespace morvane::app {
namespace {

// Sets a flag for as long as it lives.
class FlagWhile {
public:
    explicit FlagWhile(bool& flag) : m_flag(flag) { m_flag = true; }
    ~FlagWhile() { m_flag = false; }
    FlagWhile(const FlagWhile&) = delete;
    FlagWhile& operator=(const FlagWhile&) = delete;

private:
    bool& m_flag;
};

const QString kCaption = QStringLiteral("Morvane");

// Why the bytes do not look like a rules file (empty when they do): binary bytes, or text
// without a single section header. An empty file is a rules file still to be written.
QString NotRulesReason(const std::optional<std::string>& bytes) {
    if (!bytes || bytes->empty()) return {};
    if (bytes->find('\0') != std::string::npos) return QStringLiteral("it holds binary bytes");
    std::size_t start = 0;
    while (start < bytes->size()) {
        std::size_t end = bytes->find('\n', start);
        if (end == std::string::npos) end = bytes->size();
        std::size_t first = bytes->find_first_not_of(" \t\r", start);
        if (first < end && (*bytes)[first] == '[') return {};
        start = end + 1;
    }
    return QStringLiteral("it has no [section] header");
}

// One entry of the undo stack: its text only; EditHistory holds the bytes and labels.
class HistoryEntry : public QUndoCommand {
public:
    explicit HistoryEntry(const QString& text) { setText(text); }
    void undo() override {}
    void redo() override {}
};

}  // namespace

FileSession::FileSession(UserPrompts& prompts, QWidget* window)
    : QObject(window), m_prompts(prompts), m_window(window), m_rules(*this), m_undoStack(new QUndoStack(this)) {}

FileSession::~FileSession() = default;

void FileSession::ShowMessage(const std::string& text, const std::string& caption) {
    m_lastMessage = text;
    m_prompts.ShowMessage(m_window, PathToQt(text), PathToQt(caption));
}

void FileSession::Open(const std::string& path, const std::optional<std::string>& bytes, bool freshHistory) {
    if (freshHistory) ForgetHistory();
    m_rules.SetRulesPath(path);
    if (m_watch == nullptr) {
        m_watch = new RulesFileWatch(this);
        connect(m_watch, &RulesFileWatch::Touched, this, &FileSession::CheckRulesFile);
    }
    m_watch->Watch(path);
    m_notRules = NotRulesReason(bytes);
    if (!m_notRules.isEmpty())
        emit Status(QStringLiteral("%1 does not look like a rules file: %2. Morvane asks before it writes to it.")
                        .arg(PathToQt(path), m_notRules));
}

void FileSession::Remember() {
    if (m_watch != nullptr) m_watch->Remember();
}

void FileSession::CheckRulesFile() {
    if (m_watch == nullptr) return;
    if (m_checkingFile) {
        m_missedFileNews = true;  // looked at once the check or write is over
        return;
    }
    const FlagWhile checking(m_checkingFile);
    const QString path = PathToQt(m_watch->Path());
    switch (m_watch->Check()) {
        case RulesFileWatch::State::Unchanged:
            return;
        case RulesFileWatch::State::Changed:
            emit ReloadNeeded();
            return;
        case RulesFileWatch::State::Gone:
            emit Status(QStringLiteral("The rules file was deleted or moved away: %1. Nothing is written to it "
                                       "unless you say so.")
                            .arg(path));
            return;
        case RulesFileWatch::State::NotAFile:
            emit Status(QStringLiteral("The rules file is no longer a regular file: %1. Nothing can be written "
                                       "to it; Save As keeps the values in another file.")
                            .arg(path));
            return;
    }
}

int FileSession::SaveCopyAs(const std::string& path) {
    // A file deleted under the window lives on in the values it shows.
    if (m_watch != nullptr && m_watch->Check() == RulesFileWatch::State::Gone && m_watch->LastContents())
        return platform::ReplaceFileAtomically(path, *m_watch->LastContents());
    return gamesetup::CopyRulesFile(Path(), path);
}

bool FileSession::PrepareWrite(bool* reloaded) {
    bool ignored = false;
    bool& didReload = reloaded != nullptr ? *reloaded : ignored;
    didReload = false;
    if (m_watch == nullptr) return true;
    // From here until FileWritten no event may rebuild the tree: a write in progress (Match All
    // walks the tree) may show a message, and its event loop would deliver the watcher's news.
    m_checkingFile = true;
    if (MayWrite(didReload) && MayWriteNonRules()) return true;
    EndWrite();
    return false;
}

bool FileSession::MayWriteNonRules() {
    if (m_notRules.isEmpty()) return true;
    const auto answer = m_prompts.AskLabelled(
        m_window,
        QStringLiteral("%1\ndoes not look like a rules file: %2.\n\nWriting a value adds a line to it; the game "
                       "reads only rules files. Write to this file anyway?")
            .arg(PathToQt(Path()), m_notRules),
        kCaption, QMessageBox::Yes | QMessageBox::Cancel, {{QMessageBox::Yes, QStringLiteral("Write Anyway")}});
    if (answer != QMessageBox::Yes) {
        emit Status(QStringLiteral("Nothing was written: the file does not look like a rules file."));
        return false;
    }
    m_notRules.clear();  // asked once per file
    return true;
}

void FileSession::EndWrite() {
    m_checkingFile = false;
    if (!m_missedFileNews) return;
    m_missedFileNews = false;
    CheckRulesFile();
}

bool FileSession::MayWrite(bool& reloaded) {
    const std::string& path = m_watch->Path();
    switch (m_watch->Check()) {
        case RulesFileWatch::State::Unchanged:
            return true;
        case RulesFileWatch::State::Changed:
            emit ReloadNeeded();
            reloaded = true;
            return true;
        case RulesFileWatch::State::NotAFile:
            m_prompts.ShowMessage(m_window,
                                  QStringLiteral("%1\nis no longer a regular file (it is a folder, a device or a "
                                                 "pipe now). Nothing was written.\nSave As keeps the values in "
                                                 "another file.")
                                      .arg(PathToQt(path)),
                                  kCaption, QMessageBox::Warning);
            return false;
        case RulesFileWatch::State::Gone:
            break;
    }
    // Writing one key now would leave a file of that key alone: offer the whole file back.
    const std::optional<std::string>& contents = m_watch->LastContents();
    if (!contents) {
        m_prompts.ShowMessage(
            m_window,
            QStringLiteral("The rules file was deleted or moved away:\n%1\nNothing was written.").arg(PathToQt(path)),
            kCaption, QMessageBox::Warning);
        return false;
    }
    const auto answer = m_prompts.Ask(
        m_window,
        QStringLiteral("The rules file was deleted or moved away:\n%1\n\nCreate it again with the values this "
                       "window shows, and then write this change?")
            .arg(PathToQt(path)),
        kCaption, QMessageBox::Yes | QMessageBox::Cancel);
    if (answer != QMessageBox::Yes) {
        emit Status(QStringLiteral("Nothing was written: the rules file is gone (%1).").arg(PathToQt(path)));
        return false;
    }
    if (const int error = platform::ReplaceFileAtomically(path, *contents)) {
        m_prompts.ShowMessage(m_window, PathToQt(platform::DescribeFileError(error, path)), kCaption,
                              QMessageBox::Warning);
        return false;
    }
    m_watch->Watch(path);
    emit Status(QStringLiteral("The rules file was created again: %1.").arg(PathToQt(path)));
    return true;
}

void FileSession::FileWritten() {
    if (m_watch == nullptr) return;
    // News that came while the write showed a message may be another program's change: read
    // the file rather than take it as the window's own.
    if (m_missedFileNews) {
        m_checkingFile = false;
        m_missedFileNews = false;
        emit ReloadNeeded();
        return;
    }
    m_checkingFile = false;
    m_watch->Remember();
}

void FileSession::ForgetHistory() {
    m_history.Clear();
    m_undoStack->clear();
}

bool FileSession::RecordWrite(const std::string& description, Tree& tree, const std::function<bool()>& write) {
    const std::string before = platform::ReadFileBytes(Path()).value_or("");
    const LabelPicture labels = TakeLabels(tree);
    m_lastMessage.clear();
    if (!write()) return false;
    EditStep step{description, before, platform::ReadFileBytes(Path()).value_or(""), ChangedLabels(labels, tree)};
    if (step.bytesAfter == step.bytesBefore && step.labels.empty()) return true;
    const QString text = ToQt(step.description);
    m_history.Record(std::move(step));
    m_undoStack->push(new HistoryEntry(text));
    return true;
}

std::optional<std::string> FileSession::Step(bool undo, Tree& tree) {
    const std::string& path = Path();
    if (undo ? !m_history.CanUndo() : !m_history.CanRedo()) return std::nullopt;
    const std::string description = undo ? m_history.NextUndo().description : m_history.NextRedo().description;
    bool evenIfChanged = false;
    const auto state = undo ? m_history.CheckUndo(path) : m_history.CheckRedo(path);
    if (state == EditHistory::FileState::Changed) {
        const std::string question =
            undo ? path + " changed on disk since \"" + description +
                       "\".\nUndo puts back the whole file as it was before that step; the changes made since are "
                       "lost."
                 : path + " changed on disk since \"" + description +
                       "\" was undone.\nRedo puts back the whole file as that step left it; the changes made since "
                       "are lost.";
        const auto answer =
            m_prompts.AskLabelled(m_window, ToQt(question), kCaption, QMessageBox::Yes | QMessageBox::Cancel,
                                  {{QMessageBox::Yes, undo ? QStringLiteral("Undo and Replace the File")
                                                           : QStringLiteral("Redo and Replace the File")}});
        if (answer != QMessageBox::Yes) return std::nullopt;
        evenIfChanged = true;
    }
    const char* verb = undo ? "Undo" : "Redo";
    if (const int error =
            undo ? m_history.Undo(path, tree, evenIfChanged) : m_history.Redo(path, tree, evenIfChanged)) {
        ShowMessage(std::string("Unable To ") + verb + ", Error Number: " + std::to_string(error) + " \n" + path, path);
        emit Status(ToQt(std::string(verb) + " failed: error " + std::to_string(error)));
        return std::nullopt;
    }
    if (undo)
        m_undoStack->undo();
    else
        m_undoStack->redo();
    // A file replaced over another program's change: every label is read from it again.
    if (evenIfChanged && m_watch != nullptr)
        emit ReloadNeeded();
    else
        FileWritten();
    return description;
}

}  // namespace morvane::app
