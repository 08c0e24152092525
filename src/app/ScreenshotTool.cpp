// Takes one picture of the main window per kind of value, for the documentation and for a
// look at the layout without a screen:
//   morvane_screenshots RULES_FILE OUTPUT_DIR
#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdio>

#include "app/CMainDlg.h"
#include "guicommon/UserPrompts.h"
#include "schema/CatalogueFile.h"
#include "tree/TreePath.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: morvane_screenshots RULES_FILE OUTPUT_DIR\n", stderr);
        return 64;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    // The pictures must not depend on, or change, the user's own settings.
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QDir().mkpath(QString::fromLocal8Bit(argv[2]));

    morvane::app::QtPrompts prompts;
    morvane::app::CMainDlg window(morvane::BuiltInCatalogue(), prompts);
    window.m_strRulesPath = argv[1];
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
    return 0;
}
