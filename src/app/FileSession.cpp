// The rules file changing under the window: another program edits, replaces or deletes it while
// the window shows its values. The labels are the window's copy of the file, so they are read
// again whenever the file is no longer the one they came from, and nothing is written from a
// label older than the file. Every write of the window is a step of the core's EditHistory,
// which also gives the menu its texts and states.
#include "app/FileSession.h"

#include <QWidget>

#include "app/RulesFileWatch.h"
#include "gamesetup/GameSetup.h"
#include "guicommon/FileNames.h"
#include "guicommon/Latin1.h"
#include "guicommon/UserPrompts.h"
#include "platform/FileAccess.h"

using morvane::guicommon::PathToQt;
using morvane::guicommon::ToQt;
using morvane::guicommon::UserPrompts;

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

}  // namespace

FileSession::FileSession(UserPrompts& prompts, QWidget* window)
    : QObject(window), m_prompts(prompts), m_window(window), m_rules(*this) {}

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
    m_watch->Watch(path, m_rules.Document());
    m_notRules = NotRulesReason(bytes);
    if (!m_notRules.isEmpty())
        emit Status(QStringLiteral("%1 does not look like a rules file: %2. Morvane asks before it writes to it.")
                        .arg(PathToQt(path), m_notRules));
}

void FileSession::Remember() {
    if (m_watch != nullptr) m_watch->Remember(m_rules.Document());
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
    const std::shared_ptr<const std::string> contents = m_watch->LastContents();
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
    if (const int error = m_rules.Document().Replace(*contents)) {
        m_prompts.ShowMessage(m_window, PathToQt(platform::DescribeFileError(error, path)), kCaption,
                              QMessageBox::Warning);
        return false;
    }
    m_watch->Watch(path, m_rules.Document());
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
    // A write that found another program's change on disk kept it: the labels are older.
    if (m_rules.Document().LastEditKeptOutsideChange()) {
        emit ReloadNeeded();
        return;
    }
    m_watch->Remember(m_rules.Document());
}

void FileSession::ForgetHistory() {
    m_history.Clear();
    emit HistoryChanged();
}

std::string FileSession::NextDescription(EditHistory::Direction direction) const {
    return m_history.CanMove(direction) ? m_history.Next(direction).description : std::string();
}

bool FileSession::RecordWrite(const std::string& description, Tree& tree, const std::function<bool()>& write) {
    const LabelPicture labels = TakeLabels(tree);
    m_lastMessage.clear();
    m_rules.TakeWritten();  // a write outside any step is not part of this one
    const bool written = write();
    EditStep step{description, m_rules.TakeWritten(), ChangedLabels(labels, tree)};
    // A batch that failed part way may still have written some of it: that part is a step too.
    // A change with no record of its lines (a key taken out) cannot be put back: no step.
    if (step.written.Empty()) return written;
    m_history.Record(std::move(step));
    emit HistoryChanged();
    return written;
}

std::optional<std::string> FileSession::Move(EditHistory::Direction direction, Tree& tree) {
    const bool undo = direction == EditHistory::Direction::Back;
    if (!m_history.CanMove(direction)) return std::nullopt;
    const std::string description = m_history.Next(direction).description;
    // The labels must not be older than the file, and a file gone is asked about, as for a write.
    if (!PrepareWrite()) return std::nullopt;
    // Reading a file whose sections changed starts the window afresh, without its history.
    if (!m_history.CanMove(direction)) {
        EndWrite();
        return std::nullopt;
    }
    const std::string& path = Path();
    bool evenIfChanged = false;
    int error = m_history.Move(direction, m_rules.Document(), tree, false);
    if (error == platform::kErrorFileChanged) {
        const std::string question =
            undo ? path + " changed on disk since \"" + description +
                       "\".\nUndo puts back the lines of that step; another program has changed some of them "
                       "since, and those changes are lost."
                 : path + " changed on disk since \"" + description +
                       "\" was undone.\nRedo puts back the lines of that step; another program has changed some "
                       "of them since, and those changes are lost.";
        const auto answer =
            m_prompts.AskLabelled(m_window, ToQt(question), kCaption, QMessageBox::Yes | QMessageBox::Cancel,
                                  {{QMessageBox::Yes, undo ? QStringLiteral("Undo and Replace the File")
                                                           : QStringLiteral("Redo and Replace the File")}});
        if (answer != QMessageBox::Yes) {
            EndWrite();
            return std::nullopt;
        }
        evenIfChanged = true;
        error = m_history.Move(direction, m_rules.Document(), tree, true);
    }
    const char* verb = undo ? "Undo" : "Redo";
    if (error != 0) {
        EndWrite();
        ShowMessage(std::string("Unable To ") + verb + ", Error Number: " + std::to_string(error) + " \n" + path, path);
        emit Status(ToQt(std::string(verb) + " failed: error " + std::to_string(error)));
        return std::nullopt;
    }
    emit HistoryChanged();
    // Lines replaced over another program's change: every label is read from the file again.
    if (evenIfChanged) {
        m_checkingFile = false;
        m_missedFileNews = false;
        emit ReloadNeeded();
    } else {
        FileWritten();
    }
    return description;
}

}  // namespace morvane::app
