// What the window remembers per user: its geometry and splitter, and for each of the last ten
// files opened, the branches that were expanded and the item that was selected.
#include <QAction>
#include <QMenu>
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QTreeView>

#include "app/CMainDlg.h"
#include "app/RulesTreeModel.h"
#include "gamesetup/StartupSearch.h"
#include "guicommon/Latin1.h"
#include "guicommon/UserPrompts.h"
#include "platform/FileAccess.h"
#include "tree/TreePath.h"

namespace morvane::app {
namespace {

constexpr qsizetype kMostRecentFiles = 10;

struct FileState {
    QString path;
    QStringList expanded;
    QString selected;
};

QList<FileState> ReadRecent() {
    QSettings store(QStringLiteral("Morvane"), QStringLiteral("Morvane"));
    QList<FileState> files;
    const int count = store.beginReadArray(QStringLiteral("RecentFiles"));
    for (int i = 0; i < count && files.size() < kMostRecentFiles; ++i) {
        store.setArrayIndex(i);
        FileState file{store.value(QStringLiteral("Path")).toString(),
                       store.value(QStringLiteral("Expanded")).toStringList(),
                       store.value(QStringLiteral("Selected")).toString()};
        if (!file.path.isEmpty()) files.push_back(std::move(file));
    }
    store.endArray();
    return files;
}

void WriteRecent(const QList<FileState>& files) {
    QSettings store(QStringLiteral("Morvane"), QStringLiteral("Morvane"));
    store.remove(QStringLiteral("RecentFiles"));
    store.beginWriteArray(QStringLiteral("RecentFiles"), static_cast<int>(files.size()));
    for (int i = 0; i < files.size(); ++i) {
        store.setArrayIndex(i);
        store.setValue(QStringLiteral("Path"), files[i].path);
        store.setValue(QStringLiteral("Expanded"), files[i].expanded);
        store.setValue(QStringLiteral("Selected"), files[i].selected);
    }
    store.endArray();
}

}  // namespace

void CMainDlg::RestoreWindowState() {
    QSettings store(QStringLiteral("Morvane"), QStringLiteral("Morvane"));
    restoreGeometry(store.value(QStringLiteral("Window/Geometry")).toByteArray());
    m_splitter->restoreState(store.value(QStringLiteral("Window/Splitter")).toByteArray());
    // A geometry kept from a larger screen (or a smaller scale factor) must still fit this one.
    if (const QScreen* shown = screen()) {
        const QRect available = shown->availableGeometry();
        resize(size().boundedTo(available.size() - QSize(16, 40)));
        QRect placed = geometry();
        placed.moveLeft(std::clamp(placed.left(), available.left(), available.right() - placed.width()));
        placed.moveTop(std::clamp(placed.top(), available.top(), available.bottom() - placed.height()));
        move(placed.topLeft());
    }
    UpdateRecentMenu();
}

void CMainDlg::SaveWindowState() {
    QSettings store(QStringLiteral("Morvane"), QStringLiteral("Morvane"));
    store.setValue(QStringLiteral("Window/Geometry"), saveGeometry());
    store.setValue(QStringLiteral("Window/Splitter"), m_splitter->saveState());
}

void CMainDlg::SaveFileState() {
    if (m_strRulesPath.empty() || m_tree.ItemCount() == 0) return;
    FileState state{ToQt(m_strRulesPath), {}, {}};
    for (TreeItem item = 1; item <= m_tree.ItemCount(); ++item) {
        if (m_tree.ItemHasChildren(item) && m_treeView->isExpanded(m_model->IndexOf(item)))
            state.expanded << ToQt(PathOfItem(m_tree, item));
    }
    const QModelIndex current = m_treeView->currentIndex();
    if (current.isValid()) state.selected = ToQt(PathOfItem(m_tree, m_model->ItemOf(current)));
    QList<FileState> files = ReadRecent();
    files.removeIf([&state](const FileState& file) { return file.path == state.path; });
    files.prepend(std::move(state));
    WriteRecent(files.mid(0, kMostRecentFiles));
    UpdateRecentMenu();
}

void CMainDlg::RestoreFileState() {
    const QString path = ToQt(m_strRulesPath);
    for (const FileState& file : ReadRecent()) {
        if (file.path != path) continue;
        for (const QString& branch : file.expanded) {
            const TreeItem item = FindItemByPath(m_tree, FromQt(branch));
            if (item != kNoItem) m_treeView->expand(m_model->IndexOf(item));
        }
        const TreeItem selected = file.selected.isEmpty() ? kNoItem : FindItemByPath(m_tree, FromQt(file.selected));
        if (selected != kNoItem) SelectItem(selected);
        break;
    }
    SaveFileState();  // the file opened is now the most recent one
}

QStringList CMainDlg::RecentFiles() const {
    QStringList paths;
    for (const FileState& file : ReadRecent()) paths << file.path;
    return paths;
}

void CMainDlg::UpdateRecentMenu() {
    m_recentMenu->clear();
    const QStringList paths = RecentFiles();
    for (qsizetype i = 0; i < paths.size(); ++i) {
        // Ampersands in a path are shown, not taken for mnemonics.
        QString shown = paths[i];
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* action = m_recentMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1 == 10 ? 0 : i + 1).arg(shown));
        connect(action, &QAction::triggered, this, [this, path = paths[i]] { OpenRecentFile(path); });
    }
    m_recentMenu->setEnabled(!paths.isEmpty());
}

void CMainDlg::OpenRecentFile(const QString& path) {
    if (!ConfirmPendingEdit()) return;
    if (!platform::FileExists(FromQt(path))) {
        m_prompts.ShowMessage(this, ToQt(gamesetup::FailedToLoadMessage(FromQt(path))), QStringLiteral("Morvane"),
                              QMessageBox::Warning);
        return;
    }
    OpenRulesFile(FromQt(path));
}

}  // namespace morvane::app
