// Editing one of the game's other files as a layer over the rules file: File > Open Layer, the
// values it inherits shown greyed, Apply and Inherit writing to the layer alone (a scenario's
// map sections kept byte for byte), the sections the layer cannot change left out, and the
// editor's button that opens the file deciding the shown key.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QObject>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include "GuiFixture.h"
#include "GuiTestRegistry.h"
#include "app/FindingMarks.h"
#include "app/LayerEditing.h"
#include "app/MenuCommands.h"
#include "app/RulesTreeModel.h"
#include "app/TreeFinder.h"
#include "editor/ControlIds.h"

namespace morvane::test {

class LayerEditingTest : public QObject {
    Q_OBJECT
private slots:
    void aScenarioIsEditedOverTheRulesFile();
    void inheritTakesTheKeyOutAndUndoPutsItBack();
    void eachLayerOffersTheSectionsItCanChange();
    void theDecidingFileOpensAtTheKey();
    void anInheritedKeyStartsFromWhatTheGamePlays();
    void everyMenuEntryHasAKeyOfItsOwn();
};

MORVANE_GUI_TEST_CLASS(LayerEditingTest);

namespace {

std::string Fixture(const char* name) { return FileText(std::string(MORVANE_LAYER_FIXTURES) + "/" + name); }

// A window on a copy of the layer fixtures' rules file, AFTRMATH.INI beside it; `layer` (a
// fixture name, copied beside them) opened through File > Open Layer.
struct LayerBench : WindowBench {
    explicit LayerBench(const char* layerFixture, const char* layerName = nullptr) {
        platform::ReplaceFileAtomically(rules, Fixture("RULES.INI"));
        platform::ReplaceFileAtomically(Path(dir, "AFTRMATH.INI"), Fixture("AFTRMATH.INI"));
        layer = Path(dir, layerName != nullptr ? layerName : layerFixture);
        platform::ReplaceFileAtomically(layer, Fixture(layerFixture));
        Open();
        prompts.files.push_back(QString::fromStdString(layer));
        window.Command(app::command::kOpenLayer)->trigger();
        QCoreApplication::processEvents();
    }
    void Apply(const char* path, const char* value) {
        window.SelectItem(Item(path));
        auto* edit = qobject_cast<QLineEdit*>(window.Control(control::kValueEdit));
        edit->selectAll();
        QTest::keyClicks(edit, value);
        QTest::mouseClick(qobject_cast<QPushButton*>(window.Control(control::kApplyButton)), Qt::LeftButton);
        QCoreApplication::processEvents();
    }
    // What the tree shows of an item, through the view's proxies.
    QVariant Shown(TreeItem item, int role) { return window.Finder()->FilterModel()->IndexOf(item).data(role); }

    std::string layer;
};

std::string Without(std::string text, const std::string& part) {
    const std::size_t at = text.find(part);
    if (at == std::string::npos) qFatal("no %s", part.c_str());
    return text.erase(at, part.size());
}

}  // namespace

void LayerEditingTest::aScenarioIsEditedOverTheRulesFile() {
    LayerBench bench("ridge.ini");
    const std::string rulesBefore = FileText(bench.rules);
    const std::string scenarioBefore = FileText(bench.layer);
    app::CMainDlg& window = bench.window;
    QVERIFY(window.LayerEditor().Active());
    QCOMPARE(window.windowTitle(), QString("Morvane - ridge.ini, a scenario over rules.ini"));
    QVERIFY(window.StatusText().contains(QString::fromStdString(bench.rules)));

    // Its own value, plain; an inherited one greyed, saying where it comes from; one the
    // scenario's [General] resets, greyed with the reset value.
    const TreeItem gem = bench.Item("General\\Income And Production\\GemValue");
    const TreeItem gold = bench.Item("General\\Income And Production\\GoldValue");
    const TreeItem incoming = bench.Item("General\\Combat and Damage\\Incoming");
    QTRY_COMPARE(bench.Shown(gold, Qt::DisplayRole).toString(), QString("GoldValue = 25"));  // the first check
    QCOMPARE(bench.Shown(gem, Qt::DisplayRole).toString(), QString("GemValue = 120"));
    QVERIFY(!bench.Shown(gem, Qt::ForegroundRole).isValid());
    QCOMPARE(bench.Shown(gold, Qt::DisplayRole).toString(), QString("GoldValue = 25"));
    QVERIFY(bench.Shown(gold, Qt::ForegroundRole).isValid());
    QVERIFY(bench.Shown(gold, Qt::AccessibleDescriptionRole).toString().startsWith("Inherited from rules.ini, line 6"));
    QVERIFY(bench.Shown(gold, Qt::ToolTipRole).toString().contains("Inherited from rules.ini, line 6"));
    QCOMPARE(bench.Shown(incoming, Qt::DisplayRole).toString(), QString("Incoming = 0"));
    QVERIFY(bench.Shown(incoming, Qt::ToolTipRole).toString().contains("[General] section (line 33)"));
    // The editor says who decides an inherited key, and Inherit is for keys the layer sets.
    window.SelectItem(gold);
    QCOMPARE(window.GameReadsText()->text(), QString("Not in the file.\nThe game plays: 25 (rules.ini, line 6)"));
    QVERIFY(!window.LayerEditor().InheritButton()->isEnabled());
    QVERIFY(window.LayerEditor().OpenButton()->isVisibleTo(&window));
    window.SelectItem(gem);
    QVERIFY(window.LayerEditor().InheritButton()->isEnabled());
    QVERIFY(!window.LayerEditor().OpenButton()->isVisibleTo(&window));
    // The findings are the scenario's: its [MultiplayerDefaults] is never read.
    QVERIFY(!window.Findings().Findings().empty());
    for (const app::MarkedFinding& marked : window.Findings().Findings())
        QVERIFY(marked.finding.line >= 33);  // lines of ridge.ini's rules sections
    // A game of any kind reads no rules file named after a map.
    QVERIFY(!window.Command(app::command::kLaunchWithFile)->isEnabled());

    // A value the scenario sets changes in its line only; one it does not set joins its section.
    bench.Apply("Units\\Infantry\\Rifle soldier\\Cost", "95");
    std::string expected = scenarioBefore;
    expected.replace(expected.find("Cost=90\r\n"), 9, "Cost=95\r\n");
    QCOMPARE(FileText(bench.layer), expected);
    bench.Apply("General\\Income And Production\\GoldValue", "40");
    const std::string written = FileText(bench.layer);
    QCOMPARE(Without(written, "GoldValue=40\r\n"), expected);
    QVERIFY(Contains(written, "BuildSpeed=.8\r\nGoldValue=40\r\n\r\n[E1]"));
    QCOMPARE(bench.Shown(gold, Qt::DisplayRole).toString(), QString("GoldValue = 40"));
    QVERIFY(!bench.Shown(gold, Qt::ForegroundRole).isValid());
    QCOMPARE(FileText(bench.rules), rulesBefore);
    // Undo goes back through both writes, byte for byte.
    window.OnUndo();
    window.OnUndo();
    QCOMPARE(FileText(bench.layer), scenarioBefore);
    QCOMPARE(FileText(bench.rules), rulesBefore);

    // Opening a rules file the usual way ends the layer editing.
    bench.prompts.files.push_back(QString::fromStdString(bench.rules));
    window.OnFileOpen();
    QVERIFY(!window.LayerEditor().Active());
    QCOMPARE(window.windowTitle(), QString("Morvane - ") + QString::fromStdString(bench.rules));
    QVERIFY(window.Command(app::command::kLaunchWithFile)->isEnabled());
}

void LayerEditingTest::inheritTakesTheKeyOutAndUndoPutsItBack() {
    LayerBench bench("ridge.ini");
    const std::string before = FileText(bench.layer);
    app::CMainDlg& window = bench.window;
    const TreeItem gem = bench.Item("General\\Income And Production\\GemValue");
    window.SelectItem(gem);
    QPushButton* inherit = window.LayerEditor().InheritButton();
    QVERIFY(inherit->isVisibleTo(&window));
    QVERIFY(inherit->isEnabled());
    QTest::mouseClick(inherit, Qt::LeftButton);
    QCoreApplication::processEvents();
    const std::string without = Without(before, "GemValue=120\r\n");
    QCOMPARE(FileText(bench.layer), without);
    QVERIFY(!window.NavigationTree().GetItemValue(gem));
    // Now it shows what AFTRMATH.INI gives it, greyed.
    QTRY_COMPARE(bench.Shown(gem, Qt::DisplayRole).toString(), QString("GemValue = 110"));
    QVERIFY(bench.Shown(gem, Qt::ToolTipRole).toString().contains("Inherited from AFTRMATH.INI, line 4"));
    QVERIFY(!inherit->isEnabled());
    QVERIFY(window.StatusText().startsWith("Took GemValue out of ridge.ini"));

    // One step of the history: undo puts the line back where it was, redo takes it out again.
    QCOMPARE(window.Command(control::kUndoMenuItem)->text(), QString("&Undo Inherit GemValue"));
    window.OnUndo();
    QCOMPARE(FileText(bench.layer), before);
    QCOMPARE(window.NavigationTree().GetItemValue(gem), std::optional<std::string>("120"));
    QVERIFY(inherit->isEnabled());
    window.OnRedo();
    QCOMPARE(FileText(bench.layer), without);

    // Another program puts the key back: the window reads the layer again and still edits it as
    // a layer.
    platform::ReplaceFileAtomically(bench.layer, before);
    window.CheckRulesFile();
    QVERIFY(window.LayerEditor().Active());
    QCOMPARE(window.NavigationTree().GetItemValue(bench.Item("General\\Income And Production\\GemValue")),
             std::optional<std::string>("120"));
    QCOMPARE(FindItemByPath(window.NavigationTree(), "MultiplayerDefaults"), kNoItem);
}

// The game reads [MultiplayerDefaults] and [Maximums] only from the rules file and
// AFTRMATH.INI, and the difficulty sections from no file at all.
void LayerEditingTest::eachLayerOffersTheSectionsItCanChange() {
    const struct {
        const char* fixture;
        const char* name;
        bool startSections;
    } cases[] = {
        {"AFTRMATH.INI", "aftrmath.ini", true},
        {"MPLAYER.INI", "Mplayer.ini", false},
        {"ridge.ini", "SCG01EA.INI", false},
        {"harbour.mpr", "harbour.mpr", false},
    };
    for (const auto& layer : cases) {
        LayerBench bench(layer.fixture, layer.name);
        const Tree& tree = bench.window.NavigationTree();
        QVERIFY2(bench.window.LayerEditor().Active(), layer.name);
        QCOMPARE(FindItemByPath(tree, "MultiplayerDefaults") != kNoItem, layer.startSections);
        QCOMPARE(FindItemByPath(tree, "Maximums") != kNoItem, layer.startSections);
        QCOMPARE(FindItemByPath(tree, "Difficulty Settings"), kNoItem);
        QVERIFY(FindItemByPath(tree, "General\\Income And Production\\GemValue") != kNoItem);
        QVERIFY(FindItemByPath(tree, "Units\\Infantry\\Rifle soldier\\Cost") != kNoItem);
        QVERIFY(FindItemByPath(tree, "Powerups") != kNoItem);
    }
    // MPLAYER.INI counts only outside campaigns: the window says how it shows it.
    LayerBench mplayer("MPLAYER.INI");
    QVERIFY(mplayer.window.StatusText().contains("as in a skirmish game"));
    QCoreApplication::processEvents();
    mplayer.window.SelectItem(mplayer.Item("Units\\Infantry\\Rifle soldier\\Cost"));
    QVERIFY(mplayer.window.LayerEditor().InheritButton()->isEnabled());
}

// The button beside "The game plays" opens the file that decides, at the same key: a layer
// over the rules file, or the rules file itself.
void LayerEditingTest::theDecidingFileOpensAtTheKey() {
    WindowBench bench;
    platform::ReplaceFileAtomically(bench.rules, Fixture("RULES.INI"));
    platform::ReplaceFileAtomically(Path(bench.dir, "AFTRMATH.INI"), Fixture("AFTRMATH.INI"));
    bench.Open();
    app::CMainDlg& window = bench.window;
    window.SelectItem(bench.Item("General\\Income And Production\\GemValue"));
    QPushButton* open = window.LayerEditor().OpenButton();
    QTRY_VERIFY(open->isVisibleTo(&window));  // after the first check
    const QString fingerprint = window.FingerprintLabel()->text();
    QCOMPARE(open->text(), QString("O&pen AFTRMATH.INI"));
    QTest::mouseClick(open, Qt::LeftButton);
    QCoreApplication::processEvents();
    QVERIFY(window.LayerEditor().Active());
    QVERIFY(window.LayerEditor().Edited() == gameview::Layer::Aftermath);
    QCOMPARE(window.windowTitle(), QString("Morvane - AFTRMATH.INI, the Aftermath rules over rules.ini"));
    const TreeItem shown = window.Editor().m_hCurItem;
    QCOMPARE(window.NavigationTree().GetItemKey(shown), std::string("GemValue"));
    QCOMPARE(window.NavigationTree().GetItemValue(shown), std::optional<std::string>("110"));
    // The game compares the rules file between players, whatever file the window edits.
    window.Findings().Refresh();
    QCOMPARE(window.FingerprintLabel()->text(), fingerprint);

    // A key AFTRMATH.INI leaves to the rules file: back to the rules file, at that key.
    window.SelectItem(bench.Item("General\\Income And Production\\GoldValue"));
    QCOMPARE(open->text(), QString("O&pen rules.ini"));
    QTest::mouseClick(open, Qt::LeftButton);
    QCoreApplication::processEvents();
    QVERIFY(!window.LayerEditor().Active());
    QCOMPARE(window.Paths().rulesPath, bench.rules);
    QCOMPARE(window.NavigationTree().GetItemText(window.Editor().m_hCurItem), std::string("GoldValue = 25"));
}

// A key the layer leaves out shows in its controls what the game plays (the files beneath, or a
// reset by the layer's own section), not the key's default: Apply writes that value into the
// layer; Default still writes the default.
void LayerEditingTest::anInheritedKeyStartsFromWhatTheGamePlays() {
    const struct {
        const char* fixture;
        const char* path;
        const char* shown;    // the default is another value
        const char* written;  // the layer's line after Apply, with its line ending
    } cases[] = {
        // [General] of a scenario resets the key: 0 (default 10).
        {"ridge.ini", "General\\Combat and Damage\\Incoming", "0", "\nIncoming=0\r\n"},
        // AFTRMATH.INI gives .9 (default .8).
        {"MPLAYER.INI", "General\\Income And Production\\BuildSpeed", ".9", "\nBuildSpeed=.9\n"},
    };
    for (const auto& key : cases) {
        LayerBench bench(key.fixture);
        app::CMainDlg& window = bench.window;
        auto* edit = qobject_cast<QLineEdit*>(window.Control(control::kValueEdit));
        // Chosen at once: the value beneath is known only after the first check, and follows it.
        window.SelectItem(bench.Item(key.path));
        QTRY_COMPARE(edit->text(), QString(key.shown));
        QVERIFY2(!window.NavigationTree().GetItemValue(bench.Item(key.path)), key.path);
        QVERIFY2(!window.ShowsPendingEdit(), key.path);

        // The reset's 0 lies below the key's usual range: Apply asks first, and is told yes.
        bench.prompts.answers.push_back(QMessageBox::Yes);
        QTest::mouseClick(qobject_cast<QPushButton*>(window.Control(control::kApplyButton)), Qt::LeftButton);
        QCoreApplication::processEvents();
        QVERIFY2(Contains(FileText(bench.layer), key.written), key.written);
        window.OnUndo();
        QTRY_COMPARE(edit->text(), QString(key.shown));
    }
    LayerBench bench("ridge.ini");
    app::CMainDlg& window = bench.window;
    const TreeItem incoming = bench.Item("General\\Combat and Damage\\Incoming");
    window.SelectItem(incoming);
    QTRY_COMPARE(qobject_cast<QLineEdit*>(window.Control(control::kValueEdit))->text(), QString("0"));
    window.OnDefault();
    QCOMPARE(window.NavigationTree().GetItemValue(incoming), std::optional<std::string>("10"));
    QVERIFY(Contains(FileText(bench.layer), "Incoming=10\r\n"));
}

// Alt and a letter reach every entry of a menu at once: two entries with the same letter would
// only take turns being highlighted (File > Open Layer beside Launch RA, say).
void LayerEditingTest::everyMenuEntryHasAKeyOfItsOwn() {
    WindowBench bench;
    WriteExampleRules(bench.rules);
    bench.Open();
    for (QAction* menu : bench.window.menuBar()->actions()) {
        QStringList letters;
        for (const QAction* entry : menu->menu()->actions()) {
            if (entry->isSeparator()) continue;
            const QString text = QString(entry->text()).replace("&&", "");
            const qsizetype amp = text.indexOf('&');
            QVERIFY2(amp >= 0 && amp + 1 < text.size(), qPrintable(menu->text() + ": " + entry->text()));
            const QString letter = text.mid(amp + 1, 1).toLower();
            QVERIFY2(!letters.contains(letter), qPrintable(menu->text() + ": " + entry->text()));
            letters << letter;
        }
    }
}

}  // namespace morvane::test

#include "LayerEditingTest.moc"
