#pragma once

#include <string>

#include "gamesetup/StartupSearch.h"

namespace morvane::app {

// The three settings, kept per user by QSettings (organisation "Morvane") in section "Setting".
gamesetup::Settings ReadSettings(const std::string& defaultWorkDir);
// Stores them in the order game directory, game program, work directory.
void WriteSettings(const gamesetup::Settings& settings);

}  // namespace morvane::app
