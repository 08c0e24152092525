#pragma once

#include <QString>
#include <string>

#include "gamesetup/StartupSearch.h"

namespace morvane::app {

// The three settings, kept per user by QSettings (organisation "Morvane") in section "Setting".
gamesetup::Settings ReadSettings(const std::string& defaultWorkDir);
// Stores them in the order game directory, game program, work directory. Returns the settings
// file's name when they could not be saved (a read-only home, an unwritable file), else empty.
[[nodiscard]] QString WriteSettings(const gamesetup::Settings& settings);

}  // namespace morvane::app
