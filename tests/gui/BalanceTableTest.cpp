#include "BalanceTableTest.h"

#include <QAbstractButton>
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTest>

#include "GuiFixture.h"
#include "GuiTestRegistry.h"
#include "app/BalanceDock.h"

namespace morvane::test {
namespace {

// Written with CR LF and a note, so that a write which touched anything else would show.
const char* const kRules =
    "; balance\r\n[General]\r\nMinDamage=1\r\n\r\n[90mm]\r\nDamage=25\r\nROF=50\r\nWarhead=AP\r\n"
    "[AP]\r\nVerses=30%,75%,75%,100%,50%\r\n"
    "[2TNK]\r\nPrimary=90mm\r\nStrength=400 ; tough\r\nArmor=heavy\r\nCost=800\r\n"
    "[1TNK]\r\nPrimary=90mm\r\nStrength=300\r\nArmor=heavy\r\nCost=700\r\n";

struct TableBench : WindowBench {
    TableBench() {
        platform::ReplaceFileAtomically(rules, kRules);
        Open();
        window.Table()->toggleViewAction()->trigger();
        table = window.Table();
        table->ShowGroup(QStringLiteral("vehicles"));
        QCoreApplication::processEvents();
    }
    // The view's index of a section's row and a header's column.
    QModelIndex Cell(const QString& section, const QString& header) const {
        const QAbstractItemModel* model = table->View()->model();
        int column = -1;
        for (int c = 0; c < model->columnCount(); ++c)
            if (model->headerData(c, Qt::Horizontal).toString() == header) column = c;
        for (int r = 0; r < model->rowCount(); ++r)
            if (model->index(r, 0).data().toString() == section) return model->index(r, column);
        return {};
    }
    // Types `text` into the cell's editor and commits it, as a user would.
    void Edit(const QModelIndex& cell, const QString& text) {
        QTableView* view = table->View();
        view->selectionModel()->setCurrentIndex(cell, QItemSelectionModel::NoUpdate);
        view->edit(cell);
        QCoreApplication::processEvents();
        auto* editor = view->viewport()->findChild<QLineEdit*>();
        if (editor == nullptr) qFatal("no editor");
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
    }
    app::BalanceDock* table = nullptr;
};

}  // namespace

MORVANE_GUI_TEST_CLASS(BalanceTableTest);

void BalanceTableTest::cellEditUndoesByteForByte() {
    TableBench bench;
    const std::string before = FileText(bench.rules);
    QCOMPARE(bench.Cell("2TNK", "Strength").data().toString(), QStringLiteral("400"));
    // Strength is written with the value as typed; the game keeps it in 16 bits.
    bench.Edit(bench.Cell("2TNK", "Strength"), QStringLiteral("450"));
    const std::string after = FileText(bench.rules);
    QVERIFY(Contains(after, "Strength=450"));
    std::string expected = before;
    expected.replace(expected.find("Strength=400"), 12, "Strength=450");  // the note stays
    QCOMPARE(after, expected);
    QCOMPARE(bench.Cell("2TNK", "Strength").data().toString(), QStringLiteral("450"));
    QVERIFY(bench.Cell("2TNK", "Strength").data(Qt::FontRole).value<QFont>().bold());
    // The tree shows the new value as well.
    QCOMPARE(bench.window.NavigationTree().GetItemText(bench.Item("Units\\Land Vehicles\\Medium tank\\Strength")),
             std::string("Strength = 450"));

    bench.window.OnUndo();
    QCoreApplication::processEvents();
    QCOMPARE(FileText(bench.rules), before);
    QCOMPARE(bench.Cell("2TNK", "Strength").data().toString(), QStringLiteral("400"));
    bench.window.OnRedo();
    QCoreApplication::processEvents();
    QCOMPARE(FileText(bench.rules), after);
}

void BalanceTableTest::selectionOfAColumnIsOneStep() {
    TableBench bench;
    const std::string before = FileText(bench.rules);
    QTableView* view = bench.table->View();
    const QModelIndex medium = bench.Cell("2TNK", "Cost");
    const QModelIndex light = bench.Cell("1TNK", "Cost");
    view->selectionModel()->select(medium, QItemSelectionModel::Select);
    view->selectionModel()->select(light, QItemSelectionModel::Select);
    bench.Edit(medium, QStringLiteral("999"));
    QVERIFY(Contains(FileText(bench.rules),
                     "[2TNK]\r\nPrimary=90mm\r\nStrength=400 ; tough\r\nArmor=heavy\r\nCost=999\r\n"));
    QVERIFY(Contains(FileText(bench.rules), "[1TNK]\r\nPrimary=90mm\r\nStrength=300\r\nArmor=heavy\r\nCost=999\r\n"));
    // One step: one undo puts both back.
    bench.window.OnUndo();
    QCOMPARE(FileText(bench.rules), before);

    // A name is picked from the names the game knows.
    const QModelIndex armour = bench.Cell("1TNK", "Armor");
    view->setCurrentIndex(armour);
    view->edit(armour);
    auto* box = view->viewport()->findChild<QComboBox*>();
    QVERIFY(box != nullptr);
    QCOMPARE(box->currentText(), QStringLiteral("heavy"));
    QVERIFY(box->findText(QStringLiteral("concrete")) >= 0);
    QTest::keyClick(box, Qt::Key_Escape);
    QCOMPARE(FileText(bench.rules), before);
}

void BalanceTableTest::sortFilterCopyAndExport() {
    TableBench bench;
    QTableView* view = bench.table->View();
    // Sorted by Strength, numbers as numbers, the strongest first: 400, 300, then those with none.
    view->sortByColumn(3, Qt::DescendingOrder);  // Section, Name, Cost, Strength
    QCOMPARE(view->model()->index(0, 0).data().toString(), QStringLiteral("2TNK"));
    QCOMPARE(view->model()->index(1, 0).data().toString(), QStringLiteral("1TNK"));

    bench.table->FilterEdit()->setText(QStringLiteral("tank"));
    const int rows = view->model()->rowCount();
    QVERIFY(rows >= 2 && rows < 22);

    view->clearSelection();
    view->selectionModel()->select(bench.Cell("1TNK", "Section"), QItemSelectionModel::Select);
    view->selectionModel()->select(bench.Cell("1TNK", "Strength"), QItemSelectionModel::Select);
    QCOMPARE(bench.table->SelectionText(), QStringLiteral("1TNK\t300\n"));
    bench.table->CopySelection();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("1TNK\t300\n"));

    const std::string csv = Path(bench.dir, "vehicles.csv");
    bench.prompts.files.push_back(QString::fromStdString(csv));
    bench.table->ExportCsv();
    const std::string text = FileText(csv);
    QVERIFY(text.rfind("Section,Name,Cost,Strength,Armor,", 0) == 0);
    QVERIFY(Contains(text, "\n2TNK,Medium tank,800,400,heavy,"));
}

void BalanceTableTest::picturesSaveAsPngAndSvg() {
    TableBench bench;
    bench.table->View()->setCurrentIndex(bench.Cell("2TNK", "Cost"));
    auto chart = bench.table->DamageChartDialog();
    QVERIFY(chart != nullptr);
    const std::string svg = Path(bench.dir, "chart.svg");
    const std::string png = Path(bench.dir, "chart.png");
    bench.prompts.files.push_back(QString::fromStdString(svg));
    chart->findChild<QAbstractButton*>(QStringLiteral("saveSvg"))->click();
    bench.prompts.files.push_back(QString::fromStdString(png));
    chart->findChild<QAbstractButton*>(QStringLiteral("savePng"))->click();
    const std::string svgText = FileText(svg);
    QVERIFY(svgText.rfind("<?xml", 0) == 0);
    QVERIFY(Contains(svgText, ">90mm: damage per minute</text>"));
    QVERIFY(Contains(svgText, ">450</text>"));  // heavy: 25 a hit, 18 a minute
    QVERIFY(FileText(png).rfind("\x89PNG", 0) == 0);

    auto heat = bench.table->HeatMapDialog();
    QVERIFY(heat != nullptr);
    const std::string heatSvg = Path(bench.dir, "heat.svg");
    bench.prompts.files.push_back(QString::fromStdString(heatSvg));
    heat->findChild<QAbstractButton*>(QStringLiteral("saveSvg"))->click();
    // 2TNK against 1TNK: 300 / 25 = 12 hits, 11 waits of 50 ticks = 36.7 s.
    QVERIFY(Contains(FileText(heatSvg), ">36.7</text>"));
    QVERIFY(bench.prompts.messages.empty());
}

}  // namespace morvane::test
