#pragma once

#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "app/LayerEditing.h"
#include "app/WindowPaths.h"
#include "dialogs/CSplashWnd.h"
#include "editor/ValueEditor.h"
#include "platform/ProfileApi.h"
#include "schema/StringTable.h"
#include "tree/ItemFileAccess.h"
#include "tree/Tree.h"

class QAction;
class QLabel;
class QMenu;
class QSplitter;
class QStackedWidget;
class QTreeView;

namespace morvane::guicommon {
class UserPrompts;
}  // namespace morvane::guicommon

namespace morvane::app {

class BalanceDock;
class CompareCommands;
class DifferencesDock;
class EditorPanel;
class FileSession;
class FindingMarks;
class GameLayersMenu;
class ProblemsPanel;
class RecentFiles;
class ReferenceCompare;
class ReferenceRow;
class RulesTreeModel;
class StartPage;
class TreeFinder;

// The main window: the navigation tree with its find bar on the left, the value editor on the
// right, the Problems panel beneath, the menu above and what the last write did in the status
// bar. It puts its parts together and runs the commands; each part keeps its own state: the file
// session (watch, history, the write bracket), the editor panel (the value widgets), the find
// bar and the Problems panel.
class CMainDlg : public QMainWindow {
    Q_OBJECT
public:
    CMainDlg(const StringTable& catalogue, guicommon::UserPrompts& prompts, WindowPaths paths = {},
             QWidget* parent = nullptr);
    ~CMainDlg() override;

    // Locates the rules file, sets the title and builds the tree; shows the start page when no
    // rules file is found. False only when the window cannot be used at all.
    bool OnInitDialog();
    // Whether the start page is up (no rules file open).
    bool ShowsStartPage() const;
    // The start page; made when it is first shown (null before).
    StartPage* Start() const { return m_startPage; }

    // The paths as they stand: the open file, the folders and the game's program.
    const WindowPaths& Paths() const { return m_paths; }
    void SetPaths(WindowPaths paths) { m_paths = std::move(paths); }

    // true: widgets into the editor's members; false: members into the widgets.
    void DoDataExchange(bool saveAndValidate);

    // Handlers.
    void OnSelchangedTree(TreeItem item);
    void OnApply();
    void OnDefault();
    void OnMatchAllInSection();
    void OnUndo();
    void OnRedo();
    void OnLaunchGame();
    void OnAbout();
    void OnSplash();
    void OnExit();
    void OnFileNew();
    void OnFileOpen();
    void OnFileSaveAs();
    void OnLaunchWithFile();
    // Properties: true when the user confirmed new settings.
    bool OnProgramLocation();

    // For tests and tools: the parts a user sees and clicks.
    dialogs::CSplashWnd& Splash() { return m_wndSplash; }
    ValueEditor& Editor() { return *m_editor; }
    Tree& NavigationTree() { return m_tree; }
    QTreeView* TreeView() const { return m_treeView; }
    TreeFinder* Finder() const { return m_finder; }
    EditorPanel* Panel() const { return m_panel; }
    QWidget* Control(int controlId) const;
    QAction* Command(int commandId) const;
    QLabel* Picture() const;
    ProblemsPanel* Problems() const { return m_problems; }
    BalanceDock* Table() const { return m_balance; }
    GameLayersMenu* Layers() const { return m_layersMenu; }
    // File > Open Layer and the editor's Inherit and "Open FILE" buttons.
    LayerEditing& LayerEditor() const { return *m_layerEditing; }
    QLabel* GameReadsText() const;
    FindingMarks& Findings() const { return *m_findings; }
    const QLabel* FingerprintLabel() const { return m_fingerprintLabel; }
    // The reference the file is compared with: File > Compare With…, the editor's reference row
    // and the Differences panel.
    CompareCommands& Comparison() const { return *m_compare; }
    ReferenceCompare& Reference() const;
    ReferenceRow* ReferenceValueRow() const;
    DifferencesDock* Differences() const;
    // Selects an item in the tree view as a click would.
    void SelectItem(TreeItem item);

    // OK and Cancel: both close the window once any unapplied edit is settled.
    void accept();
    void reject();

    // Whether the window shows that the controls hold an edit not yet applied.
    bool ShowsPendingEdit() const;
    // The files of File > Recent Files, the latest first.
    QStringList RecentFiles() const;
    QSplitter* Splitter() const { return m_splitter; }

    // Reads the labels again when another program changed the file; the watcher calls it, tests
    // may too.
    void CheckRulesFile();
    // A line of news in the status bar (what a write did, why it failed, what changed on disk),
    // and the last one shown.
    void ShowStatus(const QString& text);
    QString StatusText() const { return m_statusText; }

signals:
    // The window closed for good: the program ends.
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildWidgets();
    void BuildFindingsView();
    void BuildMenu();
    void BuildToolBar();
    // The table of objects, docked beside the tree, and its entry in the View menu.
    void BuildTable();
    // The reference the file is compared with, its panel docked with the Problems panel.
    void BuildCompare();
    // Writes values (the table's, a reference's) as one undoable step, the tree's labels
    // following; false when nothing was written.
    bool WriteValues(const std::string& description, const std::vector<platform::ProfileWrite>& writes);
    // False, with the reason shown, when the file cannot be read whole.
    bool OpenRulesFile(const std::string& path) { return OpenFile(path, std::nullopt); }
    // The same for a file edited as a layer over a rules file (`layer`), or as the rules file.
    bool OpenFile(const std::string& path, const std::optional<app::EditedLayer>& layer);
    // Builds the tree from the open file: for a layer, of the sections it can change.
    void BuildTree(Tree& tree);
    // Binds a new value editor to the panel and to the layer's values beneath.
    void ConnectEditor();
    void ShowStartPage(const QStringList& looked);
    void OnStartPageGameFolder();
    void ShowFileOpen(const std::string& path);
    // Greys out, or gives back, the commands that act on the open file.
    void EnableFileCommands(bool fileOpen);
    // Asks about an edit that was not applied; false when the user wants to stay. `closing`:
    // the answer closes the program, and the buttons say so.
    bool ConfirmPendingEdit(bool closing = false);
    // Runs one write of the file and records it as an undoable step.
    void RecordWrite(const std::string& description, const std::function<bool()>& write);
    void ShowCurrentItemAgain();
    // Before undo or redo replace the controls: false when the user keeps an unapplied edit.
    bool ConfirmDiscardForHistory();
    void AfterHistoryStep(const char* verb, const std::optional<std::string>& description);
    // Pending edits and the tree's selection.
    void OnTreeCurrentChanged(TreeItem item);
    void SchedulePendingRefresh();
    void RefreshPending();
    // Settings kept per user: the window's geometry, and per file the tree's open branches.
    void RestoreWindowState();
    void SaveWindowState();
    void SaveFileState();
    void RestoreFileState();
    void OpenRecentFile(const QString& path);
    // PrepareWrite for Match All, which copies the shown key's label: asks when a reload changed it.
    bool PrepareMatchAll();
    // Reads every label from the file again, keeping the selection, the open branches and an
    // edit that was not applied.
    void ReloadLabels();

    const StringTable& m_catalogue;
    guicommon::UserPrompts& m_prompts;
    WindowPaths m_paths;
    dialogs::CSplashWnd m_wndSplash;
    Tree m_tree;
    FileSession* m_session;
    ItemFileAccess m_items;
    std::unique_ptr<ValueEditor> m_editor;
    RulesTreeModel* m_model = nullptr;
    bool m_closing = false;
    std::string m_strSearchDir;  // the current directory when the search began: the work default
    QString m_statusText;

    EditorPanel* m_panel = nullptr;
    QStackedWidget* m_pages = nullptr;
    StartPage* m_startPage = nullptr;
    QWidget* m_editorPage = nullptr;
    QSplitter* m_splitter = nullptr;
    app::RecentFiles* m_recent = nullptr;
    QMenu* m_viewMenu = nullptr;
    QAction* m_applyAction = nullptr;
    QAction* m_defaultAction = nullptr;
    QLabel* m_fileSummary = nullptr;
    GameLayersMenu* m_layersMenu = nullptr;
    LayerEditing* m_layerEditing = nullptr;
    QLabel* m_pendingLabel = nullptr;
    QLabel* m_fingerprintLabel = nullptr;  // the game's fingerprint of the file, in the status bar
    bool m_revertingSelection = false;
    bool m_pendingRefreshQueued = false;
    std::map<int, QWidget*> m_controls;
    std::map<int, QAction*> m_commands;
    QTreeView* m_treeView = nullptr;
    TreeFinder* m_finder = nullptr;
    FindingMarks* m_findings = nullptr;
    ProblemsPanel* m_problems = nullptr;
    BalanceDock* m_balance = nullptr;
    CompareCommands* m_compare = nullptr;
};

}  // namespace morvane::app
