#include "app/SettingsStore.h"

#include <QSettings>

#include "guicommon/Latin1.h"

namespace morvane::app {
namespace {

constexpr const char* kSection = "Setting";

}  // namespace

gamesetup::Settings ReadSettings(const std::string& defaultWorkDir) {
    QSettings store(QStringLiteral("Morvane"), QStringLiteral("Morvane"));
    store.beginGroup(kSection);
    gamesetup::Settings settings;
    settings.workDir = FromQt(store.value("Work", ToQt(defaultWorkDir)).toString());
    settings.gameDir = FromQt(store.value("RA_dir", QString::fromLatin1(gamesetup::kDefaultGameDir)).toString());
    settings.gameExe = FromQt(store.value("Game", QString::fromLatin1(gamesetup::kDefaultGameExe)).toString());
    return settings;
}

void WriteSettings(const gamesetup::Settings& settings) {
    QSettings store(QStringLiteral("Morvane"), QStringLiteral("Morvane"));
    store.beginGroup(kSection);
    store.setValue("RA_dir", ToQt(settings.gameDir));
    store.setValue("Game", ToQt(settings.gameExe));
    store.setValue("Work", ToQt(settings.workDir));
    store.sync();
}

}  // namespace morvane::app
