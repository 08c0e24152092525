#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "platform/ProfileApi.h"
#include "rulesfile/RulesFileAccess.h"
#include "schema/StringTable.h"
#include "tree/Tree.h"

class QAction;
class QTreeView;
class QWidget;

namespace morvane::guicommon {
class UserPrompts;
}  // namespace morvane::guicommon

namespace morvane::app {

class DifferencesDock;
class EditorPanel;
class FindingMarks;
class ReferenceCompare;
class ReferenceRow;
class TreeFinder;

// The open file against a reference (the stock values or another rules file): it owns the
// comparison, the editor's reference row with "Take the reference value", and the Differences
// panel, and it runs File > Compare With…, Compare With Stock Values and Export Changes….
class CompareCommands : public QObject {
    Q_OBJECT
public:
    // What the comparison asks of the window it lives in.
    struct Window {
        QWidget* widget = nullptr;                 // the parent of the prompts and of the panel
        std::function<TreeItem()> shownItem;       // the item the editor shows
        std::function<void(TreeItem)> selectItem;  // as a click in the tree would
        std::function<void(TreeItem)> showItem;    // the controls show the item's value afresh
        std::function<void(const QString&)> showStatus;
        std::function<std::string()> openPath;  // the file open in the window
        // Writes values as one undoable step; false when nothing was written.
        std::function<bool(const std::string& description, const std::vector<platform::ProfileWrite>& writes)>
            writeValues;
    };
    // The menu's entries the comparison runs.
    struct Actions {
        QAction* compareWith = nullptr;
        QAction* compareWithStock = nullptr;
        QAction* exportChanges = nullptr;
    };

    // The reference row goes beneath the editor's "game reads" lines; the tree's marks and the
    // find bar's toggle follow the reference.
    CompareCommands(const StringTable& catalogue, FindingMarks& marks, const RulesFileAccess& rules,
                    guicommon::UserPrompts& prompts, TreeFinder& finder, QTreeView& treeView, EditorPanel& panel,
                    Window window, Actions actions);

    ReferenceCompare& Reference() const { return *m_reference; }
    ReferenceRow* Row() const { return m_row; }
    // The Differences panel, for the window to dock and to list in its View menu.
    DifferencesDock* Differences() const { return m_differences; }

    void OnCompareWith();
    void OnCompareWithStock();
    void OnExportChanges();
    // Writes the reference's value of the shown key into the file.
    void OnTakeReferenceValue();

private:
    // The find bar's toggle and the menu follow the reference now in use.
    void FollowReference();

    guicommon::UserPrompts& m_prompts;
    TreeFinder& m_finder;
    QTreeView& m_treeView;
    Window m_window;
    Actions m_actions;
    ReferenceCompare* m_reference = nullptr;
    ReferenceRow* m_row = nullptr;
    DifferencesDock* m_differences = nullptr;
};

}  // namespace morvane::app
