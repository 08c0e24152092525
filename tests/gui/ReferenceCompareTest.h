#pragma once

#include <QObject>

namespace morvane::test {

// The open file against a reference in the window: the tree's marks and their toggle, the
// editor's "Take the reference value", the Differences panel and the exported changes.
class ReferenceCompareTest : public QObject {
    Q_OBJECT
private slots:
    void marksTheKeysThatPlayDifferentlyFromAFile();
    void takingTheReferenceValueIsOneUndoableWrite();
    void stockValuesAreTheFirstReference();
    void exportsTheChangesAndRefusesTheFilesTheyComeFrom();
};

}  // namespace morvane::test
