#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "gameview/Finding.h"
#include "gameview/GameKeys.h"

namespace morvane::gameview {

// What is wrong with a value the game reads for `key`, as the game will see it; nothing when
// the game reads what the text says.
std::vector<ValueProblem> CheckValue(const GameKeys& keys, const GameKey& key, std::string_view value);

}  // namespace morvane::gameview
