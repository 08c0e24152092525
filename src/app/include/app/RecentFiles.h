#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>

class QMenu;

namespace morvane::app {

// The last ten rules files opened, kept per user with what the tree showed of each: the
// branches that were expanded and the item that was selected. Fills File > Recent Files.
class RecentFiles : public QObject {
    Q_OBJECT
public:
    struct FileState {
        QString path;
        QStringList expanded;
        QString selected;
    };

    RecentFiles(QMenu* menu, QObject* parent);

    // The paths, the latest first.
    QStringList Paths() const { return StoredPaths(); }
    static QStringList StoredPaths();
    std::optional<FileState> Find(const QString& path) const;
    // `state` becomes the most recent file.
    void Remember(FileState state);

signals:
    void Chosen(const QString& path);

private:
    void UpdateMenu();

    QMenu* m_menu;
};

}  // namespace morvane::app
