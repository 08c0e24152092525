#pragma once

#include <cstddef>
#include <string>

namespace morvane::gameview {

// How much a finding matters: the game reads something other than the line says (or does not
// see it), a likely mistake, or something harmless worth knowing.
enum class Level { Error, Warning, Note };

inline const char* LevelWord(Level level) {
    return level == Level::Error ? "error" : level == Level::Warning ? "warning" : "note";
}

struct Finding {
    std::size_t line = 0;
    Level level = Level::Note;
    std::string section;
    std::string key;  // empty for a finding about a section or the file
    std::string message;
};

// A problem of one value, before it is placed on its line.
struct ValueProblem {
    Level level = Level::Error;
    std::string message;
};

}  // namespace morvane::gameview
