#pragma once

#include <QObject>

namespace morvane::test {

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void startUpSearchOrder();
    void startUpWithoutARulesFileShowsTheStartPage();
    void everyKindShowsItsWidgets();
    void typingSpinningSlidingAndApplyWrite();
    void defaultAndMatchAll();
    void unappliedEditIsOfferedOnClose();
    void untouchedKeyClosesWithoutQuestion();
    void fileCommands();
    void launchReportsFailures();
    void launchWithFileInstallsTheRules();
    void helpMenu();
};

class WorkflowTest : public QObject {
    Q_OBJECT
private slots:
    void undoAndRedoPutTheFileBackByteForByte();
    void undoAsksWhenTheFileChangedOnDisk();
    void applyReadsTheFileOnce();
    void matchAllConfirmsEveryChangeBeforeOneWrite();
    void changingTheSelectionAsksAboutAnUnappliedEdit();
    void enterAppliesAndTheArrowsStep();
    void defaultShowsTheDefault();
    void undoPutsBackAKeyThatDefaultTookOut();
    void windowStateAndRecentFilesAreRemembered();
    void theWindowFitsTheScreen();
};

class DialogsTest : public QObject {
    Q_OBJECT
private slots:
    void propertiesOkAndCancel();
    void propertiesWorkDirectoryRules();
    void propertiesBrowseKeepsTypedText();
    void folderPickerReadsFoldersLazily();
    void aboutAndSplash();
};

}  // namespace morvane::test
