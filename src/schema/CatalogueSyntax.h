// The text form of the catalogue, read line by line. Standard C++ only: the build's embed tool
// compiles this file too, to turn the built-in catalogue into a table at build time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace morvane::catalogue_syntax {

struct LineError {
    std::size_t line = 0;  // 1-based
    std::string message;
};

// Reads every entry of `content` ("ID<TAB>TEXT" lines, see schema/CatalogueFile.h) and hands
// it to `add` with its escapes decoded; `add` returns false when the id already has an entry.
// Stops at the first mistake and says which line holds it and what is wrong.
std::optional<LineError> ReadEntries(std::string_view content,
                                     const std::function<bool(std::uint16_t id, std::string&& text)>& add);

}  // namespace morvane::catalogue_syntax
