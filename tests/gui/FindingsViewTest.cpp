#include "FindingsViewTest.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPaintEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QTreeView>
#include <utility>

#include "GuiFixture.h"
#include "GuiTestRegistry.h"
#include "app/FindingMarks.h"
#include "app/GameLayersMenu.h"
#include "app/ProblemsPanel.h"
#include "app/TreeFinder.h"
#include "editor/ControlIds.h"

namespace morvane::test {
namespace {

using app::CMainDlg;

// A window on a small file of the test's own.
struct WindowOnFile : WindowBench {
    explicit WindowOnFile(const std::string& text) {
        platform::ReplaceFileAtomically(rules, text);
        Open();
        // The first check follows the window's first paint, on the event loop.
        if (!QTest::qWaitFor([this] { return !window.Problems()->Summary()->text().isEmpty() && checked; }, 5000))
            qFatal("no check after the first paint");
    }
    // The Problems panel's rows as "LINE LEVEL WHERE".
    QStringList Rows() const { return window.Problems()->ShownRows(); }
    bool checked = false;
    QMetaObject::Connection watch =
        QObject::connect(&window.Findings(), &app::FindingMarks::Refreshed, [this] { checked = true; });
};

}  // namespace

MORVANE_GUI_TEST_CLASS(FindingsViewTest);

void FindingsViewTest::problemsAndMarksOfAnOpenedFile() {
    WindowOnFile open("[General]\r\nOreExplosive=yes\r\nGemValue=50\r\n[general]\r\nx=1\r\n[XTNK]\r\nCost=1\r\n");
    QCOMPARE(open.Rows(), (QStringList{"2 error [General] OreExplosive", "4 error [general]", "6 warning [XTNK]"}));
    QVERIFY(open.window.Problems()->Summary()->text().contains("2 errors"));

    const TreeItem oreExplosive = open.Item("General\\Combat and Damage\\OreExplosive");
    const app::FindingMarks& marks = open.window.Findings();
    QVERIFY(marks.HasMark(oreExplosive));
    QCOMPARE(marks.MarkLevel(oreExplosive), gameview::Level::Error);
    QVERIFY(marks.MarkText(oreExplosive).startsWith("Line 2, error: "));
    QVERIFY(!marks.HasMark(open.Item("General\\Combat and Damage\\AtomDamage")));
    // A wrongly cased section belongs on the section's item; an unknown one on none.
    QCOMPARE(marks.Findings()[1].item, open.Item("General"));
    QCOMPARE(marks.Findings()[2].item, kNoItem);

    // A click on a row selects its item, and the editor says what the game reads.
    QTreeView* list = open.window.Problems()->List();
    const QRect row = list->visualRect(list->model()->index(0, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
    QCOMPARE(open.window.Editor().m_hCurItem, oreExplosive);
    QVERIFY(open.window.GameReadsText()->text().startsWith("The game reads: off - "));
}

void FindingsViewTest::everyWriteRefreshesTheFindings() {
    WindowOnFile open("[General]\r\nGemValue=50\r\n");
    QVERIFY(open.Rows().isEmpty());
    open.window.SelectItem(open.Item("General\\Income And Production\\GemValue"));
    QCOMPARE(open.window.GameReadsText()->text(), QString("The game reads: 50"));

    auto* edit = qobject_cast<QLineEdit*>(open.window.Control(control::kValueEdit));
    edit->selectAll();
    QTest::keyClicks(edit, "abc");
    open.prompts.answers = {QMessageBox::Yes};  // write it although it is no number
    QTest::mouseClick(qobject_cast<QPushButton*>(open.window.Control(control::kApplyButton)), Qt::LeftButton);
    QCoreApplication::processEvents();
    QCOMPARE(open.Rows(), QStringList{"2 error [General] GemValue"});
    QVERIFY(open.window.Findings().HasMark(open.Item("General\\Income And Production\\GemValue")));
    QVERIFY(open.window.GameReadsText()->text().contains("reads it as 0"));

    QTest::mouseClick(qobject_cast<QPushButton*>(open.window.Control(control::kDefaultButton)), Qt::LeftButton);
    QCoreApplication::processEvents();
    QVERIFY(open.Rows().isEmpty());
    QVERIFY(!open.window.Findings().HasMark(open.Item("General\\Income And Production\\GemValue")));
    QVERIFY(open.window.GameReadsText()->text().startsWith("The game reads: "));
}

namespace {

// The part of a widget painted since the last Take().
struct PaintedRegion : QObject {
    explicit PaintedRegion(QWidget* widget) : watched(widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject* object, QEvent* event) override {
        if (object == watched && event->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
    QRegion Take() { return std::exchange(painted, QRegion()); }
    QWidget* watched;
    QRegion painted;
};

}  // namespace

// After a write the views paint again what changed: the written row, the rows whose marks came
// or went; the Problems table is reset only when the findings differ.
void FindingsViewTest::aWriteRepaintsOnlyWhatItChanged() {
    WindowOnFile open("[General]\r\nGemValue=50\r\nGoldValue=25\r\nBuildSpeed=1\r\n");
    const TreeItem gem = open.Item("General\\Income And Production\\GemValue");
    open.window.SelectItem(gem);
    QCoreApplication::processEvents();
    QTreeView* tree = open.window.TreeView();
    QSignalSpy resets(open.window.Problems()->List()->model(), &QAbstractItemModel::modelReset);
    PaintedRegion painted(tree->viewport());
    const QRect gemRow = tree->visualRect(open.window.Finder()->ViewIndexOf(gem));
    QVERIFY(gemRow.isValid());
    auto* edit = qobject_cast<QLineEdit*>(open.window.Control(control::kValueEdit));
    const auto apply = [&](const char* value) {
        edit->setText(value);
        open.window.OnApply();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    };
    const app::FindingMarks& marks = open.window.Findings();

    // A value that fixes nothing and breaks nothing: the same findings, no mark moves.
    QTest::qWait(50);  // the paint that follows the selection is over
    painted.Take();
    apply("60");
    QVERIFY(!marks.FindingsChanged());
    QVERIFY(marks.ChangedMarks().empty());
    QCOMPARE(resets.count(), 0);
    QCOMPARE(painted.Take().boundingRect(), gemRow);

    // A value the game cannot read: a new finding, a mark on the row, the table reset.
    open.prompts.answers = {QMessageBox::Yes};
    apply("abc");
    QVERIFY(marks.FindingsChanged());
    QCOMPARE(marks.ChangedMarks(), std::vector<TreeItem>{gem});
    QCOMPARE(resets.count(), 1);
    QCOMPARE(open.Rows(), QStringList{"2 error [General] GemValue"});
    QCOMPARE(painted.Take().boundingRect(), gemRow);

    // Fixed again: the mark goes.
    apply("70");
    QCOMPARE(marks.ChangedMarks(), std::vector<TreeItem>{gem});
    QCOMPARE(resets.count(), 2);
    QVERIFY(open.Rows().isEmpty());
    QVERIFY(!marks.HasMark(gem));
}

// AFTRMATH.INI beside the rules file (in its own letter case) is found and read on top of it:
// the key it overrides is marked, named in the Problems panel and kept by the Overridden toggle.
void FindingsViewTest::otherLayersOfTheGameJoinTheFindings() {
    WindowBench bench;
    platform::ReplaceFileAtomically(bench.rules, "[General]\r\nGemValue=50\r\nGoldValue=30\r\n");
    const std::string aftermath = Path(bench.dir, "Aftrmath.ini");
    platform::ReplaceFileAtomically(aftermath, "[General]\r\nGemValue=60\r\n");
    bench.Open();
    QTRY_VERIFY(!bench.window.Problems()->ShownRows().isEmpty());  // the check after the first paint
    QVERIFY(bench.window.StatusText().contains(QString::fromStdString(aftermath)));

    const TreeItem gem = bench.Item("General\\Income And Production\\GemValue");
    const TreeItem gold = bench.Item("General\\Income And Production\\GoldValue");
    const app::FindingMarks& marks = bench.window.Findings();
    QVERIFY(marks.IsOverridden(gem));
    QVERIFY(!marks.IsOverridden(gold));
    QVERIFY(marks.MarkText(gem).contains("Aftrmath.ini line 2 sets GemValue=60"));
    QTRY_COMPARE(bench.window.Problems()->ShownRows().size(), 1);
    QVERIFY(bench.window.Problems()->ShownRows().first().endsWith("[General] GemValue"));

    app::TreeFinder* finder = bench.window.Finder();
    QVERIFY(finder->OverriddenToggle()->isEnabled());
    finder->OverriddenToggle()->setChecked(true);
    QVERIFY(finder->FilterModel()->IndexOf(gem).isValid());
    QVERIFY(!finder->FilterModel()->IndexOf(gold).isValid());
    finder->OverriddenToggle()->setChecked(false);
    // The editor names the file that decides the value.
    bench.window.SelectItem(gem);
    QVERIFY(bench.window.GameReadsText()->text().endsWith("\nThe game plays: 60 (Aftrmath.ini, line 2)"));
    bench.window.SelectItem(gold);
    QVERIFY(!bench.window.GameReadsText()->text().contains("The game plays"));

    // The Game menu leaves AFTRMATH.INI out: nothing overrides the rules file any more.
    bench.window.Layers()->AftermathAction()->setChecked(false);
    QCoreApplication::processEvents();
    QVERIFY(!marks.IsOverridden(gem));
    QTRY_VERIFY(bench.window.Problems()->ShownRows().isEmpty());
    bench.window.SelectItem(gem);
    QVERIFY(!bench.window.GameReadsText()->text().contains("The game plays"));
}

// The Game menu starts as the user left it: the mode, the layers switched off, the scenario
// (unless that file is gone since).
void FindingsViewTest::gameMenuChoicesAreKept() {
    TemporarySettings settings;
    QTemporaryDir dir;
    const std::string scenario = Path(dir, "harbour.mpr");
    platform::ReplaceFileAtomically(scenario, "[Basic]\r\nName=Harbour\r\n");
    {
        QMenu menu;
        app::GameLayersMenu first(&menu, nullptr);
        QVERIFY(first.Choice("rules.ini").mode == gameview::GameMode::Campaign);  // the first start
        QVERIFY(first.AftermathAction()->isChecked());
        first.SetMode(gameview::GameMode::Skirmish);
        first.AftermathAction()->setChecked(false);
        first.SetScenario(scenario);
    }
    {
        QMenu menu;
        app::GameLayersMenu again(&menu, nullptr);
        const gamesetup::LayerChoice choice = again.Choice("rules.ini");
        QVERIFY(choice.mode == gameview::GameMode::Skirmish);
        QVERIFY(!again.AftermathAction()->isChecked());
        QVERIFY(again.MplayerAction()->isChecked());
        QCOMPARE(choice.scenario, scenario);
    }
    QVERIFY(QFile::remove(QString::fromStdString(scenario)));
    QMenu menu;
    app::GameLayersMenu later(&menu, nullptr);
    QVERIFY(later.Choice("rules.ini").scenario.empty());
    QVERIFY(later.Choice("rules.ini").mode == gameview::GameMode::Skirmish);
}

// The game's fingerprint of the open file (computed apart, see the core FingerprintTest) in the
// status bar, following every write.
void FindingsViewTest::fingerprintInTheStatusBar() {
    WindowOnFile open("[General]\r\nGemValue=50\r\n");
    const QLabel* label = open.window.FingerprintLabel();
    QVERIFY(label->isVisibleTo(&open.window));
    QCOMPARE(label->text(), QString("Fingerprint: A43F0303"));

    open.window.SelectItem(open.Item("General\\Income And Production\\GemValue"));
    auto* edit = qobject_cast<QLineEdit*>(open.window.Control(control::kValueEdit));
    edit->selectAll();
    QTest::keyClicks(edit, "75");
    QTest::mouseClick(qobject_cast<QPushButton*>(open.window.Control(control::kApplyButton)), Qt::LeftButton);
    QCoreApplication::processEvents();
    QCOMPARE(label->text(), QString("Fingerprint: 1FAD1B1F"));
}

}  // namespace morvane::test
