#pragma once

#include <QDialog>
#include <map>
#include <memory>
#include <string>

#include "dialogs/CSplashWnd.h"
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
class QPushButton;
class QSlider;
class QTreeView;

namespace morvane::app {

class FindingMarks;
class ProblemsPanel;
class RulesTreeModel;
class UserPrompts;

// The main window: the navigation tree on the left, the value editor on the right, the menu
// above. It binds widgets to the core's value editor and forwards every handler to it.
class CMainDlg : public QDialog, public DataExchange, public MessageSink, public gamesetup::StartupHost {
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
    ProblemsPanel* Problems() const { return m_problems; }
    QLabel* GameReadsText() const { return m_gameReadsText; }
    FindingMarks& Findings() const { return *m_findings; }
    // Selects an item in the tree view as a click would.
    void SelectItem(TreeItem item);

    void accept() override;
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

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
    // Asks about an edit that was not applied; false when the user wants to stay.
    bool ConfirmPendingEdit();
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

    std::map<int, QWidget*> m_controls;
    std::map<int, QAction*> m_commands;
    QTreeView* m_treeView = nullptr;
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
