#pragma once

#include <QObject>

namespace morvane::test {

// The check's findings in the window: the Problems panel, the tree's markers and the value
// editor's "game reads" line, after opening a file and after every write.
class FindingsViewTest : public QObject {
    Q_OBJECT
private slots:
    void problemsAndMarksOfAnOpenedFile();
    void everyWriteRefreshesTheFindings();
    void aWriteRepaintsOnlyWhatItChanged();
    void fingerprintInTheStatusBar();
    void otherLayersOfTheGameJoinTheFindings();
    void gameMenuChoicesAreKept();
};

}  // namespace morvane::test
