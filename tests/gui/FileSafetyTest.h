#pragma once

#include <QObject>

namespace morvane::test {

// The window while other programs change, replace or delete its rules file, and the file
// commands that must never cost the user a file.
class FileSafetyTest : public QObject {
    Q_OBJECT
private slots:
    void outsideChangeIsReadAgain();
    void staleLabelIsNeverWritten();
    void changeDuringAFailedWriteIsReadAfterIt();
    void goneFileIsNotRecreatedSilently();
    void nonAsciiPathOpensAndSaves();
    void newNeverTargetsTheOpenFile();
    void launchKeepsTheFirstBackup();
    void unsavedSettingsAreReported();
    void longValueIsShownCutShort();
};

}  // namespace morvane::test
