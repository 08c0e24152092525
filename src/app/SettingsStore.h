#pragma once

#include <string>

#include "shell/StartupSearch.h"

namespace morvane::app {

// The three settings, kept per user by QSettings (organisation "Morvane") in section "Setting".
shell::Settings ReadSettings(const std::string& defaultWorkDir);
// Stores them in the order game directory, game program, work directory.
void WriteSettings(const shell::Settings& settings);

}  // namespace morvane::app
