// Takes one picture of the main window per kind of value, one of the find bar in use, one of
// changed keys marked, and three of the table of objects with its pictures, for the
// documentation and for a look at the layout without a screen, one of a key AFTRMATH.INI
// overrides, one of a scenario edited as a layer and one of a typed value that does not fit; given a second rules file
// with mistakes in it, also the Problems panel and the value editor's "game reads" line on that file:
//   morvane_screenshots RULES_FILE OUTPUT_DIR [FILE_WITH_FINDINGS]
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSettings>
#include <QSplitter>
#include <QTableView>
#include <QTemporaryDir>
#include <QTreeView>
#include <cstdio>
#include <tuple>

#include "app/BalanceDock.h"
#include "app/CMainDlg.h"
#include "app/FindingMarks.h"
#include "app/ProblemsPanel.h"
#include "app/TreeFinder.h"
#include "editor/ControlIds.h"
#include "guicommon/UserPrompts.h"
#include "platform/FileAccess.h"
#include "platform/FileLookup.h"
#include "platform/ProfileApi.h"
#include "schema/CatalogueFile.h"
#include "tree/TreePath.h"

using morvane::guicommon::QtPrompts;

namespace {

bool Save(QWidget& window, const QString& file) {
    QApplication::processEvents();
    if (!window.grab().save(file)) {
        std::fprintf(stderr, "morvane_screenshots: cannot write %s\n", qPrintable(file));
        return false;
    }
    std::printf("%s\n", qPrintable(file));
    return true;
}

// The window on a file with findings: the Problems panel with its first error chosen, and a
// key whose line the game reads differently from what it says.
int ShootFindings(const char* rulesFile, const QString& folder) {
    QtPrompts prompts;
    morvane::app::CMainDlg window(morvane::BuiltInCatalogue(), prompts, morvane::app::WindowPaths::ForFile(rulesFile));
    if (!window.OnInitDialog()) return 1;
    window.resize(window.width() * 5 / 4, window.height() * 5 / 4);
    window.show();
    window.Findings().Refresh();
    window.resizeDocks({window.Problems()}, {window.height() * 2 / 5}, Qt::Vertical);
    QTreeView* problems = window.Problems()->List();
    for (int row = 0; row < problems->model()->rowCount(); ++row) {
        const QModelIndex index = problems->model()->index(row, 1);
        if (index.data().toString() != QStringLiteral("error")) continue;
        problems->setCurrentIndex(index);
        emit problems->clicked(index);
        break;
    }
    if (!Save(window, folder + "/problems.png")) return 1;

    const morvane::TreeItem item =
        morvane::FindItemByPath(window.NavigationTree(), "Weapon Types\\Spy Camera\\Projectile");
    if (item == morvane::kNoItem) {
        std::fputs("morvane_screenshots: no Camera projectile in the file's tree\n", stderr);
        return 1;
    }
    window.SelectItem(item);
    return Save(window, folder + "/game-reads.png") ? 0 : 1;
}

// A key another of the game's files decides: AFTRMATH.INI beside a copy of the rules file sets
// it again, the tree marks it and the editor names the file the game takes it from. Then a typed
// value the key does not take, marked with the reason.
int ShootOverridden(const char* rulesFile, const QString& folder) {
    QTemporaryDir copyDir;
    const QString copy = copyDir.path() + "/RULES.INI";
    if (!QFile::copy(QString::fromLocal8Bit(rulesFile), copy)) return 1;
    if (morvane::platform::ReplaceFileAtomically((copyDir.path() + "/AFTRMATH.INI").toStdString(),
                                                 "[General]\r\nCrateMaximum=60\r\nCrateRegen=2\r\n") != 0)
        return 1;
    QtPrompts prompts;
    morvane::app::CMainDlg window(morvane::BuiltInCatalogue(), prompts,
                                  morvane::app::WindowPaths::ForFile(copy.toStdString()));
    if (!window.OnInitDialog()) return 1;
    window.show();
    window.Findings().Refresh();
    window.SelectItem(morvane::FindItemByPath(window.NavigationTree(), "General\\Crates\\CrateMaximum"));
    if (!Save(window, folder + "/overridden.png")) return 1;
    window.SelectItem(morvane::FindItemByPath(window.NavigationTree(), "General\\Crates\\CrateMinimum"));
    auto* edit = qobject_cast<QLineEdit*>(window.Control(morvane::control::kValueEdit));
    edit->setText(QStringLiteral("99999"));
    QApplication::processEvents();
    return Save(window, folder + "/invalid-value.png") ? 0 : 1;
}

// A scenario edited as a layer over a copy of the rules file: its own values plain, the values
// it inherits greyed, and the editor's Inherit button.
int ShootLayer(const char* rulesFile, const QString& folder) {
    QTemporaryDir copyDir;
    const QString copy = copyDir.path() + "/RULES.INI";
    if (!QFile::copy(QString::fromLocal8Bit(rulesFile), copy)) return 1;
    const std::string scenario = (copyDir.path() + "/SCG05EA.INI").toStdString();
    if (morvane::platform::ReplaceFileAtomically(
            scenario,
            "[Basic]\r\nName=Ore Valley\r\nPlayer=Greece\r\n\r\n[Map]\r\nTheater=TEMPERATE\r\nX=30\r\nY=30\r\n"
            "Width=64\r\nHeight=64\r\n\r\n[Waypoints]\r\n0=4050\r\n\r\n[General]\r\nGemValue=75\r\nGoldValue=35\r\n"
            "BuildSpeed=.6\r\n\r\n[MapPack]\r\n1=BQAAIIH//+wfAmBsMGwwbDBsMGwwbDBs\r\n") != 0)
        return 1;
    QtPrompts prompts;
    morvane::app::CMainDlg window(morvane::BuiltInCatalogue(), prompts,
                                  morvane::app::WindowPaths::ForFile(copy.toStdString()));
    if (!window.OnInitDialog() || !window.LayerEditor().OpenLayer(scenario)) return 1;
    window.show();
    window.Findings().Refresh();
    window.SelectItem(morvane::FindItemByPath(window.NavigationTree(), "General\\Income And Production\\GemValue"));
    return Save(window, folder + "/layer.png") ? 0 : 1;
}

// The window when no rules file is found: its start page. The search runs in an empty folder
// with no settings, so it finds nothing.
int ShootStartPage(const QString& folder) {
    const std::string before = morvane::platform::CurrentDirectory().value_or(".");
    QTemporaryDir empty;
    if (!morvane::platform::ChangeDirectory(empty.path().toStdString())) return 1;
    QtPrompts prompts;
    morvane::app::CMainDlg window(morvane::BuiltInCatalogue(), prompts);
    const bool shown = window.OnInitDialog() && window.ShowsStartPage();
    morvane::platform::ChangeDirectory(before);
    if (!shown) {
        std::fputs("morvane_screenshots: the start page did not come up\n", stderr);
        return 1;
    }
    window.show();
    return Save(window, folder + "/start-page.png") ? 0 : 1;
}

// The table of the vehicles beside the tree, a weapon's damage chart and the time-to-kill heat
// map of the vehicles against each other.
int ShootTable(const char* rulesFile, const QString& folder) {
    QtPrompts prompts;
    morvane::app::CMainDlg window(morvane::BuiltInCatalogue(), prompts, morvane::app::WindowPaths::ForFile(rulesFile));
    if (!window.OnInitDialog()) return 1;
    window.resize(window.width() * 2, window.height() * 5 / 4);
    window.show();
    morvane::app::BalanceDock* table = window.Table();
    table->toggleViewAction()->trigger();
    table->ShowGroup(QStringLiteral("vehicles"));
    window.resizeDocks({table}, {window.width() * 3 / 5}, Qt::Horizontal);
    table->View()->resizeColumnsToContents();
    table->View()->setCurrentIndex(table->View()->model()->index(2, 0));  // the Medium tank
    if (!Save(window, folder + "/table.png")) return 1;

    const auto shoot = [&folder](std::unique_ptr<morvane::app::BalancePictureDlg> dialog, const char* name) {
        if (!dialog) return false;
        const QSize size = dialog->View()->sizeHint();
        dialog->resize(size.width() + 40, size.height() + 90);
        dialog->show();
        return Save(*dialog, folder + "/" + name);
    };
    if (!shoot(table->DamageChartDialog(), "damage-chart.png")) return 1;
    return shoot(table->HeatMapDialog(), "time-to-kill.png") ? 0 : 1;
}

// The real prompts, except that the next dialog is pictured and cancelled instead of run.
class PicturingPrompts : public QtPrompts {
public:
    int Exec(QDialog& dialog) override {
        if (m_file.isEmpty()) return QtPrompts::Exec(dialog);
        dialog.show();
        QApplication::processEvents();
        m_saved = dialog.grab().save(m_file);
        m_file.clear();
        return QDialog::Rejected;
    }
    void PictureNextDialog(const QString& file) { m_file = file; }
    bool Saved() const { return m_saved; }

private:
    QString m_file;
    bool m_saved = false;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fputs("usage: morvane_screenshots RULES_FILE OUTPUT_DIR [FILE_WITH_FINDINGS]\n", stderr);
        return 64;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    // The pictures must not depend on, or change, the user's own settings.
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QDir().mkpath(QString::fromLocal8Bit(argv[2]));

    PicturingPrompts prompts;
    morvane::app::CMainDlg window(morvane::BuiltInCatalogue(), prompts, morvane::app::WindowPaths::ForFile(argv[1]));
    if (!window.OnInitDialog()) return 1;
    window.show();

    const struct {
        const char* name;
        const char* path;
    } shots[] = {
        {"integer", "General\\Crates\\CrateMinimum"},
        {"real", "General\\Crates\\CrateRadius"},
        {"yes-no", "General\\Special Weapons\\ChronoKillCargo"},
        {"true-false", "Structures\\Non-Weapons\\Construction Yard\\Capturable"},
        {"percentage", "General\\Crates\\WaterCrateChance"},
        {"crate-powerup", "Powerups\\Armor"},
        {"verses", "Warheads Types\\HE\\Verses"},
        {"list", "Units\\Land Vehicles\\SCUD launcher\\Primary"},
        {"multi-list", "Units\\Land Vehicles\\SCUD launcher\\Prerequisite"},
        {"object", "Units\\Infantry\\Rifle soldier"},
    };
    for (const auto& shot : shots) {
        const morvane::TreeItem item = morvane::FindItemByPath(window.NavigationTree(), shot.path);
        if (item == morvane::kNoItem) {
            std::fprintf(stderr, "morvane_screenshots: no item %s\n", shot.path);
            return 1;
        }
        window.SelectItem(item);
        QApplication::processEvents();
        const QString file = QString::fromLocal8Bit(argv[2]) + "/" + shot.name + ".png";
        if (!window.grab().save(file)) {
            std::fprintf(stderr, "morvane_screenshots: cannot write %s\n", qPrintable(file));
            return 1;
        }
        std::printf("%s\n", qPrintable(file));
    }

    // The find bar in use.
    const QString outDir = QString::fromLocal8Bit(argv[2]);
    QLineEdit* field = window.Finder()->FilterEdit();
    field->setText(QStringLiteral("crate"));
    QApplication::processEvents();
    if (!Save(window, outDir + "/find.png")) return 1;
    window.Finder()->ClearFilter();

    // Keys a mod changes, marked: a few values changed in a copy of the file.
    QTemporaryDir copyDir;
    const std::string copy = (copyDir.path() + "/rules.ini").toStdString();
    if (!QFile::copy(QString::fromLocal8Bit(argv[1]), QString::fromStdString(copy))) return 1;
    for (const auto& [section, key, value] :
         {std::tuple{"General", "CrateMaximum", "99"}, std::tuple{"General", "CrateMinimum", "7"},
          std::tuple{"General", "CrateRadius", "5.5"}})
        morvane::platform::WritePrivateProfileString(section, key, value, copy);
    morvane::app::CMainDlg changed(morvane::BuiltInCatalogue(), prompts, morvane::app::WindowPaths::ForFile(copy));
    if (!changed.OnInitDialog()) return 1;
    changed.show();
    changed.SelectItem(morvane::FindItemByPath(changed.NavigationTree(), "General\\Crates\\CrateMaximum"));
    QApplication::processEvents();
    if (!Save(changed, outDir + "/changed.png")) return 1;
    // The Match All confirmation, after a new Strength for one civilian building.
    const morvane::TreeItem cost =
        morvane::FindItemByPath(window.NavigationTree(), "Structures\\Civilian\\Civilian Type 3\\Strength");
    if (cost == morvane::kNoItem) {
        std::fputs("morvane_screenshots: no civilian building Strength\n", stderr);
        return 1;
    }
    window.SelectItem(cost);
    auto* edit = qobject_cast<QLineEdit*>(window.Control(morvane::control::kValueEdit));
    edit->setText(QStringLiteral("450"));
    window.OnApply();
    const QString file = QString::fromLocal8Bit(argv[2]) + "/match-all.png";
    prompts.PictureNextDialog(file);
    window.OnMatchAllInSection();
    if (!prompts.Saved()) {
        std::fprintf(stderr, "morvane_screenshots: cannot write %s\n", qPrintable(file));
        return 1;
    }
    std::printf("%s\n", qPrintable(file));
    if (ShootTable(argv[1], outDir) != 0) return 1;
    if (argc == 4 && ShootFindings(argv[3], QString::fromLocal8Bit(argv[2])) != 0) return 1;
    if (ShootOverridden(argv[1], outDir) != 0) return 1;
    if (ShootLayer(argv[1], outDir) != 0) return 1;
    return ShootStartPage(outDir);
}
