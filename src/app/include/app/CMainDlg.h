#pragma once

#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "dialogs/CSplashWnd.h"
#include "editor/EditHistory.h"
#include "editor/ValueEditor.h"
#include "gamesetup/StartupSearch.h"
#include "rulesfile/MessageSink.h"
#include "rulesfile/RulesFileAccess.h"
#include "schema/StringTable.h"
#include "tree/ItemFileAccess.h"
#include "tree/Tree.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QModelIndex;
class QPushButton;
class QSlider;
class QSplitter;
class QTreeView;
class QUndoStack;

namespace morvane::app {

class FindingMarks;
class ProblemsPanel;
class RulesFileWatch;
class RulesTreeModel;
class TreeFinder;
class UserPrompts;

// The main window: the navigation tree on the left, the value editor on the right, the menu
// above, what the last write did in the status bar. It binds widgets to the core's value editor
// and forwards every handler to it.
class CMainDlg : public QMainWindow, public DataExchange, public MessageSink, public gamesetup::StartupHost {
    Q_OBJECT
public:
    CMainDlg(const StringTable& catalogue, UserPrompts& prompts, QWidget* parent = nullptr);
    ~CMainDlg() override;

    // Locates the rules file, sets the title and builds the tree. False when no rules file can
    // be found and the user gives up.
    bool OnInitDialog();

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

    // Settings and paths.
    std::string m_strWorkDir;
    std::string m_strRulesFileName;
    std::string m_strGameRulesPath;
    std::string m_strGameDir;
    std::string m_strStartDir;
    std::string m_strGameExe;
    std::string m_strRulesPath;
    CSplashWnd m_wndSplash;

    // For tests and tools: the parts a user sees and clicks.
    ValueEditor& Editor() { return *m_editor; }
    Tree& NavigationTree() { return m_tree; }
    QTreeView* TreeView() const { return m_treeView; }
    TreeFinder* Finder() const { return m_finder; }
    QWidget* Control(int controlId) const;
    QAction* Command(int commandId) const;
    QLabel* Picture() const { return m_picture; }
    ProblemsPanel* Problems() const { return m_problems; }
    QLabel* GameReadsText() const { return m_gameReadsText; }
    FindingMarks& Findings() const { return *m_findings; }
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

    // The rules file changing under the window (MainDlgFileSafety.cpp). CheckRulesFile reads the
    // labels again when another program changed the file; the watcher calls it, tests may too.
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
    void keyPressEvent(QKeyEvent* event) override;

private:
    // DataExchange and MessageSink.
    void UpdateData(bool saveAndValidate) override { DoDataExchange(saveAndValidate); }
    void ShowMessage(const std::string& text, const std::string& caption) override;
    // StartupHost.
    gamesetup::Settings ReadSettings() override;
    std::optional<std::string> FindExisting(const std::string& path) override;
    void ReportFailedToLoad(const std::string& path) override;
    bool RunProgramLocation() override { return OnProgramLocation(); }

    void BuildWidgets();
    // The check's markers on the tree, the Problems panel and the "game reads" line.
    void BuildFindingsView();
    QWidget* BuildEditorPanel();
    void BuildMenu();
    void Register(int controlId, QWidget* widget);
    void OpenRulesFile(const std::string& path);
    // Asks about an edit that was not applied; false when the user wants to stay. `closing`:
    // the answer closes the program, and the buttons say so.
    bool ConfirmPendingEdit(bool closing = false);

    // History (MainDlgHistory.cpp): runs one write and records it as an undoable step.
    void RecordWrite(const std::string& description, const std::function<bool()>& write);
    void BuildHistoryActions(QMenu* edit);
    void ForgetHistory();
    void ShowCurrentItemAgain();
    // Before undo or redo replace the controls: false when the user keeps an unapplied edit.
    bool ConfirmDiscardForHistory();
    // Pending edits, Enter and the arrow keys (MainDlgPending.cpp).
    void WatchValueFields();
    void OnTreeCurrentChanged(TreeItem item);
    void SchedulePendingRefresh();
    void RefreshPending();
    // Settings kept per user (MainDlgSession.cpp).
    void RestoreWindowState();
    void SaveWindowState();
    void SaveFileState();
    void RestoreFileState();
    void UpdateRecentMenu();
    void OpenRecentFile(const QString& path);
    void PushCombo(QComboBox* combo, const ComboControl& state, const std::string& text);
    // Before a write: makes sure the labels are not older than the file (reads them again when
    // they are; `reloaded` tells) and asks before writing to a file that is gone. False: write
    // nothing.
    bool PrepareWrite(bool* reloaded = nullptr);
    bool MayWrite(bool& reloaded);
    // PrepareWrite for Match All, which copies the shown key's label: asks when a reload changed it.
    bool PrepareMatchAll();
    // After a write: the file as it is now is the one the window shows.
    void FileWritten();
    // A check or write ends without writing: looks at news that came meanwhile.
    void EndWrite();
    // Reads every label from the file again, keeping the selection, the open branches and an
    // edit that was not applied.
    void ReloadLabels();
    void WatchRulesFile(const std::string& path);
    // Save As: a copy of the file, or of what it held when it was deleted under the window.
    int SaveCopyAs(const std::string& path);

    const StringTable& m_catalogue;
    UserPrompts& m_prompts;
    Tree m_tree;
    RulesFileAccess m_rules;
    ItemFileAccess m_items;
    std::unique_ptr<ValueEditor> m_editor;
    RulesTreeModel* m_model = nullptr;
    bool m_closing = false;
    std::string m_strSearchDir;  // the current directory when the search began: the work default
    RulesFileWatch* m_watch = nullptr;
    bool m_checkingFile = false;    // a check or a write is under way: the watcher's news waits
    bool m_missedFileNews = false;  // news came while it waited
    QString m_statusText;

    QSplitter* m_splitter = nullptr;
    EditHistory m_history;
    QUndoStack* m_undoStack = nullptr;
    QMenu* m_recentMenu = nullptr;
    QLabel* m_pendingLabel = nullptr;
    bool m_revertingSelection = false;
    bool m_pendingRefreshQueued = false;
    std::string m_lastMessage;  // the last message shown, for the status bar
    std::map<int, QWidget*> m_controls;
    std::map<int, QAction*> m_commands;
    QTreeView* m_treeView = nullptr;
    TreeFinder* m_finder = nullptr;
    QLabel* m_picture = nullptr;
    FindingMarks* m_findings = nullptr;
    ProblemsPanel* m_problems = nullptr;
    QLabel* m_gameReadsText = nullptr;
    QLineEdit* m_valueEdit = nullptr;
    QComboBox* m_listCombo = nullptr;
    QCheckBox* m_checkBox = nullptr;
    QSlider* m_percentSlider = nullptr;
    QSlider* m_versesSliders[5] = {};
    QLineEdit* m_versesEdits[5] = {};
    QLineEdit* m_chanceEdit = nullptr;
    QComboBox* m_animationCombo = nullptr;
    QLineEdit* m_optionEdit = nullptr;
    QListWidget* m_multiList = nullptr;
    QLabel* m_pathText = nullptr;
    QLabel* m_defaultText = nullptr;
    QLabel* m_helpText = nullptr;
    QLabel* m_percentText = nullptr;
    QLabel* m_optionCaption = nullptr;
    QPushButton* m_applyButton = nullptr;
    QPushButton* m_defaultButton = nullptr;
};

}  // namespace morvane::app
