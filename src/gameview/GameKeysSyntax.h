// The text form of the game's key table (resources/game-keys.tsv), read line by line, and the
// search orders its lookups use. Standard C++ and common/TextOps only: the build's embed tool
// compiles this file too, to turn the built-in table into ready arrays at build time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/TextOps.h"

namespace morvane::game_keys_syntax {

struct Key {
    std::string name;
    std::string reading;  // the table's word for it ("fixed", "bool", ...)
    std::string builtIn;
};

struct Kind {
    std::string name;
    bool read = true;
    std::vector<std::string> sections;
    std::vector<Key> keys;
    std::vector<std::pair<std::string, std::string>> spellings;  // shipped spelling -> key read
};

struct Table {
    std::vector<Kind> kinds;
    std::vector<std::string> sounds;
    std::vector<std::string> animations;
};

struct LineError {
    std::size_t line = 0;  // 1-based
    std::string message;
};

// Reads the table's lines into `out`. Stops at the first line that is neither a kind, a key, a
// spelling nor a name, that names a kind or key the table has not declared, or whose reading
// `knownReading` refuses (when given; readings are kept as words).
std::optional<LineError> ReadTable(std::string_view text, Table& out,
                                   const std::function<bool(std::string_view)>& knownReading = nullptr);

// The positions 0..count-1 ordered by the name at each, alphabetically without regard to ASCII
// letter case. Equal names keep their order, so a search for the first equal one finds the first
// in the table.
std::vector<std::uint16_t> SearchOrder(std::size_t count, const std::function<std::string_view(std::size_t)>& nameAt);

// The position of the first name equal to `name`, without regard to case, by a binary search over `order` (from
// SearchOrder over the same names), or -1.
template <typename NameAt>
int FindInOrder(const std::uint16_t* order, std::size_t count, const NameAt& nameAt, std::string_view name) {
    std::size_t low = 0;
    std::size_t high = count;
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (CompareNoCase(nameAt(order[middle]), name) < 0)
            low = middle + 1;
        else
            high = middle;
    }
    if (low == count || CompareNoCase(nameAt(order[low]), name) != 0) return -1;
    return order[low];
}

}  // namespace morvane::game_keys_syntax
