#include "app/RecentFiles.h"

#include <QAction>
#include <QMenu>
#include <QSettings>

namespace morvane::app {
namespace {

constexpr qsizetype kMostRecentFiles = 10;

QList<RecentFiles::FileState> ReadRecent() {
    QSettings store(QStringLiteral("Morvane"), QStringLiteral("Morvane"));
    QList<RecentFiles::FileState> files;
    const int count = store.beginReadArray(QStringLiteral("RecentFiles"));
    for (int i = 0; i < count && files.size() < kMostRecentFiles; ++i) {
        store.setArrayIndex(i);
        RecentFiles::FileState file{store.value(QStringLiteral("Path")).toString(),
                                    store.value(QStringLiteral("Expanded")).toStringList(),
                                    store.value(QStringLiteral("Selected")).toString()};
        if (!file.path.isEmpty()) files.push_back(std::move(file));
    }
    store.endArray();
    return files;
}

void WriteRecent(const QList<RecentFiles::FileState>& files) {
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

RecentFiles::RecentFiles(QMenu* menu, QObject* parent) : QObject(parent), m_menu(menu) { UpdateMenu(); }

QStringList RecentFiles::StoredPaths() {
    QStringList paths;
    for (const FileState& file : ReadRecent()) paths << file.path;
    return paths;
}

std::optional<RecentFiles::FileState> RecentFiles::Find(const QString& path) const {
    for (FileState& file : ReadRecent())
        if (file.path == path) return std::move(file);
    return std::nullopt;
}

void RecentFiles::Remember(FileState state) {
    QList<FileState> files = ReadRecent();
    files.removeIf([&state](const FileState& file) { return file.path == state.path; });
    files.prepend(std::move(state));
    WriteRecent(files.mid(0, kMostRecentFiles));
    UpdateMenu();
}

void RecentFiles::UpdateMenu() {
    m_menu->clear();
    const QStringList paths = Paths();
    for (qsizetype i = 0; i < paths.size(); ++i) {
        // Ampersands in a path are shown, not taken for mnemonics.
        QString shown = paths[i];
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* action = m_menu->addAction(QStringLiteral("&%1 %2").arg(i + 1 == 10 ? 0 : i + 1).arg(shown));
        connect(action, &QAction::triggered, this, [this, path = paths[i]] { emit Chosen(path); });
    }
    m_menu->setEnabled(!paths.isEmpty());
}

}  // namespace morvane::app
