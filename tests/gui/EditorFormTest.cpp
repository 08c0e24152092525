#include "EditorFormTest.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QTest>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>

#include "ActiveWindowBench.h"
#include "GuiTestRegistry.h"
#include "dialogs/CPropertiesDlg.h"
#include "dialogs/CSetDirectoryDlg.h"
#include "guicommon/Artwork.h"

namespace morvane::test {
namespace {

using namespace control;

QLabel* Named(app::CMainDlg& window, const char* name) {
    auto* label = window.findChild<QLabel*>(QLatin1String(name));
    if (label == nullptr) qFatal("no label %s", name);
    return label;
}

}  // namespace

MORVANE_GUI_TEST_CLASS(EditorFormTest);

void EditorFormTest::formShowsTheKeyWithItsRangeAndUnit_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("valueControl");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("range");
    QTest::addColumn<QString>("unit");
    QTest::newRow("integer") << "General\\Crates\\CrateMinimum" << int(kValueEdit) << "CrateMinimum"
                             << "1 to 32767"
                             << "";
    QTest::newRow("cells") << "Units\\Land Vehicles\\Medium tank\\Sight" << int(kValueEdit) << "Sight"
                           << "0 to 32767"
                           << "cells";
    QTest::newRow("real") << "General\\Crates\\CrateRadius" << int(kValueEdit) << "CrateRadius"
                          << ""
                          << "cells";
    QTest::newRow("percentage") << "General\\Crates\\WaterCrateChance" << int(kPercentSlider) << "WaterCrateChance"
                                << "1 to 100"
                                << "%";
    QTest::newRow("verses") << "Warheads Types\\HE\\Verses" << int(kVersesColumns[0].slider) << "Verses"
                            << ""
                            << "% of full damage";
    QTest::newRow("yes/no") << "General\\Combat and Damage\\PlayerAutoCrush" << int(kCheckBox) << "PlayerAutoCrush"
                            << ""
                            << "";
    QTest::newRow("list of several") << "Units\\Land Vehicles\\SCUD launcher\\Prerequisite" << int(kMultiList)
                                     << "Prerequisite"
                                     << ""
                                     << "";
}

void EditorFormTest::formShowsTheKeyWithItsRangeAndUnit() {
    QFETCH(QString, path);
    QFETCH(int, valueControl);
    QFETCH(QString, title);
    QFETCH(QString, range);
    QFETCH(QString, unit);
    ActiveBench bench;
    app::CMainDlg& window = bench.window;
    bench.Select(qPrintable(path));
    bench.Settle();

    QCOMPARE(Named(window, "keyTitle")->text(), title);
    QCOMPARE(Named(window, "keyRange")->isVisible() ? Named(window, "keyRange")->text() : QString(), range);
    QCOMPARE(Named(window, "keyUnit")->isVisible() ? Named(window, "keyUnit")->text() : QString(), unit);

    // Apply and Default sit beside the value, level with its top, not below everything; on a
    // narrow panel (twice the scale on a small screen) right beneath the value controls, still
    // above the default.
    QWidget* value = window.Control(valueControl);
    QVERIFY(value->isVisible());
    const QRect valueBox(value->mapTo(&window, QPoint()), value->size());
    const int defaultTop = window.Control(kDefaultText)->mapTo(&window, QPoint()).y();
    for (const int id : {kApplyButton, kDefaultButton}) {
        QWidget* button = window.Control(id);
        const QRect box(button->mapTo(&window, QPoint()), button->size());
        const bool beside = box.left() >= valueBox.right() && box.top() < valueBox.top() + 2 * box.height() + 10;
        const bool beneath = box.top() >= valueBox.bottom() && box.bottom() <= defaultTop;
        QVERIFY2(beside || (window.devicePixelRatio() > 1 && beneath), qPrintable(path));
    }

    // The help reads as text, not as a greyed-out field; the editor never scrolls sideways.
    auto* help = qobject_cast<QLabel*>(window.Control(kHelpText));
    QCOMPARE(help->frameShape(), QFrame::NoFrame);
    QVERIFY(!help->text().isEmpty());
    auto* scroll =
        qobject_cast<QScrollArea*>(window.Control(kApplyButton)->parentWidget()->parentWidget()->parentWidget());
    QVERIFY(scroll != nullptr);
    QVERIFY2(!scroll->horizontalScrollBar()->isVisible(), qPrintable(path));
}

void EditorFormTest::typedValueIsCheckedAndApplyAsks_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("reason");  // empty: the text fits
    const char* const whole = "General\\Crates\\CrateMinimum";
    const char* const real = "General\\Crates\\CrateRadius";
    const char* const cases[][4] = {
        {"letters", whole, "abc", "not a whole number"},
        {"a fraction for a whole number", whole, "2.5", "not a whole number"},
        {"above the range", whole, "99999", "above the largest value 32767"},
        {"below the range", whole, "0", "below the smallest value 1"},
        {"empty", whole, "", "no number"},
        {"real, not a number", real, "1.5x", "not a number"},
        {"fits", whole, "12", ""},
        {"real, fits", real, "2.5", ""},
    };
    for (const auto& [name, path, typed, reason] : cases)
        QTest::newRow(name) << QString::fromLatin1(path) << QString::fromLatin1(typed) << QString::fromLatin1(reason);
}

void EditorFormTest::typedValueIsCheckedAndApplyAsks() {
    QFETCH(QString, path);
    QFETCH(QString, typed);
    QFETCH(QString, reason);
    ActiveBench bench;
    bench.Select(qPrintable(path));
    QLabel* problem = Named(bench.window, "valueProblem");
    QVERIFY(!problem->isVisible());
    bench.Type(bench.Edit(), typed);
    if (typed.isEmpty()) bench.Edit()->clear();
    QCoreApplication::processEvents();  // the check follows the edit
    const std::string before = bench.Bytes();
    const std::string key = path.section(QLatin1Char('\\'), -1).toStdString();

    if (reason.isEmpty()) {
        QVERIFY(!problem->isVisible());
        QTest::keyClick(bench.Edit(), Qt::Key_Return);
        QVERIFY(bench.prompts.questions.isEmpty());
        QVERIFY(Contains(bench.Bytes(), "\r\n" + key + "=" + typed.toStdString() + "\r\n"));
        return;
    }
    QVERIFY(problem->isVisible());
    QVERIFY2(problem->text().contains(reason), qPrintable(problem->text()));
    QVERIFY(bench.Edit()->accessibleDescription().contains(reason));

    // Cancel (the default answer) writes nothing and keeps the typed text.
    QTest::keyClick(bench.Edit(), Qt::Key_Return);
    QCOMPARE(bench.prompts.questions.size(), 1);
    QVERIFY2(bench.prompts.questions[0].contains(reason), qPrintable(bench.prompts.questions[0]));
    QCOMPARE(bench.Bytes(), before);
    QCOMPARE(bench.Edit()->text(), typed);
    QVERIFY(bench.window.StatusText().startsWith(QStringLiteral("Not applied")));

    // The modder may mean it: Yes writes the text as typed.
    bench.prompts.answers = {QMessageBox::Yes};
    QTest::mouseClick(qobject_cast<QPushButton*>(bench.window.Control(kApplyButton)), Qt::LeftButton);
    QCOMPARE(bench.prompts.questions.size(), 2);
    QVERIFY(Contains(bench.Bytes(), "\r\n" + key + "=" + typed.toStdString() + "\r\n"));
}

void EditorFormTest::keyRowsShowTheirKindOfValue() {
    ActiveBench bench;
    app::TreeFilterModel* model = bench.window.Finder()->FilterModel();
    const auto image = [&](const char* path) {
        return model->IndexOf(bench.Item(path)).data(Qt::DecorationRole).value<QIcon>().pixmap(16, 16).toImage();
    };
    const std::pair<const char*, art::KindIcon> keys[] = {
        {"General\\Crates\\CrateMinimum", art::KindIcon::Number},
        {"General\\Crates\\CrateRadius", art::KindIcon::Number},
        {"General\\Combat and Damage\\PlayerAutoCrush", art::KindIcon::YesNo},
        {"General\\Crates\\WaterCrateChance", art::KindIcon::Percentage},
        {"Units\\Land Vehicles\\SCUD launcher\\Primary", art::KindIcon::List},
        {"Units\\Land Vehicles\\SCUD launcher\\Prerequisite", art::KindIcon::List},
        {"Warheads Types\\HE\\Verses", art::KindIcon::Armour},
        {"Powerups\\Armor", art::KindIcon::Crate},
    };
    for (const auto& [path, kind] : keys) {
        const QImage expected = art::KindImage(kind).toImage();
        QVERIFY2(!expected.isNull(), art::KindIconName(kind));
        QVERIFY2(image(path) == expected.scaled(image(path).size()), path);
    }
    // Branches keep their own pictures (an object, a group), different from every kind.
    for (const char* branch : {"General\\Crates", "Units\\Land Vehicles\\SCUD launcher"})
        for (const art::KindIcon kind : art::kKindIcons) QVERIFY(image(branch) != art::KindImage(kind).toImage());
}

void EditorFormTest::findFieldKeepsItsWidthBeforeTheToggles() {
    ActiveBench bench;
    app::TreeFinder* finder = bench.window.Finder();
    QLineEdit* field = finder->FilterEdit();
    auto* splitter = qobject_cast<QSplitter*>(finder->parentWidget());
    QVERIFY(splitter != nullptr);
    const int room = field->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 24;
    // Narrow: the toggles move beneath the field, which keeps its room; wide: beside it.
    for (const int width : {room / 2 + 120, room + 600}) {
        splitter->setSizes({width, splitter->width() - width});
        bench.Settle();
        const int finderWidth = finder->width();
        QVERIFY2(field->width() >= std::min(room, finderWidth - 4), qPrintable(QString::number(finderWidth)));
        for (QToolButton* toggle : {finder->ChangedToggle(), finder->PresentToggle(), finder->ProblemToggle()}) {
            const QRect box(toggle->mapTo(finder, QPoint()), toggle->size());
            QVERIFY(toggle->isVisible());
            QVERIFY(box.right() <= finderWidth);
            QVERIFY(box.width() >= toggle->sizeHint().width());
        }
    }
}

void EditorFormTest::gameReadsFollowsAnOutsideChangeDuringAnEdit() {
    ActiveBench bench("[General]\r\nGemValue=50\r\n");
    bench.Settle();
    bench.Select("General\\Income And Production\\GemValue");
    QCOMPARE(bench.window.GameReadsText()->text(), QStringLiteral("The game reads: 50"));
    bench.Type(bench.Edit(), QStringLiteral("70"));  // an edit not applied yet

    // Another program writes the key; the edit stays, the line says what the file holds now.
    QTest::qWait(1100);  // a new modification time
    platform::ReplaceFileAtomically(bench.rules, "[General]\r\nGemValue=80\r\n");
    bench.window.CheckRulesFile();
    bench.Settle();
    QCOMPARE(bench.Edit()->text(), QStringLiteral("70"));
    QCOMPARE(bench.window.GameReadsText()->text(), QStringLiteral("The game reads: 80"));
}

void EditorFormTest::folderPickerOpensAtTheFieldsFolder() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("mods/red")));
    const QString folder = QDir(dir.path()).filePath(QStringLiteral("mods/red"));
    // Properties' Browse for the work folder: the picker starts at the folder typed in the field.
    ScriptedPrompts prompts;
    dialogs::CPropertiesDlg properties(prompts);
    properties.WorkDirEdit()->setText(folder);
    QString shown;
    prompts.dialogs.push_back([&](QDialog& dialog) {
        auto& picker = static_cast<dialogs::CSetDirectoryDlg&>(dialog);
        if (QTreeWidgetItem* current = picker.FolderTree()->currentItem())
            shown = QString::fromStdString(picker.GetFolderPath(current));
        return int(QDialog::Rejected);
    });
    properties.OnBrowseWorkDir();
    QCOMPARE(shown, folder);
    QCOMPARE(properties.WorkDirEdit()->text(), folder);

    // A folder that is gone: the picker opens as far as the path exists.
    dialogs::CSetDirectoryDlg partial;
    QVERIFY(partial.OpenAt(QDir(dir.path()).filePath(QStringLiteral("mods/blue/deep")).toStdString()));
    QCOMPARE(QString::fromStdString(partial.GetFolderPath(partial.FolderTree()->currentItem())),
             QDir(dir.path()).filePath(QStringLiteral("mods")));
}

}  // namespace morvane::test
