#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "gameview/GameKeys.h"

namespace morvane::compare {

struct RulesDelta {
    // A rules file holding what the game reads differently in MOD than in BASE: each such key in
    // its section, in the game's order, with its value as MOD writes it. Read after BASE, the way
    // the game reads a second rules file on top of the first, it plays as MOD. Its lines end as
    // most of MOD's do (CR LF or LF; on a tie, as MOD's first line).
    std::string text;
    // "[SECTION] KEY" of keys no text can bring back to what MOD plays (a built-in value the game
    // only keeps), or where MOD's duplicates leave the game's choice open (the first is written).
    std::vector<std::string> notCarried;
};

RulesDelta MakeDelta(const gameview::GameKeys& keys, std::string_view base, std::string_view mod);

}  // namespace morvane::compare
