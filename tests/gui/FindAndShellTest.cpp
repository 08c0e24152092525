// The find bar and the changed-key marks, and the shell's windows and start-up paths.
#include "FindAndShellTest.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>
#include <cstdlib>

#include "GuiFixture.h"
#include "GuiTestRegistry.h"
#include "app/FindingMarks.h"
#include "app/StartPage.h"
#include "app/TreeFilterModel.h"
#include "app/TreeFinder.h"
#include "common/Version.h"
#include "dialogs/CAboutDlg.h"
#include "dialogs/CPropertiesDlg.h"
#include "dialogs/CSetDirectoryDlg.h"
#include "editor/ControlIds.h"
#include "guicommon/UserPrompts.h"

namespace morvane::test {
namespace {

using app::CMainDlg;

// A window on the example file (every key at its default) in a temporary folder.
struct ExampleWindow : WindowBench {
    ExampleWindow() {
        WriteExampleRules(rules);
        Open();
    }
    app::TreeFinder& Finder() { return *window.Finder(); }
    app::TreeFilterModel& Model() { return *window.Finder()->FilterModel(); }
    const std::string& Label(TreeItem item) { return window.NavigationTree().GetItemText(item); }
    QModelIndex ViewIndex(TreeItem item) { return Model().IndexOf(item); }
    // Every item the view can show now, parents before children.
    std::vector<TreeItem> ShownItems() {
        std::vector<TreeItem> items;
        std::vector<QModelIndex> pending{QModelIndex()};
        while (!pending.empty()) {
            const QModelIndex parent = pending.back();
            pending.pop_back();
            for (int row = 0; row < Model().rowCount(parent); ++row) {
                const QModelIndex child = Model().index(row, 0, parent);
                items.push_back(Model().ItemOf(child));
                pending.push_back(child);
            }
        }
        return items;
    }
};

bool ContainsNoCase(const std::string& text, const char* part) {
    return QString::fromLatin1(text.c_str()).contains(QLatin1String(part), Qt::CaseInsensitive);
}

}  // namespace

MORVANE_GUI_TEST_CLASS(FindTest);
MORVANE_GUI_TEST_CLASS(ShellTest);

void FindTest::typingKeepsMatchesAndAncestorsExpanded() {
    ExampleWindow open;
    QTreeView* view = open.window.TreeView();
    QLineEdit* field = open.Finder().FilterEdit();
    const std::size_t everything = open.ShownItems().size();
    QCOMPARE(everything, open.window.NavigationTree().ItemCount());

    // Ctrl+F reaches the field from anywhere in the window.
    QApplication::setActiveWindow(&open.window);
    view->setFocus();
    QTest::keyClick(view, Qt::Key_F, Qt::ControlModifier);
    QVERIFY(field->hasFocus());

    QTest::keyClicks(field, QStringLiteral("cRATEmax"));
    const std::vector<TreeItem> shown = open.ShownItems();
    QVERIFY(!shown.empty() && shown.size() < 20);
    const Tree& tree = open.window.NavigationTree();
    int matches = 0;
    for (TreeItem item : shown) {
        if (tree.ItemHasChildren(item)) QVERIFY2(view->isExpanded(open.ViewIndex(item)), open.Label(item).c_str());
        if (!tree.ItemHasChildren(item)) {
            QVERIFY2(ContainsNoCase(open.Label(item), "cratemax"), open.Label(item).c_str());
            ++matches;
        }
    }
    QCOMPARE(matches, 1);
    QVERIFY(std::find(shown.begin(), shown.end(), open.Item("General\\Crates\\CrateMaximum")) != shown.end());

    // Opening a file again rebuilds the tree; the filter stays in use, expanded.
    open.prompts.files.push_back(QString::fromStdString(open.rules));
    open.window.OnFileOpen();
    QCOMPARE(open.ShownItems().size(), shown.size());
    QVERIFY(view->isExpanded(open.ViewIndex(open.Item("General\\Crates"))));

    // The object's section name counts too: E1 is the rifle soldier.
    field->clear();
    QTest::keyClicks(field, QStringLiteral("e1"));
    const std::vector<TreeItem> byName = open.ShownItems();
    QVERIFY(std::find(byName.begin(), byName.end(), open.Item("Units\\Infantry\\Rifle soldier")) != byName.end());
    // A value: the example file's values are the defaults, as the labels show them.
    field->clear();
    QTest::keyClicks(field, QStringLiteral("nothing has this text"));
    QVERIFY(open.ShownItems().empty());
}

void FindTest::escapeClearsAndReturnsToTheSelection() {
    ExampleWindow open;
    const TreeItem minimum = open.Item("General\\Crates\\CrateMinimum");
    open.window.SelectItem(minimum);
    QLineEdit* field = open.Finder().FilterEdit();
    field->setFocus();
    QTest::keyClicks(field, QStringLiteral("scud"));
    QVERIFY(!open.ViewIndex(minimum).isValid());  // filtered out
    // Selecting a found item moves the editor to it.
    const TreeItem primary = open.Item("Units\\Land Vehicles\\SCUD launcher\\Primary");
    open.window.TreeView()->setCurrentIndex(open.ViewIndex(primary));
    QCOMPARE(open.window.Editor().m_hCurItem, primary);

    QTest::keyClick(field, Qt::Key_Escape);
    QVERIFY(field->text().isEmpty());
    QVERIFY(open.window.isVisible());  // Escape belongs to the field, not to the window
    QVERIFY(open.prompts.questions.isEmpty());
    QCOMPARE(open.ShownItems().size(), open.window.NavigationTree().ItemCount());
    QCOMPARE(open.Finder().ItemOf(open.window.TreeView()->currentIndex()), primary);
    QVERIFY(open.window.TreeView()->isExpanded(open.ViewIndex(open.Item("Units\\Land Vehicles\\SCUD launcher"))));

    // Selecting an item the filter hides (as the program does) clears the filter first.
    QTest::keyClicks(field, QStringLiteral("scud"));
    open.window.SelectItem(minimum);
    QVERIFY(field->text().isEmpty());
    QCOMPARE(open.window.Editor().m_hCurItem, minimum);
}

void FindTest::changedMarksFollowWrites() {
    ExampleWindow open;
    const TreeItem minimum = open.Item("General\\Crates\\CrateMinimum");
    const auto bold = [&] { return open.Model().data(open.ViewIndex(minimum), Qt::FontRole).value<QFont>().bold(); };
    const auto tip = [&] { return open.Model().data(open.ViewIndex(minimum), Qt::ToolTipRole).toString(); };
    QVERIFY(!bold());
    QVERIFY(tip().isEmpty());
    const std::string defaultValue = open.window.Editor().m_strDefault;

    open.window.SelectItem(minimum);
    const QString shownDefault = QString::fromStdString(open.window.Editor().m_strDefault);
    auto* edit = qobject_cast<QLineEdit*>(open.window.Control(control::kValueEdit));
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("7"));
    QTest::mouseClick(qobject_cast<QPushButton*>(open.window.Control(control::kApplyButton)), Qt::LeftButton);
    QVERIFY(Contains(FileText(open.rules), "CrateMinimum=7"));
    QVERIFY(bold());
    QVERIFY2(tip().endsWith(shownDefault.trimmed()), qPrintable(tip()));
    // Other keys stay unmarked.
    QVERIFY(!open.Model()
                 .data(open.ViewIndex(open.Item("General\\Crates\\CrateMaximum")), Qt::FontRole)
                 .value<QFont>()
                 .bold());

    QTest::mouseClick(qobject_cast<QPushButton*>(open.window.Control(control::kDefaultButton)), Qt::LeftButton);
    QVERIFY(!bold());
    QVERIFY(tip().isEmpty());
}

void FindTest::togglesNarrowToKeys() {
    ExampleWindow open;
    const TreeItem minimum = open.Item("General\\Crates\\CrateMinimum");
    open.window.SelectItem(minimum);
    auto* edit = qobject_cast<QLineEdit*>(open.window.Control(control::kValueEdit));
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("9"));
    open.window.OnApply();

    open.Finder().ChangedToggle()->click();
    std::vector<TreeItem> shown = open.ShownItems();
    const Tree& tree = open.window.NavigationTree();
    std::vector<TreeItem> keys;
    for (TreeItem item : shown)
        if (!tree.ItemHasChildren(item)) keys.push_back(item);
    QCOMPARE(keys, std::vector<TreeItem>{minimum});
    QVERIFY(open.window.TreeView()->isExpanded(open.ViewIndex(open.Item("General\\Crates"))));
    open.Finder().ChangedToggle()->click();

    // Every key of the example file is in the file: everything but sections stays.
    open.Finder().PresentToggle()->click();
    QVERIFY(open.ShownItems().size() > 1000);
    open.Finder().PresentToggle()->click();

    // The window's check feeds the problem toggle: it keeps the keys that carry a finding.
    QToolButton* problems = open.Finder().ProblemToggle();
    QVERIFY(problems->isEnabled());
    open.window.Findings().Refresh();
    problems->click();
    keys.clear();
    for (TreeItem item : open.ShownItems())
        if (!tree.ItemHasChildren(item)) keys.push_back(item);
    QVERIFY(!keys.empty());
    for (TreeItem item : keys) QVERIFY(!open.window.Findings().MarkText(item).isEmpty());
    problems->click();

    // Another test replaces it; an empty one disables the toggle.
    const TreeItem radius = open.Item("General\\Crates\\CrateRadius");
    open.Finder().SetProblemTest([radius](TreeItem item) { return item == radius; });
    QVERIFY(problems->isEnabled());
    problems->click();
    keys.clear();
    for (TreeItem item : open.ShownItems())
        if (!tree.ItemHasChildren(item)) keys.push_back(item);
    QCOMPARE(keys, std::vector<TreeItem>{radius});
    open.Finder().SetProblemTest({});
    QVERIFY(!problems->isEnabled());
    QVERIFY(!problems->isChecked());
    QVERIFY(!problems->toolTip().isEmpty());
    QCOMPARE(open.ShownItems().size(), tree.ItemCount());
}

void ShellTest::splashStaysUpItsFullTimeOnTop() {
    ExampleWindow open;
    dialogs::CSplashWnd& splash = open.window.Splash();
    QVERIFY(splash.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    // Asked for 2.5 s after the window came up, the splash still gets its full 4 s.
    QTest::qWait(2500);
    open.window.Command(52778)->trigger();
    QVERIFY(splash.isVisible());
    QTest::qWait(2500);
    QVERIFY(splash.isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!splash.isVisible(), 4000);
}

void ShellTest::aboutTitleIsBoldSans() {
    dialogs::CAboutDlg about;
    auto* title = about.findChild<QLabel*>(QStringLiteral("control1013"));
    QVERIFY(title != nullptr);
    const QFontInfo shown(title->font());
    QVERIFY(shown.bold());
    QCOMPARE(shown.pixelSize(), 32);
    QVERIFY2(shown.family() != QFontInfo(QFont(QStringLiteral("Serif"))).family(), qPrintable(shown.family()));
    QCOMPARE(shown.family(), QFontInfo(QFont(QStringLiteral("Sans Serif"))).family());
}

void ShellTest::promptsCentreOnTheScreenBeforeTheWindowIsUp() {
    TemporarySettings settings;
    QWidget hiddenWindow;  // the main window while it looks for the rules file
    guicommon::QtPrompts prompts;
    const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
    QPoint shownCentre;
    const auto closeWhenUp = [&shownCentre] {
        QTimer::singleShot(50, [&shownCentre] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr) qFatal("no dialog came up");
            shownCentre = dialog->geometry().center();
            dialog->done(QDialog::Rejected);
        });
    };

    closeWhenUp();
    prompts.ShowMessage(&hiddenWindow, QStringLiteral("Failed To Load - /nowhere/rules.ini"), QStringLiteral("Morvane"),
                        QMessageBox::Warning);
    QVERIFY2((shownCentre - screenCentre).manhattanLength() <= 4,
             qPrintable(QStringLiteral("%1,%2").arg(shownCentre.x()).arg(shownCentre.y())));

    dialogs::CPropertiesDlg properties(prompts, &hiddenWindow);
    closeWhenUp();
    prompts.Exec(properties);
    QVERIFY2((shownCentre - screenCentre).manhattanLength() <= 4,
             qPrintable(QStringLiteral("%1,%2").arg(shownCentre.x()).arg(shownCentre.y())));
}

void ShellTest::folderPickerLaterOpeningReturnsEmptyPath() {
    dialogs::CSetDirectoryDlg::ResetFirstOpening();
    { dialogs::CSetDirectoryDlg first; }
    dialogs::CSetDirectoryDlg later;
    later.show();
    QTreeWidget* tree = later.FolderTree();
    // What the view does when it gets the focus: its first row becomes current, unselected.
    tree->setFocus();
    tree->setCurrentItem(tree->topLevelItem(0), 0, QItemSelectionModel::NoUpdate);
    QVERIFY(later.PathLabel()->text().isEmpty());
    later.accept();
    QCOMPARE(later.m_strDirectory, std::string());

    // A folder the user selects is the answer.
    dialogs::CSetDirectoryDlg chosen;
    chosen.FolderTree()->setCurrentItem(chosen.FolderTree()->topLevelItem(0));
    chosen.accept();
    QCOMPARE(chosen.m_strDirectory, std::string("/"));
}

void ShellTest::missingCommandLineFileOpensProgramLocationFirst() {
    CurrentFolder keep;
    TemporarySettings settings;
    QTemporaryDir start, work;
    TemporarySettings::Set("Work", work.path());
    TemporarySettings::Set("RA_dir", work.path());
    WriteExampleRules(Path(start, "rules.ini"));
    QVERIFY(platform::ChangeDirectory(start.path().toStdString()));

    ScriptedPrompts prompts;
    std::size_t messagesBeforeLocation = 99;
    bool properties = false;
    prompts.dialogs.push_back([&](QDialog& dialog) {
        messagesBeforeLocation = prompts.messages.size();
        properties = qobject_cast<dialogs::CPropertiesDlg*>(&dialog) != nullptr;
        return int{QDialog::Rejected};
    });
    CMainDlg window(BuiltInCatalogue(), prompts);
    SetPath(window, &app::WindowPaths::rulesPath, Path(start, "missing mod.ini"));
    QVERIFY(window.OnInitDialog());
    QVERIFY(properties);
    QCOMPARE(messagesBeforeLocation, std::size_t{1});   // reported, then Program Location
    QCOMPARE(prompts.messages.size(), std::size_t{1});  // not reported again
    QCOMPARE(prompts.messages[0].text.section(QLatin1Char('\n'), 0, 0),
             QString::fromStdString("Failed To Load - " + Path(start, "missing mod.ini")));
    QCOMPARE(window.Paths().rulesPath, Path(start, "rules.ini"));
}

void ShellTest::windowsGameDirectoryFoundThroughWinePrefix() {
    CurrentFolder keep;
    TemporarySettings settings;  // RA_dir keeps its default, C:\Westwood\Redalert
    QTemporaryDir start, work, prefix;
    TemporarySettings::Set("Work", work.path());
    QVERIFY(QDir(prefix.path()).mkpath(QStringLiteral("drive_c/Westwood/Redalert")));
    QVERIFY(QDir(prefix.path()).mkpath(QStringLiteral("dosdevices")));
    QVERIFY(QFile::link(QStringLiteral("../drive_c"), prefix.path() + "/dosdevices/c:"));
    QVERIFY(platform::ChangeDirectory(start.path().toStdString()));
    const QByteArray savedPrefix = qgetenv("WINEPREFIX");
    qputenv("WINEPREFIX", prefix.path().toLocal8Bit());
    const std::string mapped = prefix.path().toStdString() + "/dosdevices/c:/Westwood/Redalert/rules.ini";

    // Nothing there yet: the start page names the real place to put it.
    ScriptedPrompts prompts;
    {
        CMainDlg window(BuiltInCatalogue(), prompts);
        QVERIFY(window.OnInitDialog());
        QVERIFY(window.ShowsStartPage());
        QCOMPARE(window.Paths().gameDir, std::string("C:\\Westwood\\Redalert"));  // the stored text stays
        QVERIFY(window.Start()->Looked()->text().contains(QString::fromStdString(mapped)));
    }

    WriteExampleRules(prefix.path().toStdString() + "/drive_c/Westwood/Redalert/rules.ini");
    CMainDlg window(BuiltInCatalogue(), prompts);
    QVERIFY(window.OnInitDialog());
    QCOMPARE(window.Paths().rulesPath, mapped);
    if (savedPrefix.isNull())
        qunsetenv("WINEPREFIX");
    else
        qputenv("WINEPREFIX", savedPrefix);
}

void ShellTest::helpAndVersionNeedNoDisplay() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) environment.remove(QLatin1String(name));
    const struct {
        const char* argument;
        std::string output;
    } cases[] = {
        {"--version", "morvane " + std::string(kVersion) + "\n"},
        {"--help", "Usage: morvane [--catalogue CATALOGUE] [RULES_FILE]\n"},
    };
    for (const auto& c : cases) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(MORVANE_PROGRAM), {QLatin1String(c.argument)});
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitCode(), 0);
        const QString output = QString::fromLocal8Bit(process.readAllStandardOutput());
        QVERIFY2(output.startsWith(QString::fromStdString(c.output)), qPrintable(output));
        QVERIFY(process.readAllStandardError().isEmpty());
    }
}

}  // namespace morvane::test
