#pragma once

#include <QStringList>
#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;

namespace morvane::app {

// What the window shows while no rules file is open: the ways to one (open a file, make a new
// one from the game's defaults, a recent file, set the game folder) and where Morvane looked.
class StartPage : public QWidget {
    Q_OBJECT
public:
    explicit StartPage(QWidget* parent = nullptr);

    // The places searched for a rules file, and the files opened lately.
    void Show(const QStringList& looked, const QStringList& recent);

    QListWidget* Recent() const { return m_recent; }
    QLabel* Looked() const { return m_looked; }

signals:
    void OpenRequested();
    void NewRequested();
    void GameFolderRequested();
    void RecentChosen(const QString& path);

private:
    QLabel* m_looked = nullptr;
    QListWidget* m_recent = nullptr;
};

}  // namespace morvane::app
