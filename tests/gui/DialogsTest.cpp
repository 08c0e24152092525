// Properties, the folder picker, About and the splash window.
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

#include "GuiFixture.h"
#include "GuiTestRegistry.h"
#include "MainWindowTest.h"
#include "dialogs/CAboutDlg.h"
#include "dialogs/CPropertiesDlg.h"
#include "dialogs/CSetDirectoryDlg.h"
#include "dialogs/CSplashWnd.h"
#include "gamesetup/StartupSearch.h"
#include "guicommon/Artwork.h"
#include "platform/FolderListing.h"

using morvane::dialogs::CPropertiesDlg;

namespace morvane::test {

using app::CMainDlg;
using dialogs::CPropertiesDlg;

MORVANE_GUI_TEST_CLASS(DialogsTest);

void DialogsTest::propertiesOkAndCancel() {
    CurrentFolder keep;
    TemporarySettings settings;
    QTemporaryDir work, game;
    ScriptedPrompts prompts;
    CMainDlg window(BuiltInCatalogue(), prompts);
    SetPath(window, &app::WindowPaths::startDir, "/start");
    SetPath(window, &app::WindowPaths::workDir, "/old/work");
    SetPath(window, &app::WindowPaths::gameDir, "/old/game");
    SetPath(window, &app::WindowPaths::gameExe, "/old/game/RA95.EXE");

    QString shownProgramDir;
    prompts.dialogs.push_back([&](QDialog& dialog) {
        auto& properties = static_cast<CPropertiesDlg&>(dialog);
        shownProgramDir = properties.ProgramDirEdit()->text();
        properties.WorkDirEdit()->setText(work.path());
        return int{QDialog::Rejected};
    });
    QVERIFY(!window.OnProgramLocation());
    QCOMPARE(shownProgramDir, QStringLiteral("/start"));
    QCOMPARE(window.Paths().workDir, std::string("/old/work"));
    QVERIFY(TemporarySettings::Get("Work").isEmpty());

    prompts.files.push_back(QString::fromStdString(Path(game, "RA95.EXE")));
    prompts.dialogs.push_back([&](QDialog& dialog) {
        auto& properties = static_cast<CPropertiesDlg&>(dialog);
        properties.WorkDirEdit()->setText(work.path());
        properties.OnBrowseGame();
        properties.OnOK();
        return dialog.result();
    });
    QVERIFY(window.OnProgramLocation());
    QCOMPARE(window.Paths().workDir, work.path().toStdString());
    QCOMPARE(window.Paths().gameDir, game.path().toStdString());
    QCOMPARE(window.Paths().gameExe, Path(game, "RA95.EXE"));
    QCOMPARE(gamesetup::RulesPathIn(window.Paths().gameDir), Path(game, "rules.ini"));
    QCOMPARE(TemporarySettings::Get("Work"), work.path());
    QCOMPARE(TemporarySettings::Get("RA_dir"), game.path());
    QCOMPARE(TemporarySettings::Get("Game"), QString::fromStdString(Path(game, "RA95.EXE")));
    QCOMPARE(QString::fromStdString(platform::CurrentDirectory().value_or("")), work.path());
}

void DialogsTest::propertiesWorkDirectoryRules() {
    CurrentFolder keep;
    QTemporaryDir base;
    const struct {
        std::string workDir;
        bool accepted;
    } cases[] = {
        {base.path().toStdString(), true},      // exists: becomes current
        {Path(base, "new"), true},              // one level missing: created
        {Path(base, "no/such/parent"), false},  // parent missing
        {"", false},                            // empty
    };
    for (const auto& c : cases) {
        ScriptedPrompts prompts;
        CPropertiesDlg dialog(prompts);
        dialog.m_strWorkDir = c.workDir;
        dialog.DoDataExchange(false);
        dialog.OnOK();
        QCOMPARE(dialog.result() == QDialog::Accepted, c.accepted);
        if (c.accepted) {
            QVERIFY(prompts.messages.empty());
            QVERIFY(platform::FindFileNoCase(c.workDir).has_value());
        } else {
            QCOMPARE(prompts.messages.size(), std::size_t{1});
            // The fixed line, why, and what to do next.
            const QString text = prompts.messages[0].text;
            QVERIFY(text.startsWith(QStringLiteral("Working Directory Is Invalid\n\n")));
            QVERIFY(text.contains(c.workDir.empty() ? QStringLiteral("No work folder is given.")
                                                    : QString::fromStdString(c.workDir)));
            QVERIFY(text.contains(QStringLiteral("Choose an existing folder with Browse")));
            QCOMPARE(prompts.messages[0].caption, QStringLiteral("Unable To Create Work Directory"));
        }
    }
}

void DialogsTest::propertiesBrowseKeepsTypedText() {
    QTemporaryDir picked;
    ScriptedPrompts prompts;
    CPropertiesDlg dialog(prompts);
    dialog.m_strGameExe = "/stored/RA95.EXE";
    dialog.m_strWorkDir = "/stored/work";
    dialog.DoDataExchange(false);

    dialog.GameExeEdit()->setText(QStringLiteral("/typed/game.exe"));
    prompts.dialogs.push_back([&](QDialog& picker) {
        auto& folders = static_cast<dialogs::CSetDirectoryDlg&>(picker);
        folders.PathLabel()->setText(picked.path());
        folders.accept();
        return picker.result();
    });
    dialog.OnBrowseWorkDir();
    QCOMPARE(dialog.WorkDirEdit()->text(), picked.path());
    QCOMPARE(dialog.GameExeEdit()->text(), QStringLiteral("/typed/game.exe"));

    dialog.WorkDirEdit()->setText(QStringLiteral("/typed/work"));
    prompts.files.push_back(QStringLiteral("/games/ra/RA95.EXE"));
    dialog.OnBrowseGame();
    QCOMPARE(dialog.GameExeEdit()->text(), QStringLiteral("/games/ra/RA95.EXE"));
    QCOMPARE(dialog.m_strGameDir, std::string("/games/ra"));
    QCOMPARE(dialog.WorkDirEdit()->text(), QStringLiteral("/typed/work"));
    QCOMPARE(prompts.startPaths.back(), QStringLiteral("RA95.EXE"));
}

namespace {

QTreeWidgetItem* ChildNamed(QTreeWidgetItem* parent, const QString& name) {
    for (int i = 0; i < parent->childCount(); ++i)
        if (parent->child(i)->text(0) == name) return parent->child(i);
    return nullptr;
}

QStringList ChildNames(QTreeWidgetItem* parent) {
    QStringList names;
    for (int i = 0; i < parent->childCount(); ++i) names << parent->child(i)->text(0);
    return names;
}

}  // namespace

void DialogsTest::folderPickerReadsFoldersLazily() {
    QTemporaryDir base;
    QDir root(base.path());
    for (const char* folder : {"beta", "Alpha/inner", "gamma", "empty"}) QVERIFY(root.mkpath(QLatin1String(folder)));
    platform::ReplaceFileAtomically(Path(base, "gamma/file.txt"), "x");
    platform::ReplaceFileAtomically(Path(base, "plain.txt"), "x");

    dialogs::CSetDirectoryDlg::ResetFirstOpening();
    dialogs::CSetDirectoryDlg picker;
    QTreeWidget* tree = picker.FolderTree();
    QTreeWidgetItem* top = tree->topLevelItem(0);
    QCOMPARE(top->text(0), QStringLiteral("/"));
    // The first opening selects and opens the first fixed drive.
    QCOMPARE(tree->currentItem(), top);
    QVERIFY(top->isExpanded());
    QCOMPARE(picker.PathLabel()->text(), QStringLiteral("/"));

    // Walk down to the temporary folder, opening each level as a user would.
    QTreeWidgetItem* item = top;
    for (const QString& part : base.path().split('/', Qt::SkipEmptyParts)) {
        if (!item->isExpanded()) item->setExpanded(true);
        item = ChildNamed(item, part);
        QVERIFY2(item != nullptr, qPrintable(part));
    }
    QCOMPARE(QString::fromStdString(picker.GetFolderPath(item)), base.path());
    QCOMPARE(item->childCount(), 1);  // the placeholder
    item->setExpanded(true);
    QCOMPARE(ChildNames(item), (QStringList{"Alpha", "beta", "empty", "gamma"}));
    QCOMPARE(ChildNamed(item, "Alpha")->childCount(), 1);
    QCOMPARE(ChildNamed(item, "gamma")->childCount(), 0);  // files only: no expand button
    QCOMPARE(ChildNamed(item, "empty")->childCount(), 0);

    tree->setCurrentItem(ChildNamed(item, "Alpha"));
    QCOMPARE(picker.PathLabel()->text(), base.path() + "/Alpha");

    // Closing forgets the folders; opening again reads the disk afresh.
    item->setExpanded(false);
    QCOMPARE(item->childCount(), 1);
    QVERIFY(root.mkpath(QStringLiteral("delta")));
    item->setExpanded(true);
    QCOMPARE(ChildNames(item), (QStringList{"Alpha", "beta", "delta", "empty", "gamma"}));

    picker.accept();
    QCOMPARE(picker.m_strDirectory, (base.path() + "/Alpha").toStdString());

    // A later opening in the same run selects nothing.
    dialogs::CSetDirectoryDlg later;
    QVERIFY(later.FolderTree()->currentItem() == nullptr);
    QVERIFY(later.PathLabel()->text().isEmpty());
}

void DialogsTest::aboutAndSplash() {
    dialogs::CAboutDlg about;
    QCOMPARE(about.windowTitle(), QStringLiteral("About Morvane"));
    auto* title = about.findChild<QLabel*>(QStringLiteral("control1013"));
    QVERIFY(title != nullptr);
    QCOMPARE(title->text(), QStringLiteral("Morvane V1.0"));
    QVERIFY(title->font().bold());
    QCOMPARE(title->font().pixelSize(), 32);

    dialogs::CSplashWnd splash;
    QCOMPARE(splash.windowTitle(), QStringLiteral("Morvane "));
    QVERIFY(splash.TimerId() != 0);
    // The picture is decoded when the window first shows, and the window's size does not wait
    // for it.
    const auto* picture = splash.findChild<QLabel*>();
    QVERIFY(picture != nullptr);
    QVERIFY(picture->pixmap().isNull());
    const QSize sizeBefore = splash.size();
    splash.ShowSplash();
    QVERIFY(splash.isVisible());
    QCOMPARE(picture->pixmap().deviceIndependentSize().toSize(), art::kSplashSize);
    QCOMPARE(splash.size(), sizeBefore);
    QTimerEvent tick(splash.TimerId());
    QCoreApplication::sendEvent(&splash, &tick);
    QVERIFY(!splash.isVisible());
    splash.ShowSplash();  // shown again, hidden again at the next tick
    QVERIFY(splash.isVisible());
    QCoreApplication::sendEvent(&splash, &tick);
    QVERIFY(!splash.isVisible());
}

}  // namespace morvane::test
