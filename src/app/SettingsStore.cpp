#include "app/SettingsStore.h"

#include <QSettings>

#include "guicommon/FileNames.h"

using morvane::guicommon::PathFromQt;
using morvane::guicommon::PathToQt;

namespace morvane::app {
namespace {

constexpr const char* kSection = "Setting";

}  // namespace

// The three settings are paths: they are stored as the file system spells them.
gamesetup::Settings ReadSettings(const std::string& defaultWorkDir) {
    QSettings store(QStringLiteral("Morvane"), QStringLiteral("Morvane"));
    store.beginGroup(kSection);
    gamesetup::Settings settings;
    settings.workDir = PathFromQt(store.value("Work", PathToQt(defaultWorkDir)).toString());
    settings.gameDir = PathFromQt(store.value("RA_dir", PathToQt(gamesetup::kDefaultGameDir)).toString());
    settings.gameExe = PathFromQt(store.value("Game", PathToQt(gamesetup::kDefaultGameExe)).toString());
    return settings;
}

QString WriteSettings(const gamesetup::Settings& settings) {
    QSettings store(QStringLiteral("Morvane"), QStringLiteral("Morvane"));
    store.beginGroup(kSection);
    store.setValue("RA_dir", PathToQt(settings.gameDir));
    store.setValue("Game", PathToQt(settings.gameExe));
    store.setValue("Work", PathToQt(settings.workDir));
    store.sync();
    if (store.status() == QSettings::NoError && store.isWritable()) return {};
    return store.fileName();
}

}  // namespace morvane::app
