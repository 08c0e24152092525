#pragma once

#include <string>
#include <vector>

#include "gameview/Finding.h"
#include "gameview/GameKeys.h"

namespace morvane::gameview {

// What is wrong with a value the game reads for `key`, as the game will see it; nothing when
// the game reads what the text says.
std::vector<ValueProblem> CheckValue(const GameKeys& keys, const GameKey& key, const std::string& value);

}  // namespace morvane::gameview
