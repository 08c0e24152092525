#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gameview/Finding.h"
#include "gameview/GameKeys.h"

namespace morvane::gameview {

// Everything the program knows about one way the game reads a value, in one row: its word in
// the key table, the kind the command line prints, the value the game keeps (the field's own
// width, clamp and rounding applied), that value in words for the value editor, and what is
// wrong with a text the game reads this way.
struct ReadingKind {
    Reading reading;
    std::string_view tableWord;
    std::string_view kindWord;
    std::string (*kept)(const GameKeys& keys, const GameKey& key, const std::string& text);
    std::string (*words)(const GameKeys& keys, const GameKey& key, const std::string& text);
    void (*check)(const GameKeys& keys, const GameKey& key, const std::string& text,
                  std::vector<ValueProblem>& problems);
};

const ReadingKind& KindOf(Reading reading);
// What a whole-number field of this reading keeps of the number the int reader returned: its
// 16 or 8 bits, or the number held between 0 and 100.
std::int64_t KeptInField(Reading reading, std::int32_t read);
// The reading of a word of the key table, or nothing.
std::optional<Reading> ReadingNamed(std::string_view tableWord);

}  // namespace morvane::gameview
