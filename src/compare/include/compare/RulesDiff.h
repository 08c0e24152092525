#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gameview/GameIni.h"
#include "gameview/GameKeys.h"
#include "gameview/GameLayers.h"

namespace morvane::compare {

// A key the game plays differently in the two files.
struct KeyDifference {
    std::string kind;  // the kind of section: General, unit, weapon, ...
    std::string section;
    std::string key;
    std::string a;  // the value as written, or "absent (BUILT-IN)"
    std::string b;
    // A text that, written into B, makes the game play A's value there; nothing when no text
    // can (a built-in the game only keeps) or A's duplicates leave the game's choice open.
    std::optional<std::string> aText;
};

// A line of one file that has no twin in the other, although the game plays both the same there.
struct LineDifference {
    char file = 'A';  // 'A' or 'B'
    std::size_t line = 0;
    std::string section;  // the section the line belongs to, if any
    std::string key;      // the key of an entry line
    std::string text;     // the line as written, without its line end
    std::string why;      // why it changes nothing the game plays
};

struct RulesDiff {
    std::vector<KeyDifference> keys;    // in the game's order of sections and keys
    std::vector<LineDifference> lines;  // A's lines, then B's, each in line order (when asked for)
    std::uint32_t fingerprintA = 0;
    std::uint32_t fingerprintB = 0;
};

// What the game plays differently in B than in A: every key either file gives the game, read as
// the game reads it. Formatting, notes, line order and anything the game does not read make no
// difference. With `withLines`, the lines that differ without changing the game are listed too.
RulesDiff DiffRules(const gameview::GameKeys& keys, std::string_view a, std::string_view b, bool withLines);
// The keys the game plays differently in B than in A (DiffRules' `keys`), from files read
// already: for a caller that holds both readings, nothing is parsed again.
std::vector<KeyDifference> DiffKeys(const gameview::GameKeys& keys, const gameview::GameIni& a,
                                    const gameview::GameIni& b);

// The same over two games: what the game plays for each key once it has read every file of A's
// layer stack, against B's (both stacks set up for the same kind of game). A value decided by
// another layer than the rules file names that layer's file and line. Duplicates count as the
// stack reads them (the first section, the first entry). The fingerprints are those of the two
// rules files: the game compares nothing else between players. No line comparison.
RulesDiff DiffLayers(const gameview::LayerStack& a, const gameview::LayerStack& b);

// How many keys differ for each kind of section, in the game's order of kinds.
std::vector<std::pair<std::string, std::size_t>> CountByKind(const RulesDiff& diff);

}  // namespace morvane::compare
