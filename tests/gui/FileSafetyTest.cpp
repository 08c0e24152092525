#include "FileSafetyTest.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <functional>

#include "GuiFixture.h"
#include "GuiTestRegistry.h"
#include "app/MenuCommands.h"
#include "app/RulesTreeModel.h"
#include "app/SettingsStore.h"
#include "app/TreeFinder.h"
#include "dialogs/CPropertiesDlg.h"
#include "editor/ControlIds.h"
#include "guicommon/FileNames.h"
#include "platform/ProfileApi.h"

using morvane::guicommon::PathFromQt;
using morvane::guicommon::PathToQt;

namespace morvane::test {
namespace {

using app::CMainDlg;
using guicommon::PathFromQt;
using guicommon::PathToQt;

using app::command::kFileNew;
using app::command::kFileSaveAs;
using app::command::kLaunchWithFile;
using app::command::kMatchAll;

// A window on the example file at `name` inside a temporary folder.
struct Window {
    explicit Window(const QString& name = QStringLiteral("rules.ini")) {
        const QString file = dir.path() + "/" + name;
        QDir().mkpath(QFileInfo(file).absolutePath());
        rules = PathFromQt(file);
        WriteExampleRules(rules);
        SetPath(window, &app::WindowPaths::rulesPath, rules);
        if (!window.OnInitDialog()) qFatal("the example file did not open");
        window.show();
    }
    TreeItem Item(const char* path) { return FindItemByPath(window.NavigationTree(), path); }
    void Select(const char* path) { window.SelectItem(Item(path)); }
    std::string Label(const char* path) { return window.NavigationTree().GetItemText(Item(path)); }
    QLineEdit* ValueEdit() { return qobject_cast<QLineEdit*>(window.Control(control::kValueEdit)); }
    void Type(const QString& text) {
        ValueEdit()->selectAll();
        QTest::keyClicks(ValueEdit(), text);
    }
    void Apply() { QTest::mouseClick(window.Control(control::kApplyButton), Qt::LeftButton); }
    // Another program sets a key (an atomic replace: the file gets a new inode).
    void OutsideSet(const char* section, const char* key, const std::string& value) {
        QCOMPARE(platform::WritePrivateProfileString(section, key, value, rules), 0);
    }
    TreeItem Current() { return window.Finder()->ItemOf(window.TreeView()->currentIndex()); }

    TemporarySettings settings;
    QTemporaryDir dir;
    std::string rules;
    ScriptedPrompts prompts;
    CMainDlg window{BuiltInCatalogue(), prompts};
};

std::string SectionOf(const std::string& text, const std::string& header) {
    const std::size_t at = text.find(header);
    if (at == std::string::npos) return {};
    return text.substr(at, text.find("\r\n[", at + 1) - at);
}

}  // namespace

MORVANE_GUI_TEST_CLASS(FileSafetyTest);

void FileSafetyTest::outsideChangeIsReadAgain() {
    Window open;
    open.Select("General\\Crates\\CrateRegen");
    open.OutsideSet("General", "CrateRegen", "77");
    // The watcher notices by itself; the selection, its open branch and the editor follow.
    QTRY_COMPARE(open.Label("General\\Crates\\CrateRegen"), std::string("CrateRegen = 77"));
    QCOMPARE(open.ValueEdit()->text(), QStringLiteral("77"));
    QCOMPARE(open.Current(), open.Item("General\\Crates\\CrateRegen"));
    app::TreeFilterModel* model = open.window.Finder()->FilterModel();
    QVERIFY(open.window.TreeView()->isExpanded(model->IndexOf(open.Item("General\\Crates"))));
    QVERIFY(open.window.StatusText().contains(QStringLiteral("Another program changed the rules file")));

    // An edit not yet applied survives the reload, and its Apply keeps the outside change.
    open.Type(QStringLiteral("5"));
    open.OutsideSet("General", "CrateMinimum", "9");
    open.OutsideSet("General", "CrateRegen", "78");
    QTRY_COMPARE(open.Label("General\\Crates\\CrateMinimum"), std::string("CrateMinimum = 9"));
    QCOMPARE(open.ValueEdit()->text(), QStringLiteral("5"));
    QVERIFY(open.window.StatusText().contains(QStringLiteral("your change of CrateRegen is kept")));
    open.Apply();
    const std::string text = FileText(open.rules);
    QVERIFY(Contains(text, "\r\nCrateRegen=5\r\n"));
    QVERIFY(Contains(text, "\r\nCrateMinimum=9\r\n"));
    QVERIFY(open.prompts.questions.isEmpty());
}

void FileSafetyTest::staleLabelIsNeverWritten() {
    Window open;
    open.Select("Units\\Infantry\\Rifle soldier\\Cost");
    // Changed and at once Match All, before the watcher had a chance: the write itself checks.
    open.OutsideSet("E1", "Cost", "555");
    open.prompts.answers = {QMessageBox::Cancel};
    open.window.Command(kMatchAll)->trigger();
    QCOMPARE(open.prompts.questions.size(), 1);
    QVERIFY(open.prompts.questions[0].contains(QStringLiteral("Cost = 555")));
    QVERIFY(!Contains(SectionOf(FileText(open.rules), "[DOG]"), "Cost=555"));
    QCOMPARE(open.Label("Units\\Infantry\\Rifle soldier\\Cost"), std::string("Cost = 555"));

    // The labels are the file's now: no question, only the list of changes to confirm.
    open.prompts.dialogs.push_back([](QDialog&) { return int{QDialog::Accepted}; });
    open.window.Command(kMatchAll)->trigger();
    QCOMPARE(open.prompts.questions.size(), 1);
    QVERIFY(Contains(SectionOf(FileText(open.rules), "[DOG]"), "\r\nCost=555\r\n"));

    // Apply writes what the user typed, on top of the file as it is now.
    open.Type(QStringLiteral("300"));
    open.OutsideSet("E2", "Cost", "444");
    open.Apply();
    const std::string text = FileText(open.rules);
    QVERIFY(Contains(SectionOf(text, "[E1]"), "\r\nCost=300\r\n"));
    QVERIFY(Contains(SectionOf(text, "[E2]"), "\r\nCost=444\r\n"));
    QCOMPARE(open.Label("Units\\Infantry\\Grenadier\\Cost"), std::string("Cost = 444"));
}

void FileSafetyTest::changeDuringAFailedWriteIsReadAfterIt() {
    // While the failure message waits for its OK, another program changes the file.
    struct SlowReader : ScriptedPrompts {
        std::function<void()> whileShown;
        void ShowMessage(QWidget* parent, const QString& text, const QString& caption,
                         QMessageBox::Icon icon) override {
            ScriptedPrompts::ShowMessage(parent, text, caption, icon);
            if (whileShown) whileShown();
        }
    };
    TemporarySettings settings;
    QTemporaryDir dir;
    const std::string rules = Path(dir, "rules.ini");
    WriteExampleRules(rules);
    SlowReader prompts;
    CMainDlg window(BuiltInCatalogue(), prompts);
    SetPath(window, &app::WindowPaths::rulesPath, rules);
    QVERIFY(window.OnInitDialog());
    window.show();
    window.SelectItem(FindItemByPath(window.NavigationTree(), "General\\Crates\\CrateRegen"));
    prompts.whileShown = [&] {
        QCOMPARE(platform::WritePrivateProfileString("General", "CrateMinimum", "13", rules), 0);
        QTest::qWait(400);  // the watcher speaks now, while the write is not over
    };
    auto* edit = qobject_cast<QLineEdit*>(window.Control(control::kValueEdit));
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("1;2"));  // a value the file cannot hold: the write fails
    prompts.answers = {QMessageBox::Yes};           // (past the question about a value that is no number)
    QTest::mouseClick(window.Control(control::kApplyButton), Qt::LeftButton);
    QCOMPARE(prompts.messages.size(), std::size_t{1});
    QCOMPARE(
        window.NavigationTree().GetItemText(FindItemByPath(window.NavigationTree(), "General\\Crates\\CrateMinimum")),
        std::string("CrateMinimum = 13"));
}

void FileSafetyTest::goneFileIsNotRecreatedSilently() {
    Window open;
    const std::string original = FileText(open.rules);
    open.Select("General\\Crates\\CrateRegen");
    QVERIFY(QFile::remove(PathToQt(open.rules)));
    QTRY_VERIFY(open.window.StatusText().contains(QStringLiteral("deleted or moved away")));

    open.Type(QStringLiteral("6"));
    open.prompts.answers = {QMessageBox::Cancel};
    open.Apply();
    QCOMPARE(open.prompts.questions.size(), 1);
    QVERIFY(!QFileInfo::exists(PathToQt(open.rules)));
    // Match All is not offered for General's keys: nothing to ask, nothing written.
    open.prompts.answers.clear();
    QVERIFY(!open.window.Command(kMatchAll)->isEnabled());
    open.window.Command(kMatchAll)->trigger();
    QCOMPARE(open.prompts.questions.size(), 1);
    QVERIFY(!QFileInfo::exists(PathToQt(open.rules)));

    // Yes: the whole file comes back, then the change goes in.
    open.prompts.answers = {QMessageBox::Yes};
    open.Apply();
    std::string expected = original;
    expected.replace(expected.find("\r\nCrateRegen=") + 2, std::string("CrateRegen=").size() + 1, "CrateRegen=6");
    QCOMPARE(FileText(open.rules), expected);

    // A folder where the file was is never written to.
    QVERIFY(QFile::remove(PathToQt(open.rules)));
    QVERIFY(QDir().mkdir(PathToQt(open.rules)));
    open.Type(QStringLiteral("8"));
    open.prompts.messages.clear();
    open.Apply();
    QCOMPARE(open.prompts.messages.size(), std::size_t{1});
    QVERIFY(open.prompts.messages[0].text.contains(QStringLiteral("no longer a regular file")));
    QVERIFY(QFileInfo(PathToQt(open.rules)).isDir());

    // Save As keeps what the window shows, although the file is gone.
    QVERIFY(QDir().rmdir(PathToQt(open.rules)));
    const std::string kept = Path(open.dir, "kept.ini");
    open.prompts.files.push_back(PathToQt(kept));
    open.window.Command(kFileSaveAs)->trigger();
    QCOMPARE(FileText(kept), expected);
    QCOMPARE(open.window.Paths().rulesPath, kept);

    // A copy that cannot be made is said in words; the window goes on editing its file.
    open.prompts.messages.clear();
    const std::string nowhere = Path(open.dir, "no-such-folder/copy.ini");
    open.prompts.files.push_back(PathToQt(nowhere));
    open.window.Command(kFileSaveAs)->trigger();
    QCOMPARE(open.prompts.messages.size(), std::size_t{1});
    const QString said = open.prompts.messages[0].text;
    QVERIFY2(said.startsWith(QStringLiteral("Unable To Save Changes, Error NUmber: ")), qPrintable(said));
    QVERIFY2(said.contains(PathToQt(nowhere)) || said.contains(QStringLiteral("no-such-folder")), qPrintable(said));
    QCOMPARE(open.window.Paths().rulesPath, kept);
}

void FileSafetyTest::nonAsciiPathOpensAndSaves() {
    Window open(QString::fromUtf8("modés/règles.ini"));
    const QString shown = open.dir.path() + QString::fromUtf8("/modés/règles.ini");
    QCOMPARE(open.rules, std::string(shown.toUtf8().constData()));
    QCOMPARE(open.window.windowTitle(), QStringLiteral("Morvane - ") + shown);
    open.Select("General\\Crates\\CrateRegen");
    open.Type(QStringLiteral("3"));
    open.Apply();
    QVERIFY(Contains(FileText(open.rules), "\r\nCrateRegen=3\r\n"));

    const QString copy = open.dir.path() + QString::fromUtf8("/modés/copié.ini");
    open.prompts.files.push_back(copy);
    open.window.Command(kFileSaveAs)->trigger();
    QVERIFY(QFileInfo::exists(copy));
    QCOMPARE(open.window.windowTitle(), QStringLiteral("Morvane - ") + copy);
    QVERIFY(open.prompts.messages.empty());

    // As the program's argument: the window opens it (a wrongly spelled name would stop at
    // "Failed To Load", waiting for a click that never comes).
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("MORVANE_QUIT_WHEN_SHOWN"), QStringLiteral("1"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), open.dir.path());
    environment.insert(QStringLiteral("HOME"), open.dir.path());
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(MORVANE_PROGRAM), {shown});
    const bool finished = program.waitForFinished(30000);
    if (!finished) program.kill();
    QVERIFY(finished);
    QCOMPARE(program.exitCode(), 0);

    // Program Location shows it as the file system spells it, and a browsed program comes back so.
    const QString folder = open.dir.path() + QString::fromUtf8("/modés");
    dialogs::CPropertiesDlg properties(open.prompts);
    properties.m_strWorkDir = PathFromQt(folder);
    properties.DoDataExchange(false);
    bool shownRight = false;
    for (const QLineEdit* edit : properties.findChildren<QLineEdit*>()) shownRight |= edit->text() == folder;
    QVERIFY(shownRight);
    open.prompts.files.push_back(folder + QString::fromUtf8("/jeu.exe"));
    properties.OnBrowseGame();
    QCOMPARE(properties.m_strGameDir, PathFromQt(folder));

    // The settings keep such a path as it is spelled.
    const std::string work = PathFromQt(open.dir.path() + QString::fromUtf8("/modés"));
    QVERIFY(app::WriteSettings({work, work, work + "/RA95.EXE"}).isEmpty());
    QCOMPARE(app::ReadSettings("").workDir, work);
    QCOMPARE(TemporarySettings::Get("Work"), open.dir.path() + QString::fromUtf8("/modés"));
}

void FileSafetyTest::newNeverTargetsTheOpenFile() {
    Window open;
    open.Select("General\\Crates\\CrateRegen");
    open.Type(QStringLiteral("4"));
    open.Apply();
    const std::string edited = FileText(open.rules);

    open.prompts.files.push_back(PathToQt(open.rules));
    open.window.Command(kFileNew)->trigger();
    QCOMPARE(open.prompts.startPaths.back(), open.dir.path() + QStringLiteral("/rules-2.ini"));
    QCOMPARE(open.prompts.messages.size(), std::size_t{1});
    QVERIFY(open.prompts.messages[0].text.contains(QStringLiteral("is the rules file you are editing")));
    QCOMPARE(FileText(open.rules), edited);
    QCOMPARE(open.window.Paths().rulesPath, open.rules);

    // Another existing file: asked, and kept as a backup when replaced.
    const std::string other = Path(open.dir, "other.ini");
    platform::ReplaceFileAtomically(other, "[General]\r\nCrateRegen=11\r\n");
    open.prompts.files.push_back(PathToQt(other));
    open.prompts.answers = {QMessageBox::Cancel};
    open.window.Command(kFileNew)->trigger();
    QCOMPARE(FileText(other), std::string("[General]\r\nCrateRegen=11\r\n"));
    open.prompts.files.push_back(PathToQt(other));
    open.prompts.answers = {QMessageBox::Yes};
    open.window.Command(kFileNew)->trigger();
    QCOMPARE(open.prompts.questions.size(), 2);
    QCOMPARE(open.window.Paths().rulesPath, other);
    QCOMPARE(FileText(other), MakeDefaultRulesFile(BuiltInCatalogue()));
    QCOMPARE(FileText(other + ".bak"), std::string("[General]\r\nCrateRegen=11\r\n"));
    QCOMPARE(FileText(open.rules), edited);
}

void FileSafetyTest::launchKeepsTheFirstBackup() {
    Window open;
    QTemporaryDir game;
    SetPath(open.window, &app::WindowPaths::gameDir, game.path().toStdString());
    SetPath(open.window, &app::WindowPaths::gameExe, Path(game, "missing.exe"));
    const std::string installed = Path(game, "rules.ini");
    platform::ReplaceFileAtomically(installed, "[General]\r\noriginal=1\r\n");

    open.prompts.answers = {QMessageBox::Yes};
    open.window.Command(kLaunchWithFile)->trigger();
    const std::string firstInstall = FileText(installed);
    open.Select("General\\Crates\\CrateRegen");
    open.Type(QStringLiteral("2"));
    open.Apply();
    open.prompts.answers = {QMessageBox::Yes};
    open.window.Command(kLaunchWithFile)->trigger();

    QCOMPARE(FileText(installed), FileText(open.rules));
    QCOMPARE(FileText(installed + ".bak"), std::string("[General]\r\noriginal=1\r\n"));
    QCOMPARE(FileText(Path(game, "rules.ini.2.bak")), firstInstall);
}

void FileSafetyTest::unsavedSettingsAreReported() {
    Window open;
    // A folder where the settings file belongs cannot be written, not even by root.
    const QString store = QSettings(QStringLiteral("Morvane"), QStringLiteral("Morvane")).fileName();
    QFile::remove(store);
    QVERIFY(QDir().mkpath(store));
    open.prompts.dialogs.push_back([](QDialog& dialog) {
        dialog.accept();
        return int{QDialog::Accepted};
    });
    QVERIFY(open.window.OnProgramLocation());
    QCOMPARE(open.prompts.messages.size(), std::size_t{1});
    QVERIFY(open.prompts.messages[0].text.contains(QStringLiteral("could not be saved")));
    QVERIFY(open.prompts.messages[0].text.contains(store));
    QDir(store).removeRecursively();
}

void FileSafetyTest::longValueIsShownCutShort() {
    Window open;
    open.Select("General\\Crates\\CrateRegen");
    const std::string huge(1 << 20, '7');
    open.OutsideSet("General", "CrateRegen", huge);
    open.window.CheckRulesFile();
    QCOMPARE(open.Label("General\\Crates\\CrateRegen"), "CrateRegen = " + huge);
    app::TreeFilterModel* model = open.window.Finder()->FilterModel();
    const QString shown =
        model->data(model->IndexOf(open.Item("General\\Crates\\CrateRegen")), Qt::DisplayRole).toString();
    QVERIFY(shown.size() < 300);
    QVERIFY(shown.startsWith(QStringLiteral("CrateRegen = 777")));
    QVERIFY(shown.endsWith(QChar(0x2026)));
    QCOMPARE(open.ValueEdit()->text().size(), qsizetype{1 << 20});
}

}  // namespace morvane::test
