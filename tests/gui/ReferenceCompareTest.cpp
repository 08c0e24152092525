#include "ReferenceCompareTest.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>

#include "GuiFixture.h"
#include "GuiTestRegistry.h"
#include "app/FindingMarks.h"
#include "app/MenuCommands.h"
#include "app/ProblemsPanel.h"
#include "app/ReferenceCompare.h"
#include "app/TreeFilterModel.h"
#include "app/TreeFinder.h"
#include "editor/ControlIds.h"

namespace morvane::test {
namespace {

namespace command = app::command;

const char* const kGem = "General\\Income And Production\\GemValue";
const char* const kGold = "General\\Income And Production\\GoldValue";
const char* const kBuildSpeed = "General\\Income And Production\\BuildSpeed";

// A window on a file of the test's own, once the first check (and comparison) has run.
struct ComparedWindow : WindowBench {
    explicit ComparedWindow(const std::string& text) {
        platform::ReplaceFileAtomically(rules, text);
        Open();
        if (!QTest::qWaitFor([this] { return compared; }, 5000)) qFatal("no comparison after the first paint");
    }
    app::ReferenceCompare& Reference() { return window.Reference(); }
    // Chooses `path` through File > Compare With…
    void CompareWith(const std::string& path) {
        prompts.files.push_back(QString::fromStdString(path));
        window.Command(command::kCompareWith)->trigger();
    }
    QStringList Rows() const { return window.Differences()->ShownRows(); }
    // The tooltip of an item's row in the tree view.
    QString Tip(const char* path) {
        const QModelIndex index = window.Finder()->FilterModel()->IndexOf(Item(path));
        return index.data(Qt::ToolTipRole).toString();
    }
    bool Shown(const char* path) { return window.Finder()->FilterModel()->IndexOf(Item(path)).isValid(); }

    bool compared = false;
    QMetaObject::Connection watch =
        QObject::connect(&window.Reference(), &app::ReferenceCompare::Refreshed, [this] { compared = true; });
};

}  // namespace

MORVANE_GUI_TEST_CLASS(ReferenceCompareTest);

void ReferenceCompareTest::marksTheKeysThatPlayDifferentlyFromAFile() {
    // GemValue differs; BuildSpeed is written differently but read the same; GoldValue has a
    // duplicate the game hides; a note and spacing change nothing.
    ComparedWindow open("[General]\r\nGemValue=75\r\nBuildSpeed=100%\r\nGoldValue=25\r\n");
    const std::string reference = Path(open.dir, "older.ini");
    platform::ReplaceFileAtomically(reference,
                                    "; the last release\n[General]\nGemValue = 50\nBuildSpeed=1.0\nGoldValue=25\n"
                                    "GoldValue=25\n");
    open.CompareWith(reference);

    QCOMPARE(open.Rows().join("|"), QString("[General] GemValue: 50 -> 75"));
    QVERIFY(open.window.Differences()->isVisible());
    QVERIFY(open.Tip(kGem).split('\n').contains("Differs from older.ini: 50"));
    QVERIFY(open.window.Finder()->FilterModel()->IndexOf(open.Item(kGem)).data(Qt::FontRole).value<QFont>().italic());
    for (const char* same : {kGold, kBuildSpeed}) QVERIFY2(!open.Tip(same).contains("Differs"), same);

    // The toggle is named after the reference and keeps only the keys that differ.
    QToolButton* toggle = open.window.Finder()->DiffersToggle();
    QCOMPARE(toggle->accessibleName(), QString("Differs from older.ini"));  // the text too, where there is room
    toggle->click();
    QVERIFY(open.Shown(kGem));
    QVERIFY(!open.Shown(kGold));
    toggle->click();

    // A click on a row selects the key.
    QTreeWidget* list = open.window.Differences()->List();
    const QRect row = list->visualItemRect(list->topLevelItem(0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
    QCOMPARE(open.window.Editor().m_hCurItem, open.Item(kGem));

    // The reference is read again with every check: an edit there shows after the next write.
    platform::ReplaceFileAtomically(reference, "[General]\nGemValue=75\nGoldValue=30\n");
    open.window.Findings().Refresh();
    QCOMPARE(open.Rows(), QStringList{"[General] GoldValue: 30 -> 25"});

    // A reference that cannot be read is refused and the one in use stays.
    open.CompareWith(Path(open.dir, "missing.ini"));
    QCOMPARE(open.prompts.messages.size(), std::size_t{1});
    QVERIFY(open.prompts.messages[0].text.contains("missing.ini"));
    QCOMPARE(toggle->accessibleName(), QString("Differs from older.ini"));  // the text too, where there is room
}

void ReferenceCompareTest::takingTheReferenceValueIsOneUndoableWrite() {
    const std::string original = "[General]\r\n; income\r\nGemValue=75\r\nGoldValue=25\r\n";
    ComparedWindow open(original);
    const std::string reference = Path(open.dir, "friend.ini");
    platform::ReplaceFileAtomically(reference, "[General]\nGemValue=50\nGoldValue=25\n");
    open.CompareWith(reference);

    open.window.SelectItem(open.Item(kGold));
    app::ReferenceRow* row = open.window.ReferenceValueRow();
    QVERIFY(!row->isVisibleTo(&open.window));  // GoldValue plays as the reference does
    open.window.SelectItem(open.Item(kGem));
    QVERIFY(row->isVisibleTo(&open.window));
    QCOMPARE(row->Text()->text(), QString("Differs from friend.ini: 50"));

    QTest::mouseClick(row->TakeButton(), Qt::LeftButton);
    QTRY_VERIFY(open.Rows().isEmpty());
    // The one line changed in place; the note and line ends stay.
    QCOMPARE(FileText(open.rules), std::string("[General]\r\n; income\r\nGemValue=50\r\nGoldValue=25\r\n"));
    QCOMPARE(open.window.NavigationTree().GetItemText(open.Item(kGem)), std::string("GemValue = 50"));
    QVERIFY(!row->isVisibleTo(&open.window));
    QVERIFY(!open.Tip(kGem).contains("Differs"));

    // One undo step takes it back, marks and all.
    QAction* undo = open.window.Command(control::kUndoMenuItem);
    QVERIFY(undo->text().contains("Take Reference Value GemValue"));
    undo->trigger();
    QCOMPARE(FileText(open.rules), original);
    QTRY_COMPARE(open.Rows(), QStringList{"[General] GemValue: 50 -> 75"});
    QVERIFY(!undo->isEnabled());
}

void ReferenceCompareTest::stockValuesAreTheFirstReference() {
    // The complete stock file with one value changed: that key alone differs, and it is the key
    // the "Changed" marks show.
    std::string text = MakeDefaultRulesFile(BuiltInCatalogue());
    const std::size_t at = text.find("\nGemValue=") + 10;
    const std::string stock = text.substr(at, text.find('\r', at) - at);
    text.replace(at, stock.size(), "999");
    ComparedWindow open(text);

    QCOMPARE(open.Rows(), QStringList{QString::fromStdString("[General] GemValue: " + stock + " -> 999")});
    // View > Differences brings the panel to the front of the Problems panel it shares a place with.
    open.window.Differences()->toggleViewAction()->trigger();
    QTRY_VERIFY(!open.window.Differences()->visibleRegion().isEmpty());
    QVERIFY(open.window.Problems()->visibleRegion().isEmpty());
    QCOMPARE(open.window.Finder()->DiffersToggle()->accessibleName(), QString("Differs from stock values"));
    QVERIFY(open.window.Finder()->FilterModel()->StateOf(open.Item(kGem)).changed);
    QVERIFY(!open.window.Command(command::kCompareWithStock)->isEnabled());

    // Another reference, and back to the stock values.
    const std::string other = Path(open.dir, "other.ini");
    platform::ReplaceFileAtomically(other, "[General]\r\nGemValue=999\r\n");
    open.CompareWith(other);
    QVERIFY(open.Rows().size() > 1);  // the keys the small file leaves to the game
    QVERIFY(open.window.Command(command::kCompareWithStock)->isEnabled());
    open.window.Command(command::kCompareWithStock)->trigger();
    QCOMPARE(open.Rows().size(), 1);

    open.window.SelectItem(open.Item(kGem));
    QTest::mouseClick(open.window.ReferenceValueRow()->TakeButton(), Qt::LeftButton);
    QTRY_VERIFY(open.Rows().isEmpty());
    QCOMPARE(FileText(open.rules), MakeDefaultRulesFile(BuiltInCatalogue()));
}

void ReferenceCompareTest::exportsTheChangesAndRefusesTheFilesTheyComeFrom() {
    ComparedWindow open("[General]\r\nGemValue=75\r\nGoldValue=25\r\n");
    const std::string reference = Path(open.dir, "base.ini");
    platform::ReplaceFileAtomically(reference, "[General]\r\nGemValue=50\r\nGoldValue=25\r\n");
    open.CompareWith(reference);

    const std::string out = Path(open.dir, "changes");  // the extension is added
    open.prompts.files.push_back(QString::fromStdString(out));
    open.window.Command(command::kExportChanges)->trigger();
    QCOMPARE(FileText(out + ".ini"), std::string("[General]\r\nGemValue=75\r\n\r\n"));
    QVERIFY(open.prompts.messages.empty());

    // Neither the open file nor the reference is replaced by the changes.
    for (const std::string& kept : {open.rules, reference}) {
        const std::string before = FileText(kept);
        open.prompts.files.push_back(QString::fromStdString(kept));
        open.window.Command(command::kExportChanges)->trigger();
        QCOMPARE(FileText(kept), before);
    }
    QCOMPARE(open.prompts.messages.size(), std::size_t{2});
    QVERIFY(open.prompts.messages[0].text.contains("not written over"));
}

}  // namespace morvane::test
