#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace morvane {

// resources/game-keys.tsv as the build's embed tool reads it: ready arrays the program uses as
// they stand. Each array ends with one empty item after the last.
struct EmbeddedGameKind {
    std::string_view name;
    bool read;
    std::uint16_t firstSection, sectionCount;    // into kEmbeddedGameKeysSections and its orders
    std::uint16_t firstKey, keyCount;            // into kEmbeddedGameKeysKeys and its orders
    std::uint16_t firstSpelling, spellingCount;  // pairs in kEmbeddedGameKeysSpellings
};

struct EmbeddedGameKey {
    std::string_view name;
    std::string_view reading;  // the table's word
    std::string_view builtIn;
};

extern const EmbeddedGameKind kEmbeddedGameKeysKinds[];
extern const std::size_t kEmbeddedGameKeysKindCount;
// Every kind's sections back to back; the order holds positions within the kind's own sections
// in name order without regard to case.
extern const std::string_view kEmbeddedGameKeysSections[];
extern const std::uint16_t kEmbeddedGameKeysSectionOrderNoCase[];
// Positions in kEmbeddedGameKeysSections in name order across all kinds without regard to
// case; a name two kinds share finds the earlier kind's.
extern const std::uint16_t kEmbeddedGameKeysAllSectionOrderNoCase[];
extern const std::size_t kEmbeddedGameKeysSectionCount;
// Every kind's keys back to back; the order holds positions within the kind's own keys in name
// order without regard to case.
extern const EmbeddedGameKey kEmbeddedGameKeysKeys[];
extern const std::uint16_t kEmbeddedGameKeysKeyOrderNoCase[];
// Shipped spelling, key read, shipped spelling, key read, ...
extern const std::string_view kEmbeddedGameKeysSpellings[];
// The game's sound and animation names in its order; the orders without regard to case.
extern const std::string_view kEmbeddedGameKeysSounds[];
extern const std::uint16_t kEmbeddedGameKeysSoundOrder[];
extern const std::size_t kEmbeddedGameKeysSoundCount;
extern const std::string_view kEmbeddedGameKeysAnimations[];
extern const std::uint16_t kEmbeddedGameKeysAnimationOrder[];
extern const std::size_t kEmbeddedGameKeysAnimationCount;

}  // namespace morvane
