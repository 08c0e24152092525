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

class RulesTreeModel;
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
    QWidget* Control(int controlId) const;
    QAction* Command(int commandId) const;
    QLabel* Picture() const { return m_picture; }
    // Selects an item in the tree view as a click would.
    void SelectItem(TreeItem item);

    // OK and Cancel: both close the window once any unapplied edit is settled.
    void accept();
    void reject();

    // Shows what a write did (or why it failed) in the status bar.
    void ReportStatus(const QString& text);
    QString StatusText() const;
    // Whether the window shows that the controls hold an edit not yet applied.
    bool ShowsPendingEdit() const;
    // The files of File > Recent Files, the latest first.
    QStringList RecentFiles() const;
    QSplitter* Splitter() const { return m_splitter; }

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
    void OnTreeCurrentChanged(const QModelIndex& current, const QModelIndex& previous);
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

    const StringTable& m_catalogue;
    UserPrompts& m_prompts;
    Tree m_tree;
    RulesFileAccess m_rules;
    ItemFileAccess m_items;
    std::unique_ptr<ValueEditor> m_editor;
    RulesTreeModel* m_model = nullptr;
    bool m_closing = false;
    std::string m_strSearchDir;  // the current directory when the search began: the work default

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
    QLabel* m_picture = nullptr;
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
