// The rules file changing under the window: another program edits, replaces or deletes it while
// the window shows its values. The labels are the window's copy of the file, so they are read
// again whenever the file is no longer the one they came from, and nothing is written from a
// label older than the file.
#include <QLabel>
#include <QStatusBar>
#include <QTreeView>

#include "app/CMainDlg.h"
#include "app/RulesFileWatch.h"
#include "app/RulesTreeModel.h"
#include "gamesetup/GameSetup.h"
#include "guicommon/FileNames.h"
#include "guicommon/Latin1.h"
#include "guicommon/UserPrompts.h"
#include "platform/FileAccess.h"
#include "rulesfile/ValueLabel.h"
#include "tree/TreeBuilder.h"
#include "tree/TreePath.h"

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

// Whether two builds of the tree have the same items in the same places (their labels aside).
bool SameShape(const Tree& a, const Tree& b) {
    if (a.ItemCount() != b.ItemCount()) return false;
    for (TreeItem item = 1; item <= a.ItemCount(); ++item) {
        if (a.GetParentItem(item) != b.GetParentItem(item) || a.IndexInParent(item) != b.IndexInParent(item) ||
            !(a.GetItemData(item) == b.GetItemData(item)))
            return false;
    }
    return true;
}

}  // namespace

void CMainDlg::WatchRulesFile(const std::string& path) {
    if (m_watch == nullptr) {
        m_watch = new RulesFileWatch(this);
        connect(m_watch, &RulesFileWatch::Touched, this, &CMainDlg::CheckRulesFile);
    }
    m_watch->Watch(path);
}

void CMainDlg::ShowStatus(const QString& text) {
    m_statusText = text;
    // The status bar has one line: the whole text is in its tooltip.
    statusBar()->showMessage(text);
    statusBar()->setToolTip(text);
}

void CMainDlg::CheckRulesFile() {
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
            ReloadLabels();
            return;
        case RulesFileWatch::State::Gone:
            ShowStatus(QStringLiteral("The rules file was deleted or moved away: %1. Nothing is written to it "
                                      "unless you say so.")
                           .arg(path));
            return;
        case RulesFileWatch::State::NotAFile:
            ShowStatus(QStringLiteral("The rules file is no longer a regular file: %1. Nothing can be written "
                                      "to it; Save As keeps the values in another file.")
                           .arg(path));
            return;
    }
}

void CMainDlg::ReloadLabels() {
    Tree fresh;
    TreeBuilder(fresh, m_catalogue, m_rules).BuildTree();
    m_watch->Remember();
    DoDataExchange(true);
    const TreeItem current = m_editor->m_hCurItem;
    const bool pending = current != kNoItem && m_editor->HasPendingEdit();
    const std::string shownLabel = current != kNoItem ? m_tree.GetItemText(current) : std::string();

    QString news = QStringLiteral("Another program changed the rules file; the values shown were read from it again.");

    if (SameShape(fresh, m_tree)) {
        // Only values changed: relabel in place, so the view keeps its open branches, its
        // selection and where it is scrolled to.
        bool anyChanged = false;
        for (TreeItem item = 1; item <= fresh.ItemCount(); ++item) {
            if (fresh.GetItemText(item) == m_tree.GetItemText(item)) continue;
            m_tree.SetItemText(item, fresh.GetItemText(item));
            anyChanged = true;
        }
        if (!anyChanged) return;  // touched, not changed
        if (pending && m_tree.GetItemText(current) != shownLabel)
            news += QStringLiteral(" The file now holds %1; your change of %2 is kept, not yet applied.")
                        .arg(ToQt(m_tree.GetItemText(current)), ToQt(KeyOfLabel(shownLabel)));
        else if (!pending && current != kNoItem)
            m_editor->OnSelchangedTree(current);
        ShowStatus(news);
        return;
    }

    // Keys are sorted by name, so values never move items; should a build still differ, start
    // afresh on the file and go back to the selected item.
    const std::string currentPath = current != kNoItem ? m_editor->GetItemPath(current) : std::string();
    OpenRulesFile(m_strRulesPath);
    if (const TreeItem again = FindItemByPath(m_tree, currentPath); again != kNoItem) SelectItem(again);
    ShowStatus(news + (pending
                           ? QStringLiteral(" Your change of %1 could not be kept.").arg(ToQt(KeyOfLabel(shownLabel)))
                           : QString()));
}

int CMainDlg::SaveCopyAs(const std::string& path) {
    // A file deleted under the window lives on in the values it shows.
    if (m_watch != nullptr && m_watch->Check() == RulesFileWatch::State::Gone && m_watch->LastContents())
        return platform::ReplaceFileAtomically(path, *m_watch->LastContents());
    return gamesetup::CopyRulesFile(m_strRulesPath, path);
}

bool CMainDlg::PrepareWrite(bool* reloaded) {
    bool ignored = false;
    bool& didReload = reloaded != nullptr ? *reloaded : ignored;
    didReload = false;
    if (m_watch == nullptr) return true;
    // From here until FileWritten no event may rebuild the tree: a write in progress (Match All
    // walks the tree) may show a message, and its event loop would deliver the watcher's news.
    m_checkingFile = true;
    if (MayWrite(didReload)) return true;
    EndWrite();
    return false;
}

void CMainDlg::EndWrite() {
    m_checkingFile = false;
    if (!m_missedFileNews) return;
    m_missedFileNews = false;
    CheckRulesFile();
}

bool CMainDlg::MayWrite(bool& reloaded) {
    const std::string& path = m_watch->Path();
    switch (m_watch->Check()) {
        case RulesFileWatch::State::Unchanged:
            return true;
        case RulesFileWatch::State::Changed:
            ReloadLabels();
            reloaded = true;
            return true;
        case RulesFileWatch::State::NotAFile:
            m_prompts.ShowMessage(this,
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
            this,
            QStringLiteral("The rules file was deleted or moved away:\n%1\nNothing was written.").arg(PathToQt(path)),
            kCaption, QMessageBox::Warning);
        return false;
    }
    const auto answer = m_prompts.Ask(
        this,
        QStringLiteral("The rules file was deleted or moved away:\n%1\n\nCreate it again with the values this "
                       "window shows, and then write this change?")
            .arg(PathToQt(path)),
        kCaption, QMessageBox::Yes | QMessageBox::Cancel);
    if (answer != QMessageBox::Yes) {
        ShowStatus(QStringLiteral("Nothing was written: the rules file is gone (%1).").arg(PathToQt(path)));
        return false;
    }
    if (const int error = platform::ReplaceFileAtomically(path, *contents)) {
        m_prompts.ShowMessage(this, PathToQt(platform::DescribeFileError(error, path)), kCaption, QMessageBox::Warning);
        return false;
    }
    m_watch->Watch(path);
    ShowStatus(QStringLiteral("The rules file was created again: %1.").arg(PathToQt(path)));
    return true;
}

bool CMainDlg::PrepareMatchAll() {
    const TreeItem before = m_editor->m_hCurItem;
    const std::string shown = before != kNoItem ? m_tree.GetItemText(before) : std::string();
    bool reloaded = false;
    if (!PrepareWrite(&reloaded)) return false;
    const TreeItem now = m_editor->m_hCurItem;
    if (!reloaded || now == kNoItem || m_tree.GetItemText(now) == shown) return true;
    // The value to copy came from the file just now, not from what the user saw: ask.
    const auto answer = m_prompts.Ask(
        this,
        QStringLiteral("Another program changed the rules file. It now holds\n%1\n(the window showed %2).\n\n"
                       "Copy this value into every section?")
            .arg(ToQt(m_tree.GetItemText(now)), ToQt(shown)),
        kCaption, QMessageBox::Yes | QMessageBox::Cancel);
    if (answer == QMessageBox::Yes) return true;
    EndWrite();
    return false;
}

void CMainDlg::FileWritten() {
    if (m_watch == nullptr) return;
    // News that came while the write showed a message may be another program's change: read
    // the file rather than take it as the window's own.
    if (m_missedFileNews) {
        m_checkingFile = false;
        m_missedFileNews = false;
        ReloadLabels();
        return;
    }
    m_checkingFile = false;
    m_watch->Remember();
}

}  // namespace morvane::app
