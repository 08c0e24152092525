// The main window end to end: start-up, the editor's widgets for every kind of value, the
// handlers behind the buttons and the menu, and closing with an edit that was not applied.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimerEvent>
#include <QToolButton>
#include <QTreeView>

#include "GuiFixture.h"
#include "GuiTestRegistry.h"
#include "MainWindowTest.h"
#include "app/MenuCommands.h"
#include "app/StartPage.h"
#include "dialogs/CPropertiesDlg.h"
#include "editor/ControlIds.h"

namespace morvane::test {
namespace {

using app::CMainDlg;
namespace command = app::command;

template <typename Widget>
Widget* ControlOf(CMainDlg& window, int id) {
    auto* widget = qobject_cast<Widget*>(window.Control(id));
    if (widget == nullptr) qFatal("control %d missing", id);
    return widget;
}

// A window on the example file in a temporary folder, as a user would open it.
struct OpenWindow : WindowBench {
    OpenWindow() {
        WriteExampleRules(rules);
        Open();
    }
    void Select(const char* path) {
        const TreeItem item = FindItemByPath(window.NavigationTree(), path);
        if (item == kNoItem) qFatal("no item %s", path);
        window.SelectItem(item);
    }
    std::string Label(const char* path) {
        return window.NavigationTree().GetItemText(FindItemByPath(window.NavigationTree(), path));
    }
    bool Shown(int id) { return window.Control(id)->isVisible(); }
    void Click(int id) { QTest::mouseClick(ControlOf<QPushButton>(window, id), Qt::LeftButton); }
    void Type(int id, const QString& text) {
        auto* edit = ControlOf<QLineEdit>(window, id);
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
};

}  // namespace

MORVANE_GUI_TEST_CLASS(MainWindowTest);

void MainWindowTest::startUpSearchOrder() {
    CurrentFolder keep;
    TemporarySettings settings;
    QTemporaryDir start, work, game;
    TemporarySettings::Set("Work", work.path());
    TemporarySettings::Set("RA_dir", game.path());
    WriteExampleRules(Path(work, "rules.ini"));
    WriteExampleRules(Path(game, "rules.ini"));
    QVERIFY(platform::ChangeDirectory(start.path().toStdString()));

    ScriptedPrompts prompts;
    {
        CMainDlg window(BuiltInCatalogue(), prompts);
        QVERIFY(window.OnInitDialog());
        QCOMPARE(window.Paths().rulesPath, Path(work, "rules.ini"));  // work directory before game directory
        QCOMPARE(window.windowTitle(), QString::fromStdString("Morvane - " + Path(work, "rules.ini")));
    }
    // The start directory comes first, and the name matches in any letter case.
    WriteExampleRules(Path(start, "RULES.INI"));
    {
        CMainDlg window(BuiltInCatalogue(), prompts);
        QVERIFY(window.OnInitDialog());
        QCOMPARE(window.Paths().rulesPath, Path(start, "RULES.INI"));
    }
    // A command-line file that is not there is reported, then forgotten.
    {
        CMainDlg window(BuiltInCatalogue(), prompts);
        SetPath(window, &app::WindowPaths::rulesPath, Path(start, "missing.ini"));
        QVERIFY(window.OnInitDialog());
        QCOMPARE(window.Paths().rulesPath, Path(start, "RULES.INI"));
        QCOMPARE(prompts.messages.size(), std::size_t{1});
        // The fixed line, then why: the file is not there.
        QCOMPARE(prompts.messages[0].text.section(QLatin1Char('\n'), 0, 0),
                 QString::fromStdString("Failed To Load - " + Path(start, "missing.ini")));
        QVERIFY(prompts.messages[0].text.contains(QStringLiteral("does not exist")));
    }
    QVERIFY(prompts.dialogs.empty());
}

void MainWindowTest::startUpWithoutARulesFileShowsTheStartPage() {
    CurrentFolder keep;
    TemporarySettings settings;
    QTemporaryDir start, work, game, otherGame;
    TemporarySettings::Set("Work", work.path());
    TemporarySettings::Set("RA_dir", game.path());
    WriteExampleRules(Path(otherGame, "rules.ini"));
    QVERIFY(platform::ChangeDirectory(start.path().toStdString()));

    // No rules file anywhere: the start page, saying where Morvane looked, and no questions.
    ScriptedPrompts prompts;
    CMainDlg window(BuiltInCatalogue(), prompts);
    QVERIFY(window.OnInitDialog());
    QVERIFY(window.ShowsStartPage());
    QVERIFY(prompts.messages.empty());
    const QString looked = window.Start()->Looked()->text();
    for (const QTemporaryDir* dir : {&start, &work, &game})
        QVERIFY2(looked.contains(QString::fromStdString(Path(*dir, "rules.ini"))), qPrintable(looked));
    // What needs an open file is greyed out until one is open.
    const int needFile[] = {command::kFileSaveAs, command::kCompareWith, command::kExportChanges,
                            command::kLaunchWithFile, command::kMatchAll};
    for (const int id : needFile) QVERIFY2(!window.Command(id)->isEnabled(), qPrintable(window.Command(id)->text()));

    // Set the Game Folder: the user points the game program at a folder that holds a rules file.
    prompts.files.push_back(QString::fromStdString(Path(otherGame, "RA95.EXE")));
    prompts.dialogs.push_back([](QDialog& dialog) {
        auto& properties = static_cast<dialogs::CPropertiesDlg&>(dialog);
        properties.OnBrowseGame();
        properties.OnOK();
        return dialog.result();
    });
    emit window.Start()->GameFolderRequested();
    QVERIFY(!window.ShowsStartPage());
    QCOMPARE(window.Paths().rulesPath, Path(otherGame, "rules.ini"));
    for (const int id : needFile) {
        if (id != command::kMatchAll) QVERIFY2(window.Command(id)->isEnabled(), qPrintable(window.Command(id)->text()));
    }
    QCOMPARE(TemporarySettings::Get("RA_dir"), otherGame.path());
    QVERIFY(prompts.messages.empty());
}

void MainWindowTest::everyKindShowsItsWidgets() {
    OpenWindow open;
    CMainDlg& window = open.window;
    using namespace control;

    open.Select("General\\Crates\\CrateMinimum");
    QVERIFY(open.Shown(kValueEdit) && open.Shown(kValueSpin) && !open.Shown(kCheckBox));
    QCOMPARE(ControlOf<QLineEdit>(window, kValueEdit)->text(), QStringLiteral("2"));
    QCOMPARE(ControlOf<QLabel>(window, kDefaultText)->text(), QStringLiteral("2"));
    QCOMPARE(ControlOf<QLabel>(window, kPathText)->text(), QStringLiteral("General\\Crates\\CrateMinimum"));
    QVERIFY(ControlOf<QPushButton>(window, kApplyButton)->isEnabled());

    open.Select("General\\Crates\\CrateRadius");
    QVERIFY(open.Shown(kValueEdit) && !open.Shown(kValueSpin));
    QCOMPARE(ControlOf<QLineEdit>(window, kValueEdit)->text(), QStringLiteral("3"));

    open.Select("General\\Special Weapons\\ChronoKillCargo");
    QVERIFY(open.Shown(kCheckBox) && !open.Shown(kValueEdit));
    QVERIFY(ControlOf<QCheckBox>(window, kCheckBox)->isChecked());
    QCOMPARE(ControlOf<QCheckBox>(window, kCheckBox)->text(), QStringLiteral("ChronoKillCargo"));

    open.Select("General\\Crates\\WaterCrateChance");
    QVERIFY(open.Shown(kPercentSlider) && open.Shown(kPercentText) && open.Shown(kPercentScale50));
    QCOMPARE(ControlOf<QSlider>(window, kPercentSlider)->value(), 20);
    QCOMPARE(ControlOf<QLabel>(window, kPercentText)->text(), QStringLiteral("20%"));

    open.Select("Powerups\\Armor");
    QVERIFY(open.Shown(kChanceEdit) && open.Shown(kAnimationCombo) && open.Shown(kOptionEdit));
    QCOMPARE(ControlOf<QLineEdit>(window, kChanceEdit)->text(), QStringLiteral("10"));
    QCOMPARE(ControlOf<QComboBox>(window, kAnimationCombo)->currentText(), QStringLiteral("ARMOR"));
    QCOMPARE(ControlOf<QLineEdit>(window, kOptionEdit)->text(), QStringLiteral("2.0"));
    QCOMPARE(ControlOf<QLabel>(window, kOptionCaption)->text(), QStringLiteral("Multiplier"));
    open.Select("Powerups\\Darkness");
    QVERIFY(open.Shown(kChanceEdit) && !open.Shown(kOptionEdit));

    open.Select("Warheads Types\\HE\\Verses");
    for (const auto& column : kVersesColumns) QVERIFY(open.Shown(column.slider) && open.Shown(column.edit));
    QCOMPARE(ControlOf<QLineEdit>(window, 1021)->text(), QStringLiteral("90%"));
    QCOMPARE(ControlOf<QSlider>(window, 1034)->value(), 100);

    open.Select("Units\\Land Vehicles\\SCUD launcher\\Primary");
    QVERIFY(open.Shown(kListCombo) && !open.Shown(kMultiList));
    QCOMPARE(ControlOf<QComboBox>(window, kListCombo)->currentText(), QStringLiteral("SCUD - SCUD launcher"));

    open.Select("Units\\Land Vehicles\\SCUD launcher\\Prerequisite");
    auto* list = ControlOf<QListWidget>(window, kMultiList);
    QVERIFY(open.Shown(kMultiList));
    QCOMPARE(list->selectedItems().size(), 2);
    QCOMPARE(ControlOf<QLabel>(window, kDefaultText)->text(), QStringLiteral("weap,dome"));

    open.Select("Units\\Land Vehicles\\SCUD launcher");
    QVERIFY(window.Picture()->isVisible());
    QVERIFY(!ControlOf<QPushButton>(window, kApplyButton)->isEnabled());
    QVERIFY(!window.Command(command::kMatchAll)->isEnabled());
    for (const int id : {kValueEdit, kCheckBox, kListCombo, kMultiList, kPercentSlider, kChanceEdit, 1019})
        QVERIFY(!open.Shown(id));
}

void MainWindowTest::typingSpinningSlidingAndApplyWrite() {
    OpenWindow open;
    CMainDlg& window = open.window;
    using namespace control;

    open.Select("General\\Crates\\CrateMinimum");
    open.Type(kValueEdit, QStringLiteral("7"));
    open.Click(kApplyButton);
    QVERIFY(Contains(FileText(open.rules), "\r\nCrateMinimum=7\r\n"));
    QCOMPARE(open.Label("General\\Crates\\CrateMinimum"), std::string("CrateMinimum = 7"));

    auto* up = window.Control(kValueSpin)->findChild<QToolButton*>(QStringLiteral("up"));
    QTest::mouseClick(up, Qt::LeftButton);
    QCOMPARE(ControlOf<QLineEdit>(window, kValueEdit)->text(), QStringLiteral("8"));
    open.Click(kApplyButton);
    QVERIFY(Contains(FileText(open.rules), "\r\nCrateMinimum=8\r\n"));

    open.Select("General\\Crates\\WaterCrateChance");
    ControlOf<QSlider>(window, kPercentSlider)->setValue(35);
    QCOMPARE(ControlOf<QLabel>(window, kPercentText)->text(), QStringLiteral("35%"));
    open.Click(kApplyButton);
    QVERIFY(Contains(FileText(open.rules), "\r\nWaterCrateChance=35%\r\n"));

    open.Select("General\\Special Weapons\\ChronoKillCargo");
    QTest::mouseClick(ControlOf<QCheckBox>(window, kCheckBox), Qt::LeftButton, {}, QPoint(4, 4));
    open.Click(kApplyButton);
    QVERIFY(Contains(FileText(open.rules), "\r\nChronoKillCargo=no\r\n"));

    open.Select("Units\\Land Vehicles\\SCUD launcher\\Primary");
    auto* combo = ControlOf<QComboBox>(window, kListCombo);
    combo->setCurrentIndex(combo->findText(QStringLiteral("ZSU-23"), Qt::MatchStartsWith));
    open.Click(kApplyButton);
    QVERIFY(Contains(FileText(open.rules), "\r\n[V2RL]\r\nPrerequisite=weap,dome\r\nPrimary=ZSU-23\r\n"));

    open.Select("Units\\Land Vehicles\\SCUD launcher\\Prerequisite");
    ControlOf<QListWidget>(window, kMultiList)->item(1)->setSelected(true);  // fact
    open.Click(kApplyButton);
    QVERIFY(Contains(FileText(open.rules), "\r\n[V2RL]\r\nPrerequisite=fact,weap,dome\r\n"));

    open.Select("Warheads Types\\HE\\Verses");
    ControlOf<QSlider>(window, 1025)->setValue(40);
    QCOMPARE(ControlOf<QLineEdit>(window, 1027)->text(), QStringLiteral("40%"));
    open.Click(kApplyButton);
    QVERIFY(Contains(FileText(open.rules), "\r\nVerses=90%,40%,60%,25%,100%\r\n"));

    // Text typed into the option survives a click on the chance spin.
    open.Select("Powerups\\Money");
    open.Type(kOptionEdit, QStringLiteral("5000"));
    QTest::mouseClick(window.Control(kChanceSpin)->findChild<QToolButton*>(QStringLiteral("down")), Qt::LeftButton);
    QCOMPARE(ControlOf<QLineEdit>(window, kOptionEdit)->text(), QStringLiteral("5000"));
    open.Click(kApplyButton);
    QVERIFY(Contains(FileText(open.rules), "\r\nMoney=49,DOLLAR,5000\r\n"));
}

void MainWindowTest::defaultAndMatchAll() {
    OpenWindow open;
    CMainDlg& window = open.window;
    using namespace control;

    const auto confirm = [&open] { open.prompts.dialogs.push_back([](QDialog&) { return int{QDialog::Accepted}; }); };
    open.Select("Units\\Infantry\\Rifle soldier\\Cost");
    open.Type(kValueEdit, QStringLiteral("123"));
    open.Click(kApplyButton);
    confirm();
    window.Command(command::kMatchAll)->trigger();
    const std::string text = FileText(open.rules);
    for (const char* section : {"[DOG]", "[E2]", "[GNRL]", "[MEDI]"}) {
        const std::size_t at = text.find(section);
        QVERIFY(at != std::string::npos);
        QVERIFY(text.find("\r\nCost=123\r\n", at) < text.find("\r\n[", at + 1));
    }
    QCOMPARE(open.Label("Units\\Infantry\\Attack dog\\Cost"), std::string("Cost = 123"));

    open.Select("Country Statistics\\USSR\\Firepower");
    open.Type(kValueEdit, QStringLiteral("1.5"));
    open.Click(kApplyButton);
    confirm();
    window.Command(command::kMatchAll)->trigger();
    QCOMPARE(open.Label("Country Statistics\\England\\Firepower"), std::string("Firepower = 1.5"));
    QVERIFY(Contains(FileText(open.rules), "[Spain]\r\nFirepower=1.5\r\n"));

    open.Click(kDefaultButton);
    QCOMPARE(open.Label("Country Statistics\\USSR\\Firepower"), std::string("Firepower = 1.0"));
    QVERIFY(Contains(FileText(open.rules), "[USSR]\r\nFirepower=1.0\r\n"));

    open.Select("Units\\Land Vehicles\\SCUD launcher\\Secondary");
    open.Click(kDefaultButton);
    QCOMPARE(open.Label("Units\\Land Vehicles\\SCUD launcher\\Secondary"), std::string("Secondary = None"));
}

void MainWindowTest::unappliedEditIsOfferedOnClose() {
    OpenWindow open;
    CMainDlg& window = open.window;
    open.Select("General\\Crates\\CrateRegen");
    open.Type(control::kValueEdit, QStringLiteral("9"));

    open.prompts.answers = {QMessageBox::Cancel};
    window.reject();
    QVERIFY(window.isVisible());
    QCOMPARE(open.prompts.questions.size(), 1);
    QVERIFY(open.prompts.questions[0].contains(QStringLiteral("CrateRegen")));

    open.prompts.answers = {QMessageBox::Apply};
    window.Command(command::kExit)->trigger();
    QVERIFY(!window.isVisible());
    QVERIFY(Contains(FileText(open.rules), "\r\nCrateRegen=9\r\n"));
}

void MainWindowTest::untouchedKeyClosesWithoutQuestion() {
    OpenWindow open;
    open.Select("General\\Crates\\CrateRegen");
    const std::string before = FileText(open.rules);
    open.window.close();
    QVERIFY(open.prompts.questions.isEmpty());
    QVERIFY(!open.window.isVisible());
    QCOMPARE(FileText(open.rules), before);
}

void MainWindowTest::fileCommands() {
    OpenWindow open;
    CMainDlg& window = open.window;
    const std::string fresh = Path(open.dir, "fresh.ini");
    open.prompts.files.push_back(QString::fromStdString(fresh));
    window.Command(command::kFileNew)->trigger();
    QCOMPARE(window.Paths().rulesPath, fresh);
    QCOMPARE(FileText(fresh), FileText(open.rules));
    QCOMPARE(window.windowTitle(), QString::fromStdString("Morvane - " + fresh));

    const std::string copy = Path(open.dir, "copy.ini");
    open.prompts.files.push_back(QString::fromStdString(copy));
    window.Command(command::kFileSaveAs)->trigger();
    QCOMPARE(window.Paths().rulesPath, copy);
    open.Select("General\\Crates\\CrateRegen");
    open.Type(control::kValueEdit, QStringLiteral("4"));
    open.Click(control::kApplyButton);
    QVERIFY(Contains(FileText(copy), "\r\nCrateRegen=4\r\n"));
    QVERIFY(!Contains(FileText(fresh), "\r\nCrateRegen=4\r\n"));

    platform::ReplaceFileAtomically(Path(open.dir, "other.ini"), "[General]\r\nCrateRegen=11\r\n");
    open.prompts.files.push_back(QString::fromStdString(Path(open.dir, "other.ini")));
    window.Command(command::kFileOpen)->trigger();
    QCOMPARE(open.Label("General\\Crates\\CrateRegen"), std::string("CrateRegen = 11"));
    QCOMPARE(open.Label("General\\Crates\\CrateMinimum"), std::string("CrateMinimum"));
}

void MainWindowTest::launchReportsFailures() {
    OpenWindow open;
    CMainDlg& window = open.window;
    QTemporaryDir game;
    platform::ReplaceFileAtomically(Path(game, "notes.txt"), "not a program\n");
    const struct {
        std::string program;
        std::string message;
        bool properties;
    } cases[] = {
        {Path(game, "RA95.exe"), "File Not Found -", true},
        {Path(game, "gone/RA95.exe"), "Path Not Found -", true},
        {Path(game, "notes.txt"), "File Not An EXE -", false},
    };
    for (const auto& c : cases) {
        open.prompts.messages.clear();
        bool propertiesShown = false;
        open.prompts.dialogs.push_back([&propertiesShown](QDialog&) {
            propertiesShown = true;
            return int{QDialog::Rejected};
        });
        SetPath(window, &app::WindowPaths::gameExe, c.program);
        window.Command(command::kLaunchGame)->trigger();
        QCOMPARE(open.prompts.messages.size(), std::size_t{1});
        QCOMPARE(open.prompts.messages[0].text, QString::fromStdString(c.message + c.program));
        QCOMPARE(propertiesShown, c.properties);
        open.prompts.dialogs.clear();
    }
}

void MainWindowTest::launchWithFileInstallsTheRules() {
    OpenWindow open;
    CMainDlg& window = open.window;
    QTemporaryDir game;
    SetPath(window, &app::WindowPaths::gameDir, game.path().toStdString());
    SetPath(window, &app::WindowPaths::gameExe, Path(game, "missing.exe"));
    platform::ReplaceFileAtomically(Path(game, "rules.ini"), "[General]\r\nold=1\r\n");

    open.prompts.answers = {QMessageBox::Cancel};
    window.Command(command::kLaunchWithFile)->trigger();
    QCOMPARE(FileText(Path(game, "rules.ini")), std::string("[General]\r\nold=1\r\n"));
    QVERIFY(open.prompts.messages.empty());

    open.prompts.answers = {QMessageBox::Yes};
    window.Command(command::kLaunchWithFile)->trigger();
    QCOMPARE(FileText(Path(game, "rules.ini")), FileText(open.rules));
    QCOMPARE(FileText(Path(game, "rules.ini.bak")), std::string("[General]\r\nold=1\r\n"));
    QCOMPARE(open.prompts.messages.back().text, QString::fromStdString("File Not Found -" + Path(game, "missing.exe")));
}

void MainWindowTest::helpMenu() {
    OpenWindow open;
    CMainDlg& window = open.window;
    QString title;
    open.prompts.dialogs.push_back([&title](QDialog& dialog) {
        title = dialog.windowTitle();
        return int{QDialog::Accepted};
    });
    window.Command(command::kAbout)->trigger();
    QCOMPARE(title, QStringLiteral("About Morvane"));

    QVERIFY(!window.Splash().isVisible());
    window.Command(command::kSplash)->trigger();
    QVERIFY(window.Splash().isVisible());
    QTimerEvent tick(window.Splash().TimerId());
    QCoreApplication::sendEvent(&window.Splash(), &tick);
    QVERIFY(!window.Splash().isVisible());
}

}  // namespace morvane::test
