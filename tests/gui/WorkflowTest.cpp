// The modder's day in the window: undo and redo, a Match All that asks first, edits that are not
// lost on a change of selection, Enter and the arrow keys, and a window that remembers itself.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QSplitter>
#include <QStatusBar>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>

#include "GuiFixture.h"
#include "GuiTestRegistry.h"
#include "MainWindowTest.h"
#include "app/FindingMarks.h"
#include "app/MatchAllConfirmDlg.h"
#include "app/MenuCommands.h"
#include "editor/ControlIds.h"

namespace morvane::test {
namespace {

using app::CMainDlg;
using namespace control;
namespace command = app::command;

// A window on a rules file in a temporary folder; settings in a temporary place.
struct Bench : WindowBench {
    explicit Bench(const char* text = nullptr) {
        if (text == nullptr)
            WriteExampleRules(rules);
        else
            platform::ReplaceFileAtomically(rules, text);
        Open(window);
    }
    void Open(CMainDlg& target) {
        SetPath(target, &app::WindowPaths::rulesPath, rules);
        if (!target.OnInitDialog()) qFatal("the rules file did not open");
        target.show();
    }
    void Select(const char* path, CMainDlg* target = nullptr) {
        CMainDlg& w = target != nullptr ? *target : window;
        const TreeItem item = FindItemByPath(w.NavigationTree(), path);
        if (item == kNoItem) qFatal("no item %s", path);
        w.SelectItem(item);
    }
    std::string Label(const char* path) {
        return window.NavigationTree().GetItemText(FindItemByPath(window.NavigationTree(), path));
    }
    QLineEdit* Edit(int id = kValueEdit) { return qobject_cast<QLineEdit*>(window.Control(id)); }
    void Type(const QString& text, int id = kValueEdit) {
        Edit(id)->setFocus();
        Edit(id)->selectAll();
        QTest::keyClicks(Edit(id), text);
        QCoreApplication::processEvents();
    }
    void Click(int id) { QTest::mouseClick(qobject_cast<QPushButton*>(window.Control(id)), Qt::LeftButton); }
    void AcceptNextDialog() {
        prompts.dialogs.push_back([](QDialog&) { return int{QDialog::Accepted}; });
    }
    std::string Bytes() { return FileText(rules); }
};

}  // namespace

MORVANE_GUI_TEST_CLASS(WorkflowTest);

void WorkflowTest::undoAndRedoPutTheFileBackByteForByte() {
    Bench bench;
    CMainDlg& window = bench.window;
    const char* cost = "Units\\Infantry\\Rifle soldier\\Cost";
    std::vector<std::string> bytes{bench.Bytes()};
    std::vector<std::string> labels{bench.Label(cost)};
    const std::string dogCost = bench.Label("Units\\Infantry\\Attack dog\\Cost");

    bench.Select(cost);
    bench.Type(QStringLiteral("150"));
    bench.Click(kApplyButton);
    QCOMPARE(window.StatusText(), QStringLiteral("Wrote Cost=150 to [E1]"));
    bytes.push_back(bench.Bytes());
    labels.push_back(bench.Label(cost));
    bench.Click(kDefaultButton);
    bytes.push_back(bench.Bytes());
    labels.push_back(bench.Label(cost));
    bench.Type(QStringLiteral("77"));
    bench.Click(kApplyButton);
    bench.AcceptNextDialog();
    window.Command(command::kMatchAll)->trigger();
    QVERIFY(window.StatusText().startsWith(QStringLiteral("Cost=77 written to ")));
    QCOMPARE(bench.Label("Units\\Infantry\\Attack dog\\Cost"), std::string("Cost = 77"));
    bytes.push_back(bench.Bytes());  // Apply 77 and Match All: two steps; keep the Apply state too
    QVERIFY(bytes[0] != bytes[1] && bytes[1] != bytes[2]);

    QAction* undo = window.Command(kUndoMenuItem);
    QAction* redo = window.Command(kRedoMenuItem);
    QCOMPARE(undo->shortcut(), QKeySequence(QKeySequence::Undo));
    QCOMPARE(redo->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    undo->trigger();  // Match All
    QCOMPARE(bench.Label("Units\\Infantry\\Attack dog\\Cost"), dogCost);
    QCOMPARE(bench.Label(cost), std::string("Cost = 77"));
    undo->trigger();  // Apply 77
    QCOMPARE(bench.Bytes(), bytes[2]);
    QCOMPARE(bench.Label(cost), labels[2]);
    QCOMPARE(bench.Edit()->text(), QString::fromStdString(labels[2].substr(7)));  // the controls follow
    undo->trigger();                                                              // Default
    QCOMPARE(bench.Bytes(), bytes[1]);
    undo->trigger();  // Apply 150
    QCOMPARE(bench.Bytes(), bytes[0]);
    QCOMPARE(bench.Label(cost), labels[0]);
    QVERIFY(!undo->isEnabled());

    for (int i = 0; i < 4; ++i) redo->trigger();
    QCOMPARE(bench.Bytes(), bytes[3]);
    QCOMPARE(bench.Label("Units\\Infantry\\Attack dog\\Cost"), std::string("Cost = 77"));
    QVERIFY(!redo->isEnabled());
    QVERIFY(bench.prompts.questions.isEmpty());
}

void WorkflowTest::undoAsksWhenTheFileChangedOnDisk() {
    Bench bench;
    const std::string original = bench.Bytes();
    const std::string mine = "[Mine]\r\nX=1\r\n";
    bench.Select("General\\Crates\\CrateMinimum");
    bench.Type(QStringLiteral("9"));
    bench.Click(kApplyButton);
    const std::string applied = bench.Bytes();
    QVERIFY(Contains(applied, "\r\nCrateMinimum=9\r\n"));

    // Another program's change elsewhere: undo and redo keep it without asking.
    platform::ReplaceFileAtomically(bench.rules, applied + mine);
    bench.window.Command(kUndoMenuItem)->trigger();
    QCOMPARE(bench.prompts.questions.size(), 0);
    QCOMPARE(bench.Bytes(), original + mine);
    bench.window.Command(kRedoMenuItem)->trigger();
    QCOMPARE(bench.Bytes(), applied + mine);

    // Another program changes the step's own line: undo asks before it overwrites it.
    std::string changed = applied + mine;
    changed.replace(changed.find("CrateMinimum=9"), 14, "CrateMinimum=11");
    platform::ReplaceFileAtomically(bench.rules, changed);
    bench.prompts.answers = {QMessageBox::Cancel};
    bench.window.Command(kUndoMenuItem)->trigger();
    QCOMPARE(bench.prompts.questions.size(), 1);
    QCOMPARE(bench.Bytes(), changed);
    QCOMPARE(bench.Label("General\\Crates\\CrateMinimum"), std::string("CrateMinimum = 11"));

    // An unapplied edit is not thrown away unasked.
    bench.Type(QStringLiteral("12"));
    bench.prompts.answers = {QMessageBox::Cancel};
    bench.window.Command(kUndoMenuItem)->trigger();
    QCOMPARE(bench.prompts.questions.size(), 2);
    QCOMPARE(bench.Edit()->text(), QStringLiteral("12"));

    bench.prompts.answers = {QMessageBox::Discard, QMessageBox::Yes};
    bench.window.Command(kUndoMenuItem)->trigger();
    QCOMPARE(bench.Bytes(), original + mine);
    QCOMPARE(bench.Edit()->text(), QString::fromStdString(bench.Label("General\\Crates\\CrateMinimum").substr(15)));
    QVERIFY(bench.prompts.buttonLabels.last().contains(QStringLiteral("Undo and Replace the File")));
}

void WorkflowTest::applyReadsTheFileOnce() {
    Bench bench;
    bench.Select("General\\Crates\\CrateMinimum");
    bench.window.Findings().Refresh();
    bench.Type(QStringLiteral("9"));
    const auto reads = platform::FileReadCount();
    bench.Click(kApplyButton);
    // The findings and the file summary follow the write, from the bytes written.
    bench.window.Findings().Refresh();
    QCOMPARE(platform::FileReadCount() - reads, std::uint64_t{1});
    QVERIFY(Contains(bench.Bytes(), "\r\nCrateMinimum=9\r\n"));

    const auto beforeUndo = platform::FileReadCount();
    bench.window.Command(kUndoMenuItem)->trigger();
    bench.window.Findings().Refresh();
    QCOMPARE(platform::FileReadCount() - beforeUndo, std::uint64_t{1});
}

void WorkflowTest::matchAllConfirmsEveryChangeBeforeOneWrite() {
    Bench bench("[E1]\r\nCost=90\r\n[E2]\r\nCost=90\r\n[DOG]\r\nCost=200\r\n");
    CMainDlg& window = bench.window;
    bench.Select("Units\\Infantry\\Rifle soldier\\Cost");
    QAction* matchAll = window.Command(command::kMatchAll);
    QVERIFY(matchAll->isEnabled());

    QStringList rows;
    bench.prompts.dialogs.push_back([&rows](QDialog& dialog) {
        auto* confirm = qobject_cast<app::MatchAllConfirmDlg*>(&dialog);
        if (confirm == nullptr) return int{QDialog::Rejected};
        for (int i = 0; i < confirm->Changes()->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* row = confirm->Changes()->topLevelItem(i);
            rows << row->text(0) + " " + row->text(1) + ": " + row->text(2) + " " + row->text(3);
        }
        rows << confirm->WriteButton()->text();
        return int{QDialog::Rejected};
    });
    const std::string before = bench.Bytes();
    matchAll->trigger();
    QCOMPARE(bench.Bytes(), before);  // cancelled: nothing written
    QVERIFY2(rows.contains(QStringLiteral("[DOG] Attack dog: 200 90")), qPrintable(rows.join('|')));
    QVERIFY(rows.contains(QStringLiteral("[E3] Rocket soldier: not in the file 90")));
    QVERIFY(!rows.join('|').contains(QStringLiteral("[E2]")));  // holds 90 already
    QCOMPARE(rows.last(), QStringLiteral("&Write %1 Sections").arg(rows.size() - 1));

    bench.AcceptNextDialog();
    matchAll->trigger();
    const std::string after = bench.Bytes();
    QVERIFY(Contains(after, "[DOG]\r\nCost=90\r\n"));
    QVERIFY(Contains(after, "[E3]\r\nCost=90\r\n"));
    QCOMPARE(window.StatusText(), QStringLiteral("Cost=90 written to %1 sections").arg(rows.size() - 1));
    // One step for all of them.
    window.Command(kUndoMenuItem)->trigger();
    QCOMPARE(bench.Bytes(), before);

    // A key absent from the file: asked first, and nothing happens on Cancel.
    bench.Select("Units\\Infantry\\Rifle soldier\\Strength");
    bench.prompts.answers = {QMessageBox::Cancel};
    matchAll->trigger();
    QCOMPARE(bench.prompts.questions.size(), 1);
    QVERIFY(bench.prompts.questions[0].contains(QStringLiteral("empty Strength")));
    QCOMPARE(bench.Bytes(), before);
    QVERIFY(bench.prompts.dialogs.empty());

    // The top-level sections: greyed out, and the tooltip says why.
    bench.Select("MultiplayerDefaults\\Money");
    QVERIFY(!matchAll->isEnabled());
    QVERIFY(matchAll->toolTip().contains(QStringLiteral("[MultiplayerDefaults]")));
}

void WorkflowTest::changingTheSelectionAsksAboutAnUnappliedEdit() {
    Bench bench;
    CMainDlg& window = bench.window;
    const char* regen = "General\\Crates\\CrateRegen";
    bench.Select(regen);
    QVERIFY(!window.ShowsPendingEdit());
    bench.Type(QStringLiteral("9"));
    QVERIFY(window.ShowsPendingEdit());
    const std::string before = bench.Bytes();

    bench.prompts.answers = {QMessageBox::Cancel};
    bench.Select("General\\Crates\\CrateMinimum");
    QCOMPARE(bench.prompts.questions.size(), 1);
    QCOMPARE(window.NavigationTree().GetItemText(window.Editor().m_hCurItem), bench.Label(regen));
    QCOMPARE(PathOfItem(window.NavigationTree(), bench.window.Editor().m_hCurItem), std::string(regen));
    QVERIFY(window.TreeView()->currentIndex().data().toString().startsWith(QStringLiteral("CrateRegen")));
    QCOMPARE(bench.Edit()->text(), QStringLiteral("9"));

    bench.prompts.answers = {QMessageBox::Discard};
    bench.Select("General\\Crates\\CrateMinimum");
    QCOMPARE(bench.Bytes(), before);
    QVERIFY(!window.ShowsPendingEdit());

    bench.Type(QStringLiteral("5"));
    bench.prompts.answers = {QMessageBox::Apply};
    bench.Select(regen);
    QVERIFY(Contains(bench.Bytes(), "\r\nCrateMinimum=5\r\n"));
    QCOMPARE(bench.prompts.questions.size(), 3);
    QVERIFY(bench.prompts.buttonLabels.last().isEmpty());  // Apply, Discard, Cancel as they are

    // Closing the program says so in its buttons.
    bench.Type(QStringLiteral("6"));
    bench.prompts.answers = {QMessageBox::Cancel};
    window.reject();
    QVERIFY(window.isVisible());
    QStringList closingLabels = bench.prompts.buttonLabels.last();

    // An Apply that cannot write (a value the file cannot hold) keeps the user on the edited key,
    // the edit intact, and the status bar says why.
    bench.Type(QStringLiteral("1;2"));
    bench.prompts.answers = {QMessageBox::Apply, QMessageBox::Yes};  // and yes, write the odd value
    bench.Select("General\\Crates\\CrateMinimum");
    QCOMPARE(PathOfItem(window.NavigationTree(), window.Editor().m_hCurItem), std::string(regen));
    QCOMPARE(bench.Edit()->text(), QStringLiteral("1;2"));
    QVERIFY(!bench.prompts.messages.empty());
    QVERIFY(window.StatusText().contains(QStringLiteral("a value cannot hold \";\"")));
    bench.prompts.answers = {QMessageBox::Apply};
    window.reject();
    QVERIFY(window.isVisible());
    closingLabels.sort();
    QCOMPARE(closingLabels, (QStringList{QStringLiteral("Apply and Close"), QStringLiteral("Close Without Applying")}));
}

void WorkflowTest::enterAppliesAndTheArrowsStep() {
    Bench bench;
    CMainDlg& window = bench.window;
    bench.Select("General\\Crates\\CrateMinimum");
    bench.Type(QStringLiteral("999"));
    QTest::keyClick(bench.Edit(), Qt::Key_Return);
    QVERIFY(Contains(bench.Bytes(), "\r\nCrateMinimum=999\r\n"));
    QVERIFY(window.isVisible());
    QVERIFY(bench.prompts.questions.isEmpty());

    bench.Type(QStringLiteral("7"));
    QTest::keyClick(bench.Edit(), Qt::Key_Up);
    QCOMPARE(bench.Edit()->text(), QStringLiteral("8"));
    QTest::keyClick(bench.Edit(), Qt::Key_Down);
    QTest::keyClick(bench.Edit(), Qt::Key_Down);
    QCOMPARE(bench.Edit()->text(), QStringLiteral("6"));
    bench.Type(QStringLiteral("abc"));  // any text is still taken, after a question
    QCOMPARE(bench.Edit()->text(), QStringLiteral("abc"));
    bench.prompts.answers = {QMessageBox::Yes};
    QTest::keyClick(bench.Edit(), Qt::Key_Enter);
    QVERIFY(Contains(bench.Bytes(), "\r\nCrateMinimum=abc\r\n"));
    QCOMPARE(bench.prompts.questions.size(), 1);

    QCOMPARE(qobject_cast<QPushButton*>(window.Control(kApplyButton))->text(), QStringLiteral("&Apply"));
    QCOMPARE(qobject_cast<QPushButton*>(window.Control(kDefaultButton))->text(), QStringLiteral("&Default"));

    // Enter on a focused OK closes; Escape in the tree does not.
    auto* ok = qobject_cast<QPushButton*>(window.Control(1));
    ok->setFocus();
    QTest::keyClick(ok, Qt::Key_Return);
    QVERIFY(!window.isVisible());
    CMainDlg again(BuiltInCatalogue(), bench.prompts);
    bench.Open(again);
    QTest::keyClick(again.TreeView(), Qt::Key_Escape);
    QVERIFY(again.isVisible());
}

void WorkflowTest::defaultShowsTheDefault() {
    Bench bench;
    bench.Select("General\\Crates\\CrateMinimum");
    bench.Type(QStringLiteral("9"));
    bench.Click(kApplyButton);
    bench.Type(QStringLiteral("4"));
    bench.Click(kDefaultButton);
    QCOMPARE(bench.Edit()->text(), QStringLiteral("2"));
    QVERIFY(!bench.window.ShowsPendingEdit());
    bench.Click(kApplyButton);
    QVERIFY(Contains(bench.Bytes(), "\r\nCrateMinimum=2\r\n"));
}

void WorkflowTest::undoPutsBackAKeyThatDefaultTookOut() {
    // Ammo has no default text: Default takes its line out, and Undo puts the same line back.
    Bench bench;
    const char* ammo = "Units\\Land Vehicles\\Armored Personnel Carrier\\Ammo";
    const std::string without = bench.Bytes();
    QCOMPARE(bench.Label(ammo), std::string("Ammo"));
    bench.Select(ammo);
    bench.Type(QStringLiteral("5"));
    bench.Click(kApplyButton);
    const std::string withAmmo = bench.Bytes();
    QVERIFY(withAmmo != without);
    bench.Click(kDefaultButton);
    QCOMPARE(bench.Bytes(), without);
    QCOMPARE(bench.Label(ammo), std::string("Ammo"));

    QAction* undo = bench.window.Command(kUndoMenuItem);
    QVERIFY(undo->isEnabled());
    undo->trigger();
    QCOMPARE(bench.Bytes(), withAmmo);
    QCOMPARE(bench.Label(ammo), std::string("Ammo = 5"));
    bench.window.Command(kRedoMenuItem)->trigger();
    QCOMPARE(bench.Bytes(), without);
    QCOMPARE(bench.Label(ammo), std::string("Ammo"));
    QVERIFY(bench.prompts.questions.isEmpty());
}

void WorkflowTest::windowStateAndRecentFilesAreRemembered() {
    Bench bench;
    CMainDlg& window = bench.window;
    window.resize(520, 380);
    const QSize size = window.size();  // as near to that as the window's least size allows
    window.Splitter()->setSizes({150, 350});
    const QList<int> sizes = window.Splitter()->sizes();
    bench.Select("Units\\Infantry\\Rifle soldier\\Cost");
    window.TreeView()->expand(window.TreeView()->model()->index(0, 0));  // General
    window.close();

    CMainDlg again(BuiltInCatalogue(), bench.prompts);
    bench.Open(again);
    QCOMPARE(again.size(), size);
    QCOMPARE(again.Splitter()->sizes(), sizes);
    QCOMPARE(PathOfItem(again.NavigationTree(), again.Editor().m_hCurItem),
             std::string("Units\\Infantry\\Rifle soldier\\Cost"));
    QVERIFY(again.TreeView()->isExpanded(again.TreeView()->model()->index(0, 0)));
    QCOMPARE(again.RecentFiles(), QStringList{QString::fromStdString(bench.rules)});

    // Eleven files opened: the ten latest are kept, the latest first.
    for (int i = 0; i < 11; ++i) {
        const std::string path = Path(bench.dir, ("r" + std::to_string(i) + ".ini").c_str());
        WriteExampleRules(path);
        bench.prompts.files.push_back(QString::fromStdString(path));
        again.Command(command::kFileOpen)->trigger();
    }
    const QStringList recent = again.RecentFiles();
    QCOMPARE(recent.size(), 10);
    QVERIFY(recent.first().endsWith(QStringLiteral("r10.ini")));
    QVERIFY(recent.last().endsWith(QStringLiteral("r1.ini")));
}

void WorkflowTest::theWindowFitsTheScreen() {
    Bench bench;
    // A geometry kept from a much larger screen.
    CMainDlg& window = bench.window;
    window.resize(5000, 4000);
    window.close();
    CMainDlg again(BuiltInCatalogue(), bench.prompts);
    bench.Open(again);
    const QRect available = again.screen()->availableGeometry();
    QVERIFY2(available.contains(again.geometry()), qPrintable(QStringLiteral("%1x%2 in %3x%4")
                                                                  .arg(again.width())
                                                                  .arg(again.height())
                                                                  .arg(available.width())
                                                                  .arg(available.height())));
    bench.Select("Warheads Types\\HE\\Verses", &again);
    for (const int id : {kApplyButton, 1, 2}) {
        const QWidget* button = again.Control(id);
        const QRect inWindow(button->mapTo(&again, QPoint(0, 0)), button->size());
        QVERIFY2(again.rect().contains(inWindow), qPrintable(QString::number(id)));
    }
}

}  // namespace morvane::test
