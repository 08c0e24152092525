#pragma once

#include <string>
#include <string_view>

#include "gameview/GameIni.h"
#include "gameview/GameKeys.h"

namespace morvane::gameview {

// What the game makes of one key of the file, in words for the value editor: "The game reads:
// 25% (0.25)", "Not in the file: the game uses its built-in 1.5", or why the game does not see
// the line. Empty when there is nothing to say (no section given).
std::string DescribeGameReading(const GameKeys& keys, const GameIni& ini, std::string_view section,
                                std::string_view key);

// The value alone in words, e.g. "25% (0.25)" or "1.5 cells (384 leptons)".
std::string ValueInWords(const GameKeys& keys, const GameKey& key, const std::string& value);

}  // namespace morvane::gameview
