#pragma once

#include <vector>

#include "gameview/Finding.h"
#include "gameview/GameIni.h"
#include "gameview/GameKeys.h"

namespace morvane::gameview {

// The game's view of the whole file: every line the game reads differently from what it says,
// every likely mistake and every harmless oddity, ordered by line.
std::vector<Finding> CheckRulesFile(const GameIni& ini, const GameKeys& keys);

}  // namespace morvane::gameview
