#pragma once

#include <QObject>

namespace morvane::test {

// The find bar over the tree and the marks of keys that differ from the default.
class FindTest : public QObject {
    Q_OBJECT
private slots:
    void typingKeepsMatchesAndAncestorsExpanded();
    void escapeClearsAndReturnsToTheSelection();
    void changedMarksFollowWrites();
    void togglesNarrowToKeys();
};

// The shell around the window: splash, About, centring, folder picker, start-up with a missing
// file, the Wine prefix and the informational command line.
class ShellTest : public QObject {
    Q_OBJECT
private slots:
    void splashStaysUpItsFullTimeOnTop();
    void aboutTitleIsBoldSans();
    void promptsCentreOnTheScreenBeforeTheWindowIsUp();
    void folderPickerLaterOpeningReturnsEmptyPath();
    void missingCommandLineFileOpensProgramLocationFirst();
    void windowsGameDirectoryFoundThroughWinePrefix();
    void helpAndVersionNeedNoDisplay();
};

}  // namespace morvane::test
