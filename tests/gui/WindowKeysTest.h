#pragma once

#include <QObject>

namespace morvane::test {

// The keyboard in the main window: nothing closes it by accident, undo and redo reach the file
// from anywhere, Tab and the find field lead where a user expects, questions default to the
// answer that changes nothing, and every menu entry has its mnemonic.
class WindowKeysTest : public QObject {
    Q_OBJECT
private slots:
    void escapeNeverClosesTheWindow();
    void undoAndRedoKeysReachTheFileFromTheValueField();
    void tabGoesFromTheTreeToTheValue();
    void findFieldLeadsIntoTheResultsAndBack();
    void filterKeepsTheEditedRowAndShowsAnObjectsKeys();
    void enterAppliesInEveryControl();
    void questionsDefaultToTheSafeAnswer();
    void menuEntriesHaveMnemonicsAndEllipses();
};

// The main window as a modder lives in it: its size and place, toolbar, status summary, the
// Problems dock, the editor's typed entries, the messages about odd files and Save As, and the
// names assistive technology reads.
class WindowShapeTest : public QObject {
    Q_OBJECT
private slots:
    void firstSizeAndTheSamePlaceAtEachStart();
    void toolbarAndStatusSummary();
    void problemsDockSortsAndStartsAtTheTop();
    void firstCheckWaitsForTheFirstPaint();
    void versesAndPercentagesAreTyped();
    void applyWithNothingChangedWritesNothing();
    void fileThatIsNoRulesFileIsWarnedBeforeAWrite();
    void saveAsAddsTheExtensionAndGoesToRecentFiles();
    void fileTooLargeToReadIsRefusedWithTheReason();
    void accessibleNamesAndMarkDescriptions();
};

}  // namespace morvane::test
