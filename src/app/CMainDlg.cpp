#include "app/CMainDlg.h"

#include <QAbstractProxyModel>
#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSettings>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/BalanceDock.h"
#include "app/CompareCommands.h"
#include "app/EditorPanel.h"
#include "app/FileSession.h"
#include "app/FindingMarkDelegate.h"
#include "app/FindingMarks.h"
#include "app/GameLayersMenu.h"
#include "app/KeyFacts.h"
#include "app/MatchAllConfirmDlg.h"
#include "app/MenuCommands.h"
#include "app/ProblemsPanel.h"
#include "app/RecentFiles.h"
#include "app/ReferenceCompare.h"
#include "app/RulesTreeModel.h"
#include "app/SettingsStore.h"
#include "app/StartPage.h"
#include "app/TreeFinder.h"
#include "compare/Fingerprint.h"
#include "dialogs/CAboutDlg.h"
#include "dialogs/CPropertiesDlg.h"
#include "editor/ControlIds.h"
#include "editor/MatchAllPlan.h"
#include "editor/WriteSummary.h"
#include "gamesetup/GameSetup.h"
#include "gamesetup/RulesFileCopies.h"
#include "gamesetup/StartupSearch.h"
#include "guicommon/Artwork.h"
#include "guicommon/FileNames.h"
#include "guicommon/Latin1.h"
#include "guicommon/StandardIcons.h"
#include "guicommon/UserPrompts.h"
#include "platform/FileAccess.h"
#include "platform/FileLookup.h"
#include "platform/ProgramLaunch.h"
#include "rulesfile/SaveFailureMessage.h"
#include "schema/DefaultRulesFile.h"
#include "tree/TreeBuilder.h"
#include "tree/TreePath.h"

using morvane::dialogs::CAboutDlg;
using morvane::dialogs::CPropertiesDlg;
using morvane::guicommon::FromQt;
using morvane::guicommon::PathFromQt;
using morvane::guicommon::PathToQt;
using morvane::guicommon::ToQt;
using morvane::guicommon::UserPrompts;

namespace morvane::app {
namespace {

const QString kCaption = QStringLiteral("Morvane");
const QString kRulesFilter = QStringLiteral("Rules Files (*.ini *.INI);;All Files (*)");

QString FolderOf(const std::string& path) { return QFileInfo(PathToQt(path)).absolutePath(); }

// Whether two builds of the tree have the same items in the same places (their labels aside).
bool SameShape(const Tree& a, const Tree& b) {
    if (a.ItemCount() != b.ItemCount()) return false;
    for (TreeItem item = 1; item <= a.ItemCount(); ++item) {
        if (a.GetParentItem(item) != b.GetParentItem(item) || a.IndexInParent(item) != b.IndexInParent(item) ||
            !(a.GetItemData(item) == b.GetItemData(item)))
            return false;
    }
    return true;
}

// The start-up search's questions, answered by the window's settings and prompts. A file named
// on the command line that is missing is reported, and the settings offered; when the usual
// places hold no rules file either, the search ends and the window shows its start page with
// the places it looked in.
class StartupAnswers : public gamesetup::StartupHost {
public:
    StartupAnswers(WindowPaths& paths, const std::string& searchDir, UserPrompts& prompts, QWidget* window,
                   std::function<bool()> programLocation)
        : m_paths(paths),
          m_searchDir(searchDir),
          m_prompts(prompts),
          m_window(window),
          m_programLocation(std::move(programLocation)),
          m_commandLine(paths.rulesPath) {}

    const QStringList& Looked() const { return m_looked; }

    gamesetup::Settings ReadSettings() override {
        const gamesetup::Settings settings = app::ReadSettings(m_searchDir);
        m_paths.workDir = settings.workDir;
        m_paths.gameDir = settings.gameDir;
        m_paths.gameExe = settings.gameExe;
        return settings;
    }
    std::optional<std::string> FindExisting(const std::string& path) override {
        if (path != m_commandLine && !m_looked.contains(PathToQt(path))) m_looked << PathToQt(path);
        return platform::FindRegularFileNoCase(path);
    }
    void ReportFailedToLoad(const std::string& path) override {
        m_askSettings = !m_commandLine.empty() && path == m_commandLine;
        if (m_askSettings)
            m_prompts.ShowMessage(m_window, PathToQt(gamesetup::FailedToLoadMessage(path)), kCaption,
                                  QMessageBox::Warning);
    }
    bool RunProgramLocation() override { return m_askSettings && m_programLocation(); }

private:
    WindowPaths& m_paths;
    const std::string& m_searchDir;
    UserPrompts& m_prompts;
    QWidget* m_window;
    std::function<bool()> m_programLocation;
    std::string m_commandLine;
    QStringList m_looked;
    bool m_askSettings = false;
};

}  // namespace

CMainDlg::CMainDlg(const StringTable& catalogue, UserPrompts& prompts, WindowPaths paths, QWidget* parent)
    : QMainWindow(parent),
      m_catalogue(catalogue),
      m_prompts(prompts),
      m_paths(std::move(paths)),
      m_session(new FileSession(prompts, this)),
      m_items(catalogue, m_tree, m_session->Rules()),
      m_editor(std::make_unique<ValueEditor>(m_tree, catalogue, m_items)) {
    m_model = new RulesTreeModel(m_tree, this);
    m_model->SetKindOf([this](TreeItem item) { return FactsOf(m_tree, m_catalogue, item).icon; });
    setWindowIcon(art::AppIcon());
    connect(m_session, &FileSession::ReloadNeeded, this, &CMainDlg::ReloadLabels);
    connect(m_session, &FileSession::Status, this, &CMainDlg::ShowStatus);
    BuildWidgets();
    ConnectEditor();
    RestoreWindowState();
}

CMainDlg::~CMainDlg() = default;

// ---- The widgets

QWidget* CMainDlg::Control(int controlId) const {
    if (QWidget* widget = m_panel->Control(controlId)) return widget;
    const auto found = m_controls.find(controlId);
    return found == m_controls.end() ? nullptr : found->second;
}

QAction* CMainDlg::Command(int commandId) const {
    const auto found = m_commands.find(commandId);
    return found == m_commands.end() ? nullptr : found->second;
}

QLabel* CMainDlg::Picture() const { return m_panel->Picture(); }
QLabel* CMainDlg::GameReadsText() const { return m_panel->GameReadsText(); }

void CMainDlg::BuildWidgets() {
    setWindowTitle(QStringLiteral("Morvane"));
    // The editor, or the start page while no file is open.
    m_pages = new QStackedWidget(this);
    setCentralWidget(m_pages);
    // The start page joins the pages when it is first shown: the pages are laid out to the
    // largest of them, and its wrapped text and large title cost a start that opens a file.
    auto* central = new QWidget(m_pages);
    m_editorPage = central;
    m_pages->addWidget(central);
    m_pages->setCurrentWidget(central);
    auto* layout = new QVBoxLayout(central);
    BuildMenu();
    BuildTable();
    statusBar()->setSizeGripEnabled(true);

    // The tree and the editor side by side; the Problems panel docks beneath both, across the
    // window's width, where its messages have room.
    auto* splitter = new QSplitter(Qt::Horizontal, central);
    m_splitter = splitter;
    splitter->setChildrenCollapsible(false);
    m_treeView = new QTreeView(splitter);
    m_finder = new TreeFinder(*m_model, m_tree, m_items, m_catalogue, m_treeView, splitter);
    m_treeView->header()->hide();
    m_treeView->setUniformRowHeights(true);
    m_treeView->setRootIsDecorated(true);
    m_treeView->setDragEnabled(false);
    m_treeView->setSelectionMode(QAbstractItemView::SingleSelection);
    m_treeView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_treeView->setObjectName(QStringLiteral("control%1").arg(control::kTree));
    m_treeView->setAccessibleName(QStringLiteral("Rules tree"));
    m_treeView->installEventFilter(this);
    m_controls[control::kTree] = m_treeView;
    connect(m_finder, &TreeFinder::ItemSelected, this, &CMainDlg::OnTreeCurrentChanged);

    splitter->addWidget(m_finder);
    // On a small screen (or a large scale factor) the editor scrolls instead of being cut off.
    auto* scroll = new QScrollArea(splitter);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);  // the panel's controls take the focus, not their frame
    m_panel = new EditorPanel;
    scroll->setWidget(m_panel);
    splitter->addWidget(scroll);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 1);
    layout->addWidget(splitter, 1);
    connect(m_panel, &EditorPanel::ApplyRequested, this, &CMainDlg::OnApply);
    connect(m_panel, &EditorPanel::DefaultRequested, this, &CMainDlg::OnDefault);
    connect(m_panel, &EditorPanel::Edited, this, &CMainDlg::SchedulePendingRefresh);
    connect(m_panel, &EditorPanel::Shown, this, [this] {
        m_applyAction->setEnabled(m_editor->m_bApplyEnabled);
        m_defaultAction->setEnabled(m_editor->m_bDefaultEnabled);
        m_commands.at(control::kMatchAllMenuItem)->setEnabled(m_editor->m_bMatchAllEnabled);
        m_commands.at(control::kMatchAllMenuItem)->setToolTip(ToQt(m_editor->m_strMatchAllRefusal));
    });
    BuildFindingsView();

    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(QStringLiteral("OK"), central);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), central);
    for (auto [id, button] : {std::pair{1, ok}, std::pair{2, cancel}}) {
        button->setObjectName(QStringLiteral("control%1").arg(id));
        m_controls[id] = button;
    }
    // Enter on a focused OK presses it; outside a dialog that needs saying.
    ok->setAutoDefault(true);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    cancel->setAutoDefault(false);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &CMainDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CMainDlg::reject);

    m_pendingLabel = new QLabel(QStringLiteral("Edit not applied"), this);
    m_pendingLabel->setToolTip(
        QStringLiteral("The controls hold a value that is not in the file yet: Apply writes it."));
    m_pendingLabel->hide();
    statusBar()->addPermanentWidget(m_pendingLabel);
    // What the open file holds, after every check.
    m_fileSummary = new QLabel(this);
    m_fileSummary->setObjectName(QStringLiteral("fileSummary"));
    statusBar()->addPermanentWidget(m_fileSummary);
    m_fingerprintLabel = new QLabel(this);
    m_fingerprintLabel->setObjectName(QStringLiteral("fingerprint"));
    m_fingerprintLabel->setToolTip(
        QStringLiteral("The number the game compares between players before a network game: players whose rules "
                       "files give different numbers are refused. Notes, spacing and line endings do not change "
                       "it; the order and letter case of sections and keys do."));
    m_fingerprintLabel->hide();
    statusBar()->addPermanentWidget(m_fingerprintLabel);

    // The first size: about seven tenths of the screen, at least 1100 by 750 where the screen
    // has room for it; the window's frame and the desktop's panels come on top.
    QSize size(1100, 750);
    if (const QScreen* shown = screen()) {
        const QSize room = shown->availableGeometry().size() - QSize(16, 40);
        size = size.expandedTo(room * 7 / 10).boundedTo(room);
    }
    resize(size);
    splitter->setSizes({size.width() * 2 / 5, size.width() * 3 / 5});
}

// The check's findings: markers and tooltips on the tree and the Problems panel.
void CMainDlg::BuildFindingsView() {
    m_findings = new FindingMarks(m_tree, m_items, m_session->Rules(), this);
    connect(m_model, &QAbstractItemModel::dataChanged, m_findings, &FindingMarks::LabelChanged);
    connect(m_model, &QAbstractItemModel::modelReset, m_findings, &FindingMarks::TreeRebuilt);
    // The file is checked as the bottom of the game's layers that the Game menu chooses.
    m_layerEditing = new LayerEditing(
        *m_findings, m_tree, m_items, *m_session, *m_layersMenu, m_prompts,
        {this, [this] { return m_editor->m_hCurItem; }, [this] { return m_paths.rulesPath; },
         [this] { return ConfirmPendingEdit(); },
         [this](const std::string& path, const std::optional<EditedLayer>& layer) { return OpenFile(path, layer); },
         [this](TreeItem item) { SelectItem(item); },
         [this](const std::string& description, const std::function<bool()>& write) {
             RecordWrite(description, write);
         },
         [this] { ShowCurrentItemAgain(); }, [this](const QString& text) { ShowStatus(text); }});
    connect(m_commands.at(command::kOpenLayer), &QAction::triggered, m_layerEditing, &LayerEditing::OnOpenLayer);
    m_findings->SetLayers([this](const std::string& open) { return m_layerEditing->Choice(open); });
    connect(m_layersMenu, &GameLayersMenu::Changed, m_findings, &FindingMarks::LabelChanged);

    // The view may show the tree through proxies (a filter, say): the marks belong to the items.
    const auto itemOf = [this](QModelIndex index) {
        while (const auto* proxy = qobject_cast<const QAbstractProxyModel*>(index.model()))
            index = proxy->mapToSource(index);
        return index.model() == m_model ? m_model->ItemOf(index) : kNoItem;
    };
    m_treeView->setItemDelegate(new FindingMarkDelegate(*m_findings, itemOf, m_treeView));
    // The find bar's "has a problem" toggle keeps the items that carry a finding.
    m_finder->SetProblemTest([this](TreeItem item) { return !m_findings->MarkText(item).isEmpty(); });
    m_finder->FilterModel()->SetMarkText([this](TreeItem item) { return m_findings->MarkText(item); });
    m_finder->SetOverriddenTest([this](TreeItem item) { return m_findings->IsOverridden(item); });
    m_panel->SetGamePlays([this](TreeItem item) {
        return EditorPanel::GamePlaysLine{m_findings->GamePlays(item),
                                          item != kNoItem && m_tree.IsKeyItem(item) && !m_tree.GetItemValue(item)};
    });
    m_model->SetInherited([this](TreeItem item) { return m_layerEditing->Inherited(item); });
    m_panel->AddBelowGameReads(m_layerEditing->BuildRow(m_panel));
    statusBar()->addPermanentWidget(m_layerEditing->StatusLabel(this));
    const auto showLayerRow = [this] { m_layerEditing->ShowFor(m_editor->m_hCurItem, m_paths.rulesPath); };
    connect(m_panel, &EditorPanel::Shown, this, showLayerRow);
    connect(m_findings, &FindingMarks::Refreshed, this, showLayerRow);
    // What the files beneath a layer give a key it leaves out is known once the file is checked:
    // the controls of such a key, untouched, start from it.
    connect(m_findings, &FindingMarks::Refreshed, this, [this] {
        const TreeItem item = m_editor->m_hCurItem;
        if (m_layerEditing->Active() && item != kNoItem && !m_tree.GetItemValue(item) && !m_editor->HasPendingEdit())
            m_editor->OnSelchangedTree(item);
    });
    m_panel->SetGameReads([this](TreeItem item) { return m_findings->GameReads(item); });
    m_panel->SetFacts([this](TreeItem item) { return FactsOf(m_tree, m_catalogue, item); });

    m_problems = new ProblemsPanel(*m_findings, this);
    addDockWidget(Qt::BottomDockWidgetArea, m_problems);
    m_viewMenu->addAction(m_problems->toggleViewAction());
    m_problems->toggleViewAction()->setText(QStringLiteral("&Problems"));
    // Another file (or the same one rebuilt) starts the list at its top.
    connect(m_model, &QAbstractItemModel::modelReset, m_problems, &ProblemsPanel::StartAtTop);
    // The first check waits until the window has been painted once: the tree comes first.
    m_findings->HoldUntilPainted(m_treeView->viewport());
    connect(m_problems, &ProblemsPanel::ItemChosen, this, [this](TreeItem item) { SelectItem(item); });
    BuildCompare();

    connect(m_findings, &FindingMarks::Refreshed, this, [this] {
        const auto findings = static_cast<int>(m_findings->Findings().size());
        m_fileSummary->setText(QStringLiteral("%1 %2 set, %3 %4")
                                   .arg(m_findings->KeysSet())
                                   .arg(m_findings->KeysSet() == 1 ? QStringLiteral("key") : QStringLiteral("keys"))
                                   .arg(findings)
                                   .arg(findings == 1 ? QStringLiteral("finding") : QStringLiteral("findings")));
        // Only the rows whose mark changed are painted again, unless any row may have changed:
        // a tree built anew, or an edited layer, whose keys show what the files beneath give.
        if (m_findings->AllMarksChanged() || m_layerEditing->Active()) {
            m_treeView->viewport()->update();
        } else {
            for (const TreeItem item : m_findings->ChangedMarks()) m_treeView->update(m_finder->ViewIndexOf(item));
        }
        m_finder->Refilter();
        // A write changes what the game reads: the line follows the file.
        m_panel->ShowGameReads();
        const auto fingerprint = m_findings->Fingerprint();
        m_fingerprintLabel->setVisible(fingerprint.has_value());
        if (fingerprint)
            m_fingerprintLabel->setText(
                QStringLiteral("Fingerprint: %1").arg(QString::fromStdString(compare::FingerprintText(*fingerprint))));
    });
}

void CMainDlg::BuildCompare() {
    m_compare =
        new CompareCommands(m_catalogue, *m_findings, m_session->Rules(), m_prompts, *m_finder, *m_treeView, *m_panel,
                            {this, [this] { return m_editor->m_hCurItem; }, [this](TreeItem item) { SelectItem(item); },
                             [this](TreeItem item) { m_editor->OnSelchangedTree(item); },
                             [this](const QString& text) { ShowStatus(text); }, [this] { return m_paths.rulesPath; },
                             [this](const std::string& description, const std::vector<platform::ProfileWrite>& writes) {
                                 return WriteValues(description, writes);
                             }},
                            {m_commands.at(command::kCompareWith), m_commands.at(command::kCompareWithStock),
                             m_commands.at(command::kExportChanges)});
    DifferencesDock* differences = m_compare->Differences();
    addDockWidget(Qt::BottomDockWidgetArea, differences);
    tabifyDockWidget(m_problems, differences);
    m_problems->raise();
    differences->hide();
    QAction* toggle = differences->toggleViewAction();
    toggle->setText(QStringLiteral("&Differences"));
    m_viewMenu->addAction(toggle);
    // It shares its place with the Problems panel: asking for it brings its tab to the front.
    connect(toggle, &QAction::triggered, differences, [differences](bool shown) {
        if (shown) differences->raise();
    });
}

ReferenceCompare& CMainDlg::Reference() const { return m_compare->Reference(); }
ReferenceRow* CMainDlg::ReferenceValueRow() const { return m_compare->Row(); }
DifferencesDock* CMainDlg::Differences() const { return m_compare->Differences(); }

// The table of objects beside the tree; its writes go through the window's bracket and history,
// so that an edit in a cell is one undoable step like an Apply.
void CMainDlg::BuildTable() {
    m_balance = new BalanceDock(
        m_catalogue, m_prompts, [this] { return m_session->Path(); },
        [this](const std::string& description, const std::vector<platform::ProfileWrite>& writes) {
            return WriteValues(description, writes);
        },
        this);
    addDockWidget(Qt::RightDockWidgetArea, m_balance);
    m_balance->hide();
    QAction* toggle = m_balance->toggleViewAction();
    toggle->setText(QStringLiteral("&Table"));
    toggle->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T));
    m_viewMenu->addAction(toggle);
    // Undo, redo and another program's change move the file under the table: show it again.
    const auto refresh = [this] {
        if (m_balance->isVisible()) m_balance->Refresh();
    };
    connect(m_session, &FileSession::HistoryChanged, m_balance, refresh);
    connect(m_session, &FileSession::ReloadNeeded, m_balance, refresh, Qt::QueuedConnection);
}

void CMainDlg::BuildMenu() {
    QMenuBar* bar = menuBar();
    // An entry without a handler here is handed to the part of the window that runs it.
    const auto add = [this](QMenu* menu, int id, const char* text, void (CMainDlg::*handler)(),
                            QKeySequence shortcut = {}) {
        QAction* action = menu->addAction(QString::fromUtf8(text));
        action->setShortcut(shortcut);
        if (handler != nullptr) connect(action, &QAction::triggered, this, handler);
        m_commands[id] = action;
        return action;
    };
    // Every entry has a mnemonic; those that ask for more before they act end in an ellipsis.
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    add(file, command::kFileNew, "&New\u2026", &CMainDlg::OnFileNew, QKeySequence::New);
    add(file, command::kFileOpen, "&Open\u2026", &CMainDlg::OnFileOpen, QKeySequence::Open);
    add(file, command::kOpenLayer, "Open La&yer\u2026", nullptr);
    add(file, command::kFileSaveAs, "Save &As\u2026", &CMainDlg::OnFileSaveAs, QKeySequence::SaveAs);
    m_recent = new app::RecentFiles(file->addMenu(QStringLiteral("Recent &Files")), this);
    connect(m_recent, &RecentFiles::Chosen, this, &CMainDlg::OpenRecentFile);
    file->addSeparator();
    add(file, command::kCompareWith, "&Compare With\u2026", nullptr);
    add(file, command::kCompareWithStock, "Compare With S&tock Values", nullptr);
    add(file, command::kExportChanges, "&Export Changes\u2026", nullptr);
    file->addSeparator();
    add(file, command::kLaunchGame, "&Launch RA", &CMainDlg::OnLaunchGame);
    add(file, command::kLaunchWithFile, "Launch RA &with This File\u2026", &CMainDlg::OnLaunchWithFile);
    file->addSeparator();
    add(file, command::kExit, "E&xit", &CMainDlg::OnExit, QKeySequence::Quit);
    m_commands[command::kExit]->setStatusTip(ToQt(m_catalogue.Text(command::kExit)));

    QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
    // Undo and redo: the session's history gives the menu its texts and states.
    QAction* undo = add(edit, control::kUndoMenuItem, "&Undo", &CMainDlg::OnUndo, QKeySequence::Undo);
    QAction* redo = add(edit, control::kRedoMenuItem, "&Redo", &CMainDlg::OnRedo);
    // Both usual keys, each registered once (the platform's Redo may already be one of them).
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    const auto showHistory = [this, undo, redo] {
        const struct {
            QAction* action;
            EditHistory::Direction direction;
            QString text;
        } entries[] = {{undo, EditHistory::Direction::Back, QStringLiteral("&Undo")},
                       {redo, EditHistory::Direction::Forward, QStringLiteral("&Redo")}};
        for (const auto& entry : entries) {
            const std::string next = m_session->NextDescription(entry.direction);
            entry.action->setEnabled(!next.empty());
            entry.action->setText(next.empty() ? entry.text : entry.text + QLatin1Char(' ') + ToQt(next));
        }
    };
    showHistory();
    connect(m_session, &FileSession::HistoryChanged, this, showHistory);
    edit->addSeparator();
    add(edit, command::kMatchAll, "&Match All In Section\u2026", &CMainDlg::OnMatchAllInSection);
    // A greyed-out Match All says why in its tooltip.
    edit->setToolTipsVisible(true);
    m_viewMenu = bar->addMenu(QStringLiteral("&View"));
    m_layersMenu = new GameLayersMenu(bar->addMenu(QStringLiteral("&Game")), this);
    QMenu* options = bar->addMenu(QStringLiteral("&Options"));
    QAction* location = options->addAction(QString::fromUtf8("&Program Location\u2026"));
    connect(location, &QAction::triggered, this, [this] { OnProgramLocation(); });
    m_commands[command::kProgramLocation] = location;
    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    add(help, command::kAbout, "&About Morvane", &CMainDlg::OnAbout);
    m_commands[command::kAbout]->setStatusTip(ToQt(m_catalogue.Text(command::kAbout)));
    add(help, command::kSplash, "&Splash", &CMainDlg::OnSplash);
    BuildToolBar();
}

// The everyday actions, one click away.
void CMainDlg::BuildToolBar() {
    QToolBar* tools = addToolBar(QStringLiteral("Tools"));
    tools->setObjectName(QStringLiteral("tools"));
    tools->setMovable(false);
    tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    const auto make = [this](QStyle::StandardPixmap icon, const QString& text, const QString& tip) {
        auto* action = new QAction(guicommon::StandardIcon(*this, icon), text, this);
        action->setToolTip(tip);
        return action;
    };
    m_applyAction = make(QStyle::SP_DialogApplyButton, QStringLiteral("Apply"),
                         QStringLiteral("Write the value shown into the rules file (Enter)"));
    m_defaultAction =
        make(QStyle::SP_DialogResetButton, QStringLiteral("Default"), QStringLiteral("Give the key its default value"));
    auto* find = make(QStyle::SP_FileDialogContentsView, QStringLiteral("Find"),
                      QStringLiteral("Find keys by name, value or object (Ctrl+F)"));
    auto* check = make(QStyle::SP_BrowserReload, QStringLiteral("Check"),
                       QStringLiteral("Check the file again as the game reads it"));
    for (QAction* action : {m_applyAction, m_defaultAction}) action->setEnabled(false);
    connect(m_applyAction, &QAction::triggered, this, &CMainDlg::OnApply);
    connect(m_defaultAction, &QAction::triggered, this, &CMainDlg::OnDefault);
    connect(find, &QAction::triggered, this, [this] { m_finder->FocusField(); });
    connect(check, &QAction::triggered, this, [this] {
        m_findings->Refresh();
        m_problems->show();
        m_problems->raise();
    });
    m_commands.at(command::kFileOpen)->setIcon(guicommon::StandardIcon(*this, QStyle::SP_DialogOpenButton));
    m_commands.at(control::kUndoMenuItem)->setIcon(guicommon::StandardIcon(*this, QStyle::SP_ArrowBack));
    m_commands.at(control::kRedoMenuItem)->setIcon(guicommon::StandardIcon(*this, QStyle::SP_ArrowForward));
    m_commands.at(command::kMatchAll)->setIcon(guicommon::StandardIcon(*this, QStyle::SP_FileDialogListView));
    tools->addAction(m_commands.at(command::kFileOpen));
    tools->addSeparator();
    tools->addAction(m_commands.at(control::kUndoMenuItem));
    tools->addAction(m_commands.at(control::kRedoMenuItem));
    tools->addSeparator();
    tools->addAction(find);
    tools->addSeparator();
    tools->addAction(m_applyAction);
    tools->addAction(m_defaultAction);
    tools->addAction(m_commands.at(command::kMatchAll));
    tools->addSeparator();
    tools->addAction(check);
    m_viewMenu->addAction(tools->toggleViewAction());
    tools->toggleViewAction()->setText(QStringLiteral("Tool&bar"));
}

// ---- The file

bool CMainDlg::OnInitDialog() {
    m_strSearchDir = gamesetup::WithoutTrailingSeparator(platform::CurrentDirectory().value_or(""));
    StartupAnswers answers(m_paths, m_strSearchDir, m_prompts, this, [this] { return OnProgramLocation(); });
    const auto found = gamesetup::LocateRulesFile(m_paths.rulesPath, m_strSearchDir, answers);
    if (!found || !OpenRulesFile(*found)) ShowStartPage(answers.Looked());
    return true;
}

void CMainDlg::ShowStartPage(const QStringList& looked) {
    m_paths.rulesPath.clear();
    setWindowTitle(QStringLiteral("Morvane"));
    if (m_startPage == nullptr) {
        m_startPage = new StartPage(m_pages);
        m_pages->addWidget(m_startPage);
        connect(m_startPage, &StartPage::OpenRequested, this, &CMainDlg::OnFileOpen);
        connect(m_startPage, &StartPage::NewRequested, this, &CMainDlg::OnFileNew);
        connect(m_startPage, &StartPage::GameFolderRequested, this, &CMainDlg::OnStartPageGameFolder);
        connect(m_startPage, &StartPage::RecentChosen, this, &CMainDlg::OpenRecentFile);
    }
    m_startPage->Show(looked, RecentFiles());
    m_pages->setCurrentWidget(m_startPage);
    m_problems->hide();
    EnableFileCommands(false);
    ShowStatus(QStringLiteral("No rules file is open."));
}

void CMainDlg::EnableFileCommands(bool fileOpen) {
    for (const int id :
         {command::kFileSaveAs, command::kCompareWith, command::kExportChanges, command::kLaunchWithFile})
        m_commands.at(id)->setEnabled(fileOpen);
    // With a file open, the key shown decides about these.
    if (!fileOpen) {
        for (QAction* action : {m_commands.at(command::kMatchAll), m_applyAction, m_defaultAction})
            action->setEnabled(false);
    }
}

bool CMainDlg::ShowsStartPage() const { return m_startPage != nullptr && m_pages->currentWidget() == m_startPage; }

// Set the Game Folder on the start page: the settings, then the search again.
void CMainDlg::OnStartPageGameFolder() {
    if (!OnProgramLocation()) return;
    OnInitDialog();
}

void CMainDlg::ShowFileOpen(const std::string& path) {
    m_paths.rulesPath = path;
    EnableFileCommands(true);
    setWindowTitle(QStringLiteral("Morvane - ") + m_layerEditing->Title(path));
    // A layer is not a rules file to hand the game.
    m_commands.at(command::kLaunchWithFile)->setEnabled(!m_layerEditing->Active());
    // The layer files beside the rules file join the check; say which were found.
    const QString layers = m_layersMenu->ShowFilesBeside(m_layerEditing->RulesOf(path));
    if (m_layerEditing->Active())
        ShowStatus(m_layerEditing->Description(path));
    else if (!layers.isEmpty())
        ShowStatus(layers);
}

void CMainDlg::BuildTree(Tree& tree) {
    TreeBuilder(tree, m_catalogue, m_session->Rules()).BuildTree();
    m_layerEditing->KeepOfferedSections(tree, m_catalogue);
}

bool CMainDlg::OpenFile(const std::string& path, const std::optional<app::EditedLayer>& layer) {
    // A file the window cannot read whole (no permission, too large) is refused with the reason
    // rather than shown as an empty tree; what is open stays open.
    const platform::FileReadResult read = platform::ReadRegularFile(path);
    if (!read.bytes) {
        m_prompts.ShowMessage(this, PathToQt(gamesetup::FailedToLoadMessage(path)), kCaption, QMessageBox::Warning);
        return false;
    }
    SaveFileState();
    m_layerEditing->Set(layer);
    m_findings->SetEditedLayer(m_layerEditing->Edited());
    if (m_pages->currentWidget() != m_editorPage) {
        m_pages->setCurrentWidget(m_editorPage);
        m_problems->show();
    }
    ShowFileOpen(path);
    m_session->Open(path, read.bytes);
    m_model->BeginRebuild();
    // The old editor points at items of the old tree: start afresh.
    m_editor = std::make_unique<ValueEditor>(m_tree, m_catalogue, m_items);
    ConnectEditor();
    BuildTree(m_tree);
    m_model->EndRebuild();
    DoDataExchange(false);
    m_session->Remember();
    RestoreFileState();
    if (m_balance != nullptr && m_balance->isVisible()) m_balance->Refresh();
    return true;
}

void CMainDlg::ConnectEditor() {
    m_editor->SetDataExchange(m_panel);
    m_editor->SetValueBeneath([this](TreeItem item) { return m_layerEditing->ValueBeneath(item); });
    m_panel->SetEditor(m_editor.get());
}

void CMainDlg::CheckRulesFile() { m_session->CheckRulesFile(); }

void CMainDlg::ReloadLabels() {
    Tree fresh;
    BuildTree(fresh);
    m_session->Remember();
    DoDataExchange(true);
    const TreeItem current = m_editor->m_hCurItem;
    const bool pending = current != kNoItem && m_editor->HasPendingEdit();
    const std::optional<std::string> shownValue =
        current != kNoItem ? std::optional<std::string>(m_tree.GetItemValue(current)) : std::nullopt;

    QString news = QStringLiteral("Another program changed the rules file; the values shown were read from it again.");

    if (SameShape(fresh, m_tree)) {
        // Only values changed: take them in place, so the view keeps its open branches, its
        // selection and where it is scrolled to.
        bool anyChanged = false;
        for (TreeItem item = 1; item <= fresh.ItemCount(); ++item) {
            if (fresh.GetItemValue(item) == m_tree.GetItemValue(item)) continue;
            m_tree.SetItemValue(item, fresh.GetItemValue(item));
            anyChanged = true;
        }
        if (!anyChanged) return;  // touched, not changed
        if (pending && m_tree.GetItemValue(current) != shownValue)
            news += QStringLiteral(" The file now holds %1; your change of %2 is kept, not yet applied.")
                        .arg(ToQt(m_tree.GetItemText(current)), ToQt(m_tree.GetItemKey(current)));
        else if (!pending && current != kNoItem)
            m_editor->OnSelchangedTree(current);
        ShowStatus(news);
        return;
    }

    // Keys are sorted by name, so values never move items; should a build still differ, start
    // afresh on the file and go back to the selected item.
    const std::string currentPath = current != kNoItem ? m_editor->GetItemPath(current) : std::string();
    const std::string shownKey = current != kNoItem ? std::string(m_tree.GetItemKey(current)) : std::string();
    OpenFile(m_paths.rulesPath, m_layerEditing->Current());
    if (const TreeItem again = FindItemByPath(m_tree, currentPath); again != kNoItem) SelectItem(again);
    ShowStatus(news +
               (pending ? QStringLiteral(" Your change of %1 could not be kept.").arg(ToQt(shownKey)) : QString()));
}

void CMainDlg::ShowStatus(const QString& text) {
    m_statusText = text;
    // The status bar has one line: the whole text is in its tooltip.
    statusBar()->showMessage(text);
    statusBar()->setToolTip(text);
}

void CMainDlg::SelectItem(TreeItem item) {
    const QModelIndex index = m_finder->ViewIndexOf(item);
    for (QModelIndex parent = index.parent(); parent.isValid(); parent = parent.parent()) m_treeView->expand(parent);
    m_treeView->scrollTo(index);
    m_treeView->setCurrentIndex(index);
}

// ---- The value editor

void CMainDlg::DoDataExchange(bool saveAndValidate) { m_panel->DoDataExchange(saveAndValidate); }

void CMainDlg::OnSelchangedTree(TreeItem item) { m_editor->OnSelchangedTree(item); }

void CMainDlg::RecordWrite(const std::string& description, const std::function<bool()>& write) {
    const TreeItem item = m_editor->m_hCurItem;
    std::string named = description;
    if (item != kNoItem && description.find(' ') == std::string::npos)
        named.append(" ").append(m_tree.GetItemKey(item));
    const bool written = m_session->RecordWrite(named, m_tree, write);
    RefreshPending();
    if (!written) {
        if (!m_session->LastMessage().empty()) ShowStatus(ToQt(m_session->LastMessage()).replace('\n', ' '));
        return;
    }
    if (description == "Apply" || description == "Default") ShowStatus(ToQt(DescribeItemWrite(m_tree, m_items, item)));
}

bool CMainDlg::WriteValues(const std::string& description, const std::vector<platform::ProfileWrite>& writes) {
    if (writes.empty() || !m_session->PrepareWrite()) return false;
    bool written = false;
    RecordWrite(description, [&] {
        if (m_session->Rules().WriteValues(writes) != 0) return false;
        written = true;
        // The tree shows the new values too: its values are read again, in place.
        Tree fresh;
        TreeBuilder(fresh, m_catalogue, m_session->Rules()).BuildTree();
        if (fresh.ItemCount() == m_tree.ItemCount()) {
            for (TreeItem item = 1; item <= fresh.ItemCount(); ++item)
                if (fresh.GetItemValue(item) != m_tree.GetItemValue(item))
                    m_tree.SetItemValue(item, fresh.GetItemValue(item));
        }
        return true;
    });
    m_session->FileWritten();
    const TreeItem current = m_editor->m_hCurItem;
    if (written && current != kNoItem && !m_editor->HasPendingEdit()) m_editor->OnSelchangedTree(current);
    return written;
}

void CMainDlg::OnApply() {
    const TreeItem item = m_editor->m_hCurItem;
    if (item != kNoItem && m_editor->m_bApplyEnabled && !m_editor->HasPendingEdit() &&
        m_finder->FilterModel()->StateOf(item).present) {
        ShowStatus(ToQt("Nothing to apply: the file already holds " + m_tree.GetItemText(item) + "."));
        return;
    }
    if (const QString problem = m_panel->TypedProblem(); !problem.isEmpty()) {
        // The modder may mean it (a test, a value the game takes beyond the usual range): ask.
        const auto answer =
            m_prompts.Ask(this,
                          QStringLiteral("This value is %1.\n\nThe game may read it as something else, or not at all. "
                                         "Write it to the file anyway?")
                              .arg(problem),
                          kCaption, QMessageBox::Yes | QMessageBox::Cancel);
        if (answer != QMessageBox::Yes) {
            ShowStatus(
                QStringLiteral("Not applied: the value is %1. Correct it, or Apply again and confirm.").arg(problem));
            return;
        }
    }
    if (!m_session->PrepareWrite()) return;
    RecordWrite("Apply", [this] { return m_editor->OnApply(); });
    m_session->FileWritten();
}

void CMainDlg::OnDefault() {
    if (!m_session->PrepareWrite()) return;
    RecordWrite("Default", [this] { return m_editor->OnDefault(); });
    m_session->FileWritten();
}

bool CMainDlg::PrepareMatchAll() {
    const TreeItem before = m_editor->m_hCurItem;
    const std::string shown = before != kNoItem ? m_tree.GetItemText(before) : std::string();
    bool reloaded = false;
    if (!m_session->PrepareWrite(&reloaded)) return false;
    const TreeItem now = m_editor->m_hCurItem;
    if (!reloaded || now == kNoItem || m_tree.GetItemText(now) == shown) return true;
    // The value to copy came from the file just now, not from what the user saw: ask.
    const auto answer = m_prompts.Ask(
        this,
        QStringLiteral("Another program changed the rules file. It now holds\n%1\n(the window showed %2).\n\n"
                       "Copy this value into every section?")
            .arg(ToQt(m_tree.GetItemText(now)), ToQt(shown)),
        kCaption, QMessageBox::Yes | QMessageBox::Cancel);
    if (answer == QMessageBox::Yes) return true;
    m_session->EndWrite();
    return false;
}

// Match All In Section: greyed out where it does not fit, a confirmation that lists every
// change, then one write of all the siblings as one undoable step.
void CMainDlg::OnMatchAllInSection() {
    const TreeItem item = m_editor->m_hCurItem;
    if (const std::string refusal = MatchAllRefusal(m_tree, m_items, item); !refusal.empty()) {
        ShowStatus(ToQt(refusal));
        return;
    }
    // The value copied is the label's: read the file again first if another program changed it.
    if (!PrepareMatchAll()) return;
    const MatchAllPlan plan = PlanMatchAll(m_tree, m_items, m_editor->m_hCurItem);
    if (plan.changes.empty()) {
        m_session->EndWrite();
        ShowStatus(ToQt("Every sibling section already holds " + plan.key + "=" + plan.value));
        return;
    }
    if (plan.keyAbsent) {
        const QString count = QString::number(plan.changes.size());
        const auto answer = m_prompts.AskLabelled(
            this,
            ToQt(plan.key + " is not in the file for this section. Match All would write an empty " + plan.key +
                 " into ") +
                count + QStringLiteral(" sibling sections."),
            kCaption, QMessageBox::Yes | QMessageBox::Cancel,
            {{QMessageBox::Yes, QStringLiteral("Empty ") + ToQt(plan.key) + QStringLiteral(" in ") + count +
                                    QStringLiteral(" Sections")}});
        if (answer != QMessageBox::Yes) {
            m_session->EndWrite();
            return;
        }
    }
    MatchAllConfirmDlg confirm(plan, m_items.SectionNameOf(m_items.FindSectionItem(item)), m_tree, this);
    if (m_prompts.Exec(confirm) != QDialog::Accepted) {
        m_session->EndWrite();
        return;
    }
    RecordWrite("Match All " + plan.key, [&] { return ApplyMatchAll(plan, m_tree, m_session->Rules()) == 0; });
    m_session->FileWritten();
    if (m_session->LastMessage().empty())
        ShowStatus(ToQt(DescribeMatchAllWrite(plan.key, plan.value, plan.changes.size())));
}

// ---- Undo and redo

void CMainDlg::ShowCurrentItemAgain() {
    // The controls follow the restored label, as after a fresh selection.
    if (m_editor->m_hCurItem != kNoItem) m_editor->OnSelchangedTree(m_editor->m_hCurItem);
    RefreshPending();
}

bool CMainDlg::ConfirmDiscardForHistory() {
    if (m_editor->m_hCurItem == kNoItem || !m_editor->HasPendingEdit()) return true;
    const std::string key(m_tree.GetItemKey(m_editor->m_hCurItem));
    return m_prompts.AskLabelled(this,
                                 ToQt("The value of " + key +
                                      " was changed but not applied; the controls will show the value the "
                                      "file is given back."),
                                 kCaption, QMessageBox::Discard | QMessageBox::Cancel,
                                 {{QMessageBox::Cancel, QStringLiteral("Keep the Edit")}}) == QMessageBox::Discard;
}

void CMainDlg::AfterHistoryStep(const char* verb, const std::optional<std::string>& description) {
    if (!description) return;
    ShowCurrentItemAgain();
    ShowStatus(ToQt(verb + *description));
}

void CMainDlg::OnUndo() {
    if (!m_session->CanUndo() || !ConfirmDiscardForHistory()) return;
    AfterHistoryStep("Undid ", m_session->Undo(m_tree));
}

void CMainDlg::OnRedo() {
    if (!m_session->CanRedo() || !ConfirmDiscardForHistory()) return;
    AfterHistoryStep("Redid ", m_session->Redo(m_tree));
}

// ---- Pending edits and the tree's selection

void CMainDlg::SchedulePendingRefresh() {
    if (m_pendingRefreshQueued) return;
    m_pendingRefreshQueued = true;
    QTimer::singleShot(0, this, [this] {
        m_pendingRefreshQueued = false;
        RefreshPending();
    });
}

void CMainDlg::RefreshPending() {
    const bool pending = m_editor->m_hCurItem != kNoItem && m_editor->HasPendingEdit();
    m_pendingLabel->setVisible(pending);
    m_panel->ShowPending(pending);
}

bool CMainDlg::ShowsPendingEdit() const { return m_pendingLabel->isVisibleTo(this); }

void CMainDlg::OnTreeCurrentChanged(TreeItem item) {
    if (m_revertingSelection || item == kNoItem) return;
    if (item != m_editor->m_hCurItem && m_editor->m_hCurItem != kNoItem && m_editor->HasPendingEdit()) {
        const std::string key(m_tree.GetItemKey(m_editor->m_hCurItem));
        const auto answer =
            m_prompts.AskLabelled(this, ToQt("The value of " + key + " was changed but not applied."), kCaption,
                                  QMessageBox::Apply | QMessageBox::Discard | QMessageBox::Cancel, {});
        if (answer == QMessageBox::Apply) OnApply();
        // Cancel, or an Apply whose write failed: stay on the edited key.
        const bool stay = answer == QMessageBox::Apply ? m_editor->HasPendingEdit() : answer != QMessageBox::Discard;
        if (stay) {
            // Stay on the edited key, its edit intact.
            m_revertingSelection = true;
            m_treeView->setCurrentIndex(m_finder->ViewIndexOf(m_editor->m_hCurItem));
            m_revertingSelection = false;
            return;
        }
    }
    OnSelchangedTree(item);
    RefreshPending();
}

bool CMainDlg::ConfirmPendingEdit(bool closing) {
    if (m_editor->m_hCurItem == kNoItem || !m_editor->HasPendingEdit()) return true;
    const std::string key(m_tree.GetItemKey(m_editor->m_hCurItem));
    UserPrompts::ButtonLabels labels;
    if (closing) {
        labels[QMessageBox::Apply] = QStringLiteral("Apply and Close");
        labels[QMessageBox::Discard] = QStringLiteral("Close Without Applying");
    }
    const auto answer =
        m_prompts.AskLabelled(this, ToQt("The value of " + key + " was changed but not applied."), kCaption,
                              QMessageBox::Apply | QMessageBox::Discard | QMessageBox::Cancel, labels);
    if (answer == QMessageBox::Apply) {
        OnApply();
        return !m_editor->HasPendingEdit();  // a failed write keeps the user here, edit intact
    }
    return answer == QMessageBox::Discard;
}

// ---- Closing

void CMainDlg::accept() {
    if (!m_closing && !ConfirmPendingEdit(true)) return;
    m_closing = true;
    close();
}

void CMainDlg::reject() { accept(); }

void CMainDlg::closeEvent(QCloseEvent* event) {
    if (!m_closing && !ConfirmPendingEdit(true)) {
        event->ignore();
        return;
    }
    m_closing = true;
    SaveFileState();
    SaveWindowState();
    QMainWindow::closeEvent(event);
    emit Closed();
}

bool CMainDlg::eventFilter(QObject* watched, QEvent* event) {
    // Tab in the tree goes straight to the shown key's value.
    if (watched == m_treeView && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab && key->modifiers() == Qt::NoModifier && m_panel->FocusValue()) return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainDlg::OnExit() { accept(); }

// ---- What the window remembers per user

void CMainDlg::RestoreWindowState() {
    QSettings store(QStringLiteral("Morvane"), QStringLiteral("Morvane"));
    m_splitter->restoreState(store.value(QStringLiteral("Window/Splitter")).toByteArray());
    restoreState(store.value(QStringLiteral("Window/Docks")).toByteArray());
    // The inside of the frame as it was, put back as it was: placing the frame instead (or
    // guessing its title bar) lets the window creep down at every start. A rectangle kept from
    // a larger screen (or a smaller scale factor) must still fit this one.
    const QRect kept = store.value(QStringLiteral("Window/Rect")).toRect();
    if (kept.isValid()) {
        QRect placed = kept;
        if (const QScreen* shown = screen()) {
            const QRect available = shown->availableGeometry();
            placed.setSize(placed.size().boundedTo(available.size() - QSize(16, 40)));
            placed.moveLeft(std::max(available.left(), std::min(placed.left(), available.right() - placed.width())));
            placed.moveTop(std::max(available.top(), std::min(placed.top(), available.bottom() - placed.height())));
        }
        setGeometry(placed);
    }
    if (store.value(QStringLiteral("Window/Maximized")).toBool()) setWindowState(windowState() | Qt::WindowMaximized);
}

void CMainDlg::SaveWindowState() {
    QSettings store(QStringLiteral("Morvane"), QStringLiteral("Morvane"));
    store.setValue(QStringLiteral("Window/Rect"), isMaximized() ? normalGeometry() : geometry());
    store.setValue(QStringLiteral("Window/Maximized"), isMaximized());
    store.setValue(QStringLiteral("Window/Splitter"), m_splitter->saveState());
    store.setValue(QStringLiteral("Window/Docks"), saveState());
}

void CMainDlg::SaveFileState() {
    // Recent Files opens rules files: a layer is not one of them.
    if (m_paths.rulesPath.empty() || m_tree.ItemCount() == 0 || m_layerEditing->Active()) return;
    RecentFiles::FileState state{ToQt(m_paths.rulesPath), {}, {}};
    for (TreeItem item = 1; item <= m_tree.ItemCount(); ++item) {
        if (m_tree.ItemHasChildren(item) && m_treeView->isExpanded(m_finder->FilterModel()->IndexOf(item)))
            state.expanded << ToQt(PathOfItem(m_tree, item));
    }
    const QModelIndex current = m_treeView->currentIndex();
    if (current.isValid()) state.selected = ToQt(PathOfItem(m_tree, m_finder->ItemOf(current)));
    m_recent->Remember(std::move(state));
}

void CMainDlg::RestoreFileState() {
    if (const auto file = m_recent->Find(ToQt(m_paths.rulesPath))) {
        for (const QString& branch : file->expanded) {
            const TreeItem item = FindItemByPath(m_tree, FromQt(branch));
            if (item != kNoItem) m_treeView->expand(m_finder->FilterModel()->IndexOf(item));
        }
        const TreeItem selected = file->selected.isEmpty() ? kNoItem : FindItemByPath(m_tree, FromQt(file->selected));
        if (selected != kNoItem) SelectItem(selected);
    }
    SaveFileState();  // the file opened is now the most recent one
}

QStringList CMainDlg::RecentFiles() const { return m_recent->Paths(); }

void CMainDlg::OpenRecentFile(const QString& path) {
    if (!ConfirmPendingEdit()) return;
    OpenRulesFile(FromQt(path));
}

// ---- The other commands

void CMainDlg::OnLaunchGame() {
    const int result = platform::LaunchProgram(m_paths.gameExe);
    const gamesetup::LaunchOutcome outcome = gamesetup::DescribeLaunchResult(result, m_paths.gameExe);
    if (outcome.message) m_prompts.ShowMessage(this, PathToQt(*outcome.message), kCaption);
    if (outcome.openProgramLocation) OnProgramLocation();
}

void CMainDlg::OnAbout() {
    CAboutDlg about(this);
    m_prompts.Exec(about);
}

void CMainDlg::OnSplash() { m_wndSplash.ShowSplash(); }

bool CMainDlg::OnProgramLocation() {
    CPropertiesDlg properties(m_prompts, this);
    properties.m_strGameDir = m_paths.gameDir;
    properties.m_strProgramDir = m_paths.startDir;
    properties.m_strGameExe = m_paths.gameExe;
    properties.m_strWorkDir = m_paths.workDir;
    properties.DoDataExchange(false);
    if (m_prompts.Exec(properties) != QDialog::Accepted) return false;
    m_paths.gameDir = properties.m_strGameDir;
    m_paths.gameExe = properties.m_strGameExe;
    m_paths.workDir = properties.m_strWorkDir;
    const QString unsaved = WriteSettings({m_paths.workDir, m_paths.gameDir, m_paths.gameExe});
    if (!unsaved.isEmpty())
        m_prompts.ShowMessage(this,
                              QStringLiteral("The settings could not be saved in\n%1\nThey hold until Morvane "
                                             "closes; check that this file and its folder can be written.")
                                  .arg(unsaved),
                              kCaption, QMessageBox::Warning);
    return true;
}

void CMainDlg::OnFileNew() {
    if (!ConfirmPendingEdit()) return;
    const std::string& current = m_paths.rulesPath;
    const std::string proposed = gamesetup::ProposeNewRulesPath(PathFromQt(FolderOf(current)));
    const QString chosen =
        m_prompts.ChooseNewFile(this, QStringLiteral("New Rules File"), PathToQt(proposed), kRulesFilter);
    if (chosen.isEmpty()) return;
    const std::string path = PathFromQt(chosen);
    switch (gamesetup::ClassifyNewFileTarget(path, current)) {
        case gamesetup::NewFileTarget::OpenFile:
            m_prompts.ShowMessage(this,
                                  QStringLiteral("%1\nis the rules file you are editing. A new rules file needs a "
                                                 "name of its own.")
                                      .arg(chosen),
                                  kCaption, QMessageBox::Warning);
            return;
        case gamesetup::NewFileTarget::NotAFile:
            m_prompts.ShowMessage(this,
                                  QStringLiteral("%1\nis not a regular file.\n\nIt is a folder, a device or a pipe, "
                                                 "which cannot hold a rules file. Choose a file name inside a folder.")
                                      .arg(chosen),
                                  kCaption, QMessageBox::Warning);
            return;
        case gamesetup::NewFileTarget::Existing:
            if (m_prompts.Ask(this,
                              QStringLiteral("%1\nalready exists. Replace it with a new rules file?\nThe file "
                                             "there now is kept as a backup beside it.")
                                  .arg(chosen),
                              kCaption, QMessageBox::Yes | QMessageBox::Cancel) != QMessageBox::Yes)
                return;
            break;
        case gamesetup::NewFileTarget::Free:
            break;
    }
    gamesetup::BackupResult backup;
    const int error = gamesetup::CreateRulesFile(path, current, MakeDefaultRulesFile(m_catalogue), backup);
    if (error != 0) {
        m_prompts.ShowMessage(this,
                              QStringLiteral("Unable To Create The Rules File, Error Number: %1\n%2")
                                  .arg(error)
                                  .arg(PathToQt(platform::DescribeFileError(error, path))),
                              chosen);
        return;
    }
    OpenRulesFile(path);
    if (!backup.backupPath.empty())
        ShowStatus(QStringLiteral("The file that was there is kept as %1.").arg(PathToQt(backup.backupPath)));
}

void CMainDlg::OnFileOpen() {
    if (!ConfirmPendingEdit()) return;
    const QString chosen =
        m_prompts.ChooseOpenFile(this, QStringLiteral("Open Rules File"), FolderOf(m_paths.rulesPath), kRulesFilter);
    if (chosen.isEmpty()) return;
    OpenRulesFile(PathFromQt(chosen));
}

void CMainDlg::OnFileSaveAs() {
    // The copy is made from the file: the labels must show what it holds.
    CheckRulesFile();
    const QString chosen =
        m_prompts.ChooseSaveFile(this, QStringLiteral("Save Rules File As"), PathToQt(m_paths.rulesPath), kRulesFilter);
    if (chosen.isEmpty()) return;
    // A name without an extension gets the rules files' one.
    const std::string path =
        PathFromQt(QFileInfo(chosen).suffix().isEmpty() ? chosen + QStringLiteral(".ini") : chosen);
    if (platform::IsSameFile(path, m_paths.rulesPath)) return;
    const int error = m_session->SaveCopyAs(path);
    if (error != 0) {
        m_prompts.ShowMessage(this, PathToQt(SaveFailureMessage(error, path)), PathToQt(m_paths.rulesPath));
        return;
    }
    // The copy holds the same values as the tree shows: carry on editing it.
    ShowFileOpen(path);
    m_session->Open(path, platform::ReadFileBytes(path), false);
    SaveFileState();  // the copy is the most recent file now
    ShowStatus(QStringLiteral("Saved as %1; the window edits this file now.").arg(PathToQt(path)));
}

void CMainDlg::OnLaunchWithFile() {
    const std::string target = gamesetup::RulesPathIn(m_paths.gameDir);
    switch (gamesetup::CheckGameRules(m_paths.rulesPath, target)) {
        case gamesetup::InstallState::SameFile:
        case gamesetup::InstallState::Identical:
            break;
        case gamesetup::InstallState::Different: {
            const auto answer = m_prompts.Ask(
                this,
                PathToQt("The game directory holds a different rules file:\n" + target +
                         "\nReplace it with the file you are editing? The file there now is kept as a backup beside "
                         "it (an earlier backup is never replaced)."),
                kCaption, QMessageBox::Yes | QMessageBox::Cancel);
            if (answer != QMessageBox::Yes) return;
            [[fallthrough]];
        }
        case gamesetup::InstallState::Missing:
            if (const int error = gamesetup::InstallGameRules(m_paths.rulesPath, target)) {
                m_prompts.ShowMessage(this,
                                      PathToQt("Unable To Copy The Rules File, Error Number: " + std::to_string(error) +
                                               " \n" + platform::DescribeFileError(error, target)),
                                      kCaption);
                return;
            }
            break;
    }
    OnLaunchGame();
}

}  // namespace morvane::app
