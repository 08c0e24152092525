#pragma once

#include <QObject>

namespace morvane::test {

// The value editor as a form: the key's title, Apply and Default beside the value, its range and
// unit, the help as text; typed numbers checked before they are written; the tree's pictures of
// each kind of value; a find field that keeps its room; the "game reads" line after another
// program changed the file; the folder picker starting at its field's folder.
class EditorFormTest : public QObject {
    Q_OBJECT
private slots:
    void formShowsTheKeyWithItsRangeAndUnit_data();
    void formShowsTheKeyWithItsRangeAndUnit();
    void typedValueIsCheckedAndApplyAsks_data();
    void typedValueIsCheckedAndApplyAsks();
    void keyRowsShowTheirKindOfValue();
    void findFieldKeepsItsWidthBeforeTheToggles();
    void gameReadsFollowsAnOutsideChangeDuringAnEdit();
    void folderPickerOpensAtTheFieldsFolder();
};

}  // namespace morvane::test
