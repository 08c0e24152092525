#include "WindowKeysTest.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDockWidget>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>

#include <filesystem>

#include "ActiveWindowBench.h"
#include "GuiFixture.h"
#include "GuiTestRegistry.h"
#include "app/FindingMarks.h"
#include "app/MenuCommands.h"
#include "app/ProblemsPanel.h"
#include "app/TreeFilterModel.h"
#include "app/TreeFinder.h"
#include "editor/ControlIds.h"

namespace morvane::test {
namespace {

using app::CMainDlg;
using namespace control;
namespace command = app::command;

}  // namespace

MORVANE_GUI_TEST_CLASS(WindowKeysTest);
MORVANE_GUI_TEST_CLASS(WindowShapeTest);

void WindowKeysTest::escapeNeverClosesTheWindow() {
    ActiveBench bench;
    CMainDlg& window = bench.window;
    bench.Select("General\\Crates\\WaterCrateChance");
    for (QWidget* widget : {static_cast<QWidget*>(window.TreeView()), window.Control(kPercentSlider),
                            window.Control(kApplyButton), window.Control(1)}) {
        widget->setFocus();
        QTest::keyClick(widget, Qt::Key_Escape);
        QCoreApplication::processEvents();
        QVERIFY2(window.isVisible(), qPrintable(widget->objectName()));
    }
}

void WindowKeysTest::undoAndRedoKeysReachTheFileFromTheValueField() {
    ActiveBench bench;
    bench.Select("General\\Crates\\CrateMinimum");
    QLineEdit* edit = bench.Edit();
    bench.Type(edit, QStringLiteral("9"));
    QTest::keyClick(edit, Qt::Key_Return);
    QVERIFY(Contains(bench.Bytes(), "\r\nCrateMinimum=9\r\n"));
    QCOMPARE(QApplication::focusWidget(), edit);

    // No edit pending: the keys work on the file, whichever of the redo keys is used.
    const struct {
        Qt::KeyboardModifiers modifiers;
        Qt::Key key;
        const char* expected;
    } steps[] = {{Qt::ControlModifier, Qt::Key_Z, "\r\nCrateMinimum=2\r\n"},
                 {Qt::ControlModifier, Qt::Key_Y, "\r\nCrateMinimum=9\r\n"},
                 {Qt::ControlModifier, Qt::Key_Z, "\r\nCrateMinimum=2\r\n"},
                 {Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z, "\r\nCrateMinimum=9\r\n"}};
    for (const auto& step : steps) {
        QTest::keyClick(edit, step.key, step.modifiers);
        QVERIFY2(Contains(bench.Bytes(), step.expected), step.expected);
    }

    // An edit in the field: Ctrl+Z takes back the typing, the file stays.
    QTest::keyClicks(edit, QStringLiteral("5"));
    QCOMPARE(edit->text(), QStringLiteral("95"));
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(edit->text(), QStringLiteral("9"));
    QVERIFY(Contains(bench.Bytes(), "\r\nCrateMinimum=9\r\n"));
}

void WindowKeysTest::tabGoesFromTheTreeToTheValue() {
    ActiveBench bench;
    CMainDlg& window = bench.window;
    const struct {
        const char* path;
        int control;
    } cases[] = {{"General\\Crates\\CrateMinimum", kValueEdit},
                 {"General\\Special Weapons\\ChronoKillCargo", kCheckBox},
                 {"Units\\Land Vehicles\\SCUD launcher\\Primary", kListCombo}};
    for (const auto& c : cases) {
        bench.Select(c.path);
        window.TreeView()->setFocus();
        QTest::keyClick(window.TreeView(), Qt::Key_Tab);
        QWidget* focused = QApplication::focusWidget();
        QWidget* expected = window.Control(c.control);
        QVERIFY2(focused == expected || (focused != nullptr && focused->parentWidget() == expected), c.path);
    }
}

void WindowKeysTest::findFieldLeadsIntoTheResultsAndBack() {
    ActiveBench bench;
    CMainDlg& window = bench.window;
    QTreeView* view = window.TreeView();
    app::TreeFilterModel* model = window.Finder()->FilterModel();
    bench.Select("General\\Crates\\CrateMinimum");
    view->expand(model->IndexOf(bench.Item("Powerups")));
    QVERIFY(!view->isExpanded(model->IndexOf(bench.Item("Units"))));

    QLineEdit* field = window.Finder()->FilterEdit();
    for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Return}) {
        bench.Type(field, QStringLiteral("CrateMax"));
        bench.Select("General");  // a branch is current: Down goes on to the first key kept
        bench.Type(field, QStringLiteral("CrateMax"));
        QTest::keyClick(field, key);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(view));
        QCOMPARE(window.Editor().m_hCurItem, bench.Item("General\\Crates\\CrateMaximum"));
    }

    // Escape in the field: the branches the user had open are open again, no others.
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Escape);
    QVERIFY(field->text().isEmpty());
    QVERIFY(view->isExpanded(model->IndexOf(bench.Item("Powerups"))));
    QVERIFY(view->isExpanded(model->IndexOf(bench.Item("General\\Crates"))));
    QVERIFY(!view->isExpanded(model->IndexOf(bench.Item("Units"))));
    QVERIFY(window.isVisible());
}

void WindowKeysTest::filterKeepsTheEditedRowAndShowsAnObjectsKeys() {
    ActiveBench bench;
    CMainDlg& window = bench.window;
    bench.Select("General\\Crates\\CrateMinimum");
    bench.Type(bench.Edit(), QStringLiteral("9"));
    QTest::keyClick(bench.Edit(), Qt::Key_Return);
    bench.Settle();

    // Only changed keys; the edited one goes back to its default and stays in view.
    window.Finder()->ChangedToggle()->click();
    QVERIFY(bench.Shown("General\\Crates\\CrateMinimum"));
    QVERIFY(!bench.Shown("General\\Crates\\CrateMaximum"));
    bench.Select("General\\Crates\\CrateMinimum");
    QTest::mouseClick(qobject_cast<QPushButton*>(window.Control(kDefaultButton)), Qt::LeftButton);
    bench.Settle();
    QVERIFY(Contains(bench.Bytes(), "\r\nCrateMinimum=2\r\n"));
    QVERIFY(bench.Shown("General\\Crates\\CrateMinimum"));
    QCOMPARE(window.Editor().m_hCurItem, bench.Item("General\\Crates\\CrateMinimum"));
    // A change of the filter lets go of it.
    window.Finder()->ChangedToggle()->click();
    window.Finder()->ChangedToggle()->click();
    QVERIFY(!bench.Shown("General\\Crates\\CrateMinimum"));
    window.Finder()->ClearFilter();

    // An object's section name and its full name both show its keys.
    for (const char* text : {"APC", "Armored Personnel"}) {
        bench.Type(window.Finder()->FilterEdit(), QString::fromLatin1(text));
        QVERIFY2(bench.Shown("Units\\Land Vehicles\\Armored Personnel Carrier\\Cost"), text);
        QVERIFY2(!bench.Shown("Units\\Land Vehicles\\SCUD launcher\\Cost"), text);
    }
}

void WindowKeysTest::enterAppliesInEveryControl() {
    ActiveBench bench;
    CMainDlg& window = bench.window;

    bench.Select("General\\Special Weapons\\ChronoKillCargo");
    auto* check = qobject_cast<QCheckBox*>(window.Control(kCheckBox));
    const bool was = check->isChecked();
    check->setFocus();
    QTest::keyClick(check, Qt::Key_Space);
    QTest::keyClick(check, Qt::Key_Return);
    QVERIFY(Contains(bench.Bytes(), was ? "\r\nChronoKillCargo=no\r\n" : "\r\nChronoKillCargo=yes\r\n"));

    bench.Select("General\\Crates\\WaterCrateChance");
    auto* slider = qobject_cast<QSlider*>(window.Control(kPercentSlider));
    slider->setFocus();
    slider->setValue(45);
    QTest::keyClick(slider, Qt::Key_Enter, Qt::KeypadModifier);
    QVERIFY(Contains(bench.Bytes(), "\r\nWaterCrateChance=45%\r\n"));
    QVERIFY(window.isVisible());
}

void WindowKeysTest::questionsDefaultToTheSafeAnswer() {
    guicommon::QtPrompts prompts;
    const struct {
        QMessageBox::StandardButtons buttons;
        guicommon::UserPrompts::ButtonLabels labels;
        const char* focused;
    } cases[] = {
        {QMessageBox::Apply | QMessageBox::Discard | QMessageBox::Cancel,
         {{QMessageBox::Discard, QStringLiteral("Close Without Applying")}},
         "Cancel"},
        {QMessageBox::Yes | QMessageBox::Cancel,
         {{QMessageBox::Yes, QStringLiteral("Undo and Replace the File")}},
         "Cancel"},
        {QMessageBox::Discard | QMessageBox::Cancel,
         {{QMessageBox::Cancel, QStringLiteral("Keep the Edit")}},
         "Keep the Edit"},
    };
    for (const auto& c : cases) {
        QString shownDefault;
        QTimer::singleShot(0, [&shownDefault] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) return;
            if (box->defaultButton() != nullptr) shownDefault = box->defaultButton()->text();
            box->reject();
        });
        prompts.AskLabelled(nullptr, QStringLiteral("A question"), QStringLiteral("Morvane"), c.buttons, c.labels);
        QCOMPARE(shownDefault.remove(QLatin1Char('&')), QString::fromLatin1(c.focused));
    }
}

void WindowKeysTest::menuEntriesHaveMnemonicsAndEllipses() {
    ActiveBench bench;
    CMainDlg& window = bench.window;
    for (QAction* top : window.menuBar()->actions()) {
        QVERIFY2(top->text().contains(QLatin1Char('&')), qPrintable(top->text()));
        if (top->menu() == nullptr) continue;
        for (QAction* entry : top->menu()->actions()) {
            if (entry->isSeparator()) continue;
            QVERIFY2(entry->text().contains(QRegularExpression(QStringLiteral("&[^&]"))), qPrintable(entry->text()));
            QVERIFY2(!entry->text().endsWith(QStringLiteral("...")), qPrintable(entry->text()));
        }
    }
    // Those that ask for more before they act say so.
    for (const int id : {command::kFileNew, command::kFileOpen, command::kFileSaveAs, command::kLaunchWithFile,
                         command::kMatchAll, command::kProgramLocation})
        QVERIFY2(window.Command(id)->text().endsWith(QChar(0x2026)), qPrintable(window.Command(id)->text()));
}

void WindowShapeTest::firstSizeAndTheSamePlaceAtEachStart() {
    TemporarySettings settings;
    QTemporaryDir dir;
    const std::string rules = Path(dir, "rules.ini");
    WriteExampleRules(rules);
    ScriptedPrompts prompts;
    QRect first;
    {
        CMainDlg window(BuiltInCatalogue(), prompts, app::WindowPaths::ForFile(rules));
        QVERIFY(window.OnInitDialog());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QSize room = window.screen()->availableGeometry().size();
        QVERIFY(window.width() >= std::min(1100, room.width() - 16));
        QVERIFY(window.height() >= std::min(750, room.height() - 40));
        QVERIFY(window.width() >= room.width() * 6 / 10);
        QVERIFY(window.frameGeometry().width() <= room.width());
        QVERIFY(window.frameGeometry().height() <= room.height());
        first = window.geometry();
        window.close();
    }
    // Each start puts it where the last one left it.
    QRect previous = first;
    for (int start = 0; start < 3; ++start) {
        CMainDlg window(BuiltInCatalogue(), prompts, app::WindowPaths::ForFile(rules));
        QVERIFY(window.OnInitDialog());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        if (start > 0 || window.frameGeometry().height() <= window.screen()->availableGeometry().height())
            QCOMPARE(window.geometry(), previous);
        previous = window.geometry();
        window.close();
    }
}

void WindowShapeTest::toolbarAndStatusSummary() {
    ActiveBench bench("[General]\r\nGemValue=50\r\nOreExplosive=yes\r\n[XTNK]\r\nCost=1\r\n");
    CMainDlg& window = bench.window;
    auto* tools = window.findChild<QToolBar*>();
    QVERIFY(tools != nullptr);
    QStringList shown;
    for (QAction* action : tools->actions())
        if (!action->isSeparator()) shown << action->text().remove(QLatin1Char('&'));
    const QStringList expected = {"Open", "Undo", "Redo", "Find", "Apply", "Default", "Match All", "Check"};
    QCOMPARE(shown.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i) QVERIFY2(shown[i].startsWith(expected[i]), qPrintable(shown[i]));

    bench.Settle();
    auto* summary = window.findChild<QLabel*>(QStringLiteral("fileSummary"));
    QVERIFY(summary != nullptr);
    QCOMPARE(summary->text(), QStringLiteral("3 keys set, 2 findings"));
}

void WindowShapeTest::problemsDockSortsAndStartsAtTheTop() {
    // Many sections the game does not know: a long list of findings.
    std::string many = "[General]\r\nGemValue=50\r\nOreExplosive=yes\r\n";
    for (int i = 0; i < 400; ++i) many += "[ZZ" + std::to_string(i) + "]\r\nCost=1\r\n";
    ActiveBench bench(many.c_str());
    CMainDlg& window = bench.window;
    bench.Settle();
    app::ProblemsPanel* panel = window.Problems();
    QVERIFY(qobject_cast<QDockWidget*>(panel) != nullptr);
    QCOMPARE(window.dockWidgetArea(panel), Qt::BottomDockWidgetArea);

    // Sorted by any column: the level puts the error first, the line back in file order.
    QTreeView* list = panel->List();
    list->sortByColumn(app::ProblemsModel::kLevel, Qt::DescendingOrder);
    QVERIFY(panel->ShownRows().first().startsWith(QStringLiteral("3 error")));
    list->sortByColumn(app::ProblemsModel::kWhere, Qt::DescendingOrder);
    QVERIFY2(panel->ShownRows().first().endsWith(QStringLiteral("[ZZ9]")), qPrintable(panel->ShownRows().first()));
    list->sortByColumn(app::ProblemsModel::kLine, Qt::AscendingOrder);
    QVERIFY(panel->ShownRows().first().startsWith(QStringLiteral("3 error")));

    // A write keeps the place; another file starts at the top.
    QScrollBar* scroll = list->verticalScrollBar();
    QVERIFY(scroll->maximum() > 0);
    scroll->setValue(scroll->maximum() / 2);
    const int place = scroll->value();
    bench.Select("General\\Income And Production\\GemValue");
    bench.Type(bench.Edit(), QStringLiteral("60"));
    QTest::keyClick(bench.Edit(), Qt::Key_Return);
    bench.Settle();
    QVERIFY(Contains(bench.Bytes(), "GemValue=60"));
    QCOMPARE(scroll->value(), place);

    // The chosen order holds over the next check, and a chosen row follows a new sort.
    list->sortByColumn(app::ProblemsModel::kWhere, Qt::DescendingOrder);
    bench.Type(bench.Edit(), QStringLiteral("70"));
    QTest::keyClick(bench.Edit(), Qt::Key_Return);
    bench.Settle();
    QVERIFY2(panel->ShownRows().first().endsWith(QStringLiteral("[ZZ9]")), qPrintable(panel->ShownRows().first()));
    list->setCurrentIndex(list->model()->index(0, 0));
    list->sortByColumn(app::ProblemsModel::kLine, Qt::AscendingOrder);
    QVERIFY(list->currentIndex().row() > 0);
    QVERIFY(panel->ShownRows()[list->currentIndex().row()].endsWith(QStringLiteral("[ZZ9]")));

    const std::string other = Path(bench.dir, "other.ini");
    platform::ReplaceFileAtomically(other, many);
    bench.prompts.files = {QString::fromStdString(other)};
    window.OnFileOpen();
    bench.Settle();
    QCOMPARE(scroll->value(), 0);

    // The View menu hides and shows it.
    panel->toggleViewAction()->trigger();
    QVERIFY(!panel->isVisible());
    panel->toggleViewAction()->trigger();
    QVERIFY(panel->isVisible());
}

void WindowShapeTest::firstCheckWaitsForTheFirstPaint() {
    WindowBench bench;
    platform::ReplaceFileAtomically(bench.rules, "[General]\r\nOreExplosive=yes\r\n");
    int checks = 0;
    QObject::connect(&bench.window.Findings(), &app::FindingMarks::Refreshed, [&checks] { ++checks; });
    SetPath(bench.window, &app::WindowPaths::rulesPath, bench.rules);
    QVERIFY(bench.window.OnInitDialog());
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    QCOMPARE(checks, 0);
    bench.window.show();
    QVERIFY(QTest::qWaitFor([&checks] { return checks == 1; }, 5000));
    QCOMPARE(bench.window.Findings().Findings().size(), std::size_t{1});
}

void WindowShapeTest::versesAndPercentagesAreTyped() {
    ActiveBench bench;
    CMainDlg& window = bench.window;
    bench.Select("Warheads Types\\HE\\Verses");
    auto* slider = qobject_cast<QSlider*>(window.Control(kVersesColumns[0].slider));
    QVERIFY(!slider->invertedAppearance());  // the highest value at the top
    QCOMPARE(qobject_cast<QLabel*>(window.Control(kVersesScaleTop))->text(), QStringLiteral("100%"));
    bench.Type(bench.Edit(kVersesColumns[0].edit), QStringLiteral("40%"));
    QTest::keyClick(bench.Edit(kVersesColumns[0].edit), Qt::Key_Return);
    QCOMPARE(slider->value(), 40);
    QVERIFY(Contains(bench.Bytes(), "\r\nVerses=40%,"));

    bench.Select("General\\Crates\\WaterCrateChance");
    auto* spin = window.findChild<QSpinBox*>(QStringLiteral("percentSpin"));
    QVERIFY(spin != nullptr && spin->isVisible());
    bench.Type(spin, QStringLiteral("35"));
    QTest::keyClick(spin, Qt::Key_Return);
    QCOMPARE(qobject_cast<QSlider*>(window.Control(kPercentSlider))->value(), 35);
    QVERIFY(Contains(bench.Bytes(), "\r\nWaterCrateChance=35%\r\n"));
}

void WindowShapeTest::applyWithNothingChangedWritesNothing() {
    ActiveBench bench;
    CMainDlg& window = bench.window;
    bench.Select("General\\Crates\\CrateMinimum");
    const std::string before = bench.Bytes();
    QTest::mouseClick(qobject_cast<QPushButton*>(window.Control(kApplyButton)), Qt::LeftButton);
    QCOMPARE(bench.Bytes(), before);
    QVERIFY(window.StatusText().startsWith(QStringLiteral("Nothing to apply")));
    QVERIFY(!window.Command(kUndoMenuItem)->isEnabled());
}

void WindowShapeTest::fileThatIsNoRulesFileIsWarnedBeforeAWrite() {
    const std::string binary(
        "\x7f"
        "ELF\x02\x01\x01\0\0\0junk=1\r\n",
        19);
    ActiveBench bench(nullptr);
    platform::ReplaceFileAtomically(bench.rules, binary);
    bench.window.CheckRulesFile();
    bench.prompts.files = {QString::fromStdString(bench.rules)};
    bench.window.OnFileOpen();
    QVERIFY(bench.window.StatusText().contains(QStringLiteral("does not look like a rules file")));
    bench.Select("General\\Crates\\CrateMinimum");
    bench.Type(bench.Edit(), QStringLiteral("9"));
    QTest::keyClick(bench.Edit(), Qt::Key_Return);  // the scripted answer is Cancel
    QCOMPARE(bench.Bytes(), binary);
    QCOMPARE(bench.prompts.questions.size(), 1);
    QVERIFY(bench.prompts.questions.first().contains(QStringLiteral("does not look like a rules file")));
    bench.prompts.answers = {QMessageBox::Yes};
    QTest::keyClick(bench.Edit(), Qt::Key_Return);
    QVERIFY(Contains(bench.Bytes(), "CrateMinimum=9"));
}

// A regular file the window cannot read whole is refused with the reason, and the open file
// stays open.
void WindowShapeTest::fileTooLargeToReadIsRefusedWithTheReason() {
    ActiveBench bench;
    const std::string large = Path(bench.dir, "large.ini");
    platform::ReplaceFileAtomically(large, "[General]\r\n");
    std::filesystem::resize_file(large, platform::kMaxFileBytes + 1);
    const auto refused = [&bench, &large] {
        QCOMPARE(bench.window.Paths().rulesPath, bench.rules);
        QVERIFY(!bench.prompts.messages.empty());
        const QStringList lines = bench.prompts.messages.back().text.split(QLatin1Char('\n'));
        QCOMPARE(lines.first(), QString::fromStdString("Failed To Load - " + large));
        QVERIFY(lines.size() > 1 && !lines.at(1).isEmpty());
        bench.prompts.messages.clear();
    };
    bench.prompts.files = {QString::fromStdString(large)};
    bench.window.OnFileOpen();
    refused();
}

void WindowShapeTest::saveAsAddsTheExtensionAndGoesToRecentFiles() {
    ActiveBench bench;
    const QString chosen = bench.dir.path() + QStringLiteral("/my mod");
    bench.prompts.files = {chosen};
    bench.window.OnFileSaveAs();
    const std::string saved = (chosen + QStringLiteral(".ini")).toStdString();
    QCOMPARE(FileText(saved), bench.Bytes());
    QCOMPARE(bench.window.Paths().rulesPath, saved);
    QCOMPARE(bench.window.RecentFiles().first(), QString::fromStdString(saved));
}

void WindowShapeTest::accessibleNamesAndMarkDescriptions() {
    ActiveBench bench("[General]\r\nOreExplosive=yes\r\nCrateMinimum=9\r\n");
    CMainDlg& window = bench.window;
    bench.Settle();
    QList<QWidget*> named = {window.TreeView(),
                             window.Control(kValueEdit),
                             window.Control(kCheckBox),
                             window.Control(kListCombo),
                             window.Control(kPercentSlider),
                             window.Control(kMultiList),
                             window.Control(kChanceEdit),
                             window.Control(kAnimationCombo),
                             window.Control(kOptionEdit),
                             window.Problems()->List(),
                             window.Finder()->FilterEdit(),
                             window.Finder()->ChangedToggle(),
                             window.Finder()->PresentToggle(),
                             window.Finder()->ProblemToggle()};
    for (const auto& column : kVersesColumns) named << window.Control(column.slider) << window.Control(column.edit);
    for (QWidget* widget : named) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        QVERIFY(accessible != nullptr);
        QVERIFY2(!accessible->text(QAccessible::Name).isEmpty(), qPrintable(widget->objectName()));
    }

    // The marks of a tree row are told in its description.
    app::TreeFilterModel* model = window.Finder()->FilterModel();
    const QString changed =
        model->IndexOf(bench.Item("General\\Crates\\CrateMinimum")).data(Qt::AccessibleDescriptionRole).toString();
    QVERIFY2(changed.contains(QStringLiteral("Changed from the default")), qPrintable(changed));
    const QString problem = model->IndexOf(bench.Item("General\\Combat and Damage\\OreExplosive"))
                                .data(Qt::AccessibleDescriptionRole)
                                .toString();
    QVERIFY2(problem.contains(QStringLiteral("Problem: Line 2, error")), qPrintable(problem));
}

}  // namespace morvane::test
