#pragma once

#include <string>

#include "gameview/GameIni.h"
#include "gameview/GameKeys.h"

namespace morvane::gameview {

// What the game makes of one entry, in the command line's stable form: a kind (bool, int,
// fixed, cells, speed, buildings, owners, verses, powerup, name, text) and a value ("absent"
// when the game does not see the entry).
struct EffectiveValue {
    std::string kind;
    std::string value;
};

const char* KindWord(Reading reading);
EffectiveValue Effective(const GameKeys& keys, const GameKey& key, const GameEntry* entry);

// The matched name of a name reading: the game's spelling, "none" or "kept".
std::string MatchedName(const GameKeys& keys, Reading reading, const std::string& text);

// The houses or buildings whose bits are set, in the game's order, joined by ",".
std::string JoinBits(const GameKeys& keys, Reading reading, std::uint32_t bits);

}  // namespace morvane::gameview
