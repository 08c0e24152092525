#pragma once

#include <QObject>

namespace morvane::test {

// The table of objects in the window: an edit in a cell is one undoable write, several cells of
// a column are set at once, the selection copies as tab-separated text, and the pictures save.
class BalanceTableTest : public QObject {
    Q_OBJECT
private slots:
    void cellEditUndoesByteForByte();
    void selectionOfAColumnIsOneStep();
    void sortFilterCopyAndExport();
    void picturesSaveAsPngAndSvg();
};

}  // namespace morvane::test
