#pragma once

#include <string>
#include <string_view>
#include <variant>

#include "schema/StringTable.h"

namespace morvane {

// The text form of the catalogue: one entry a line, "ID<TAB>TEXT". In TEXT, \n stands for a
// line feed, \t for a tab, \\ for a backslash and \xHH for the byte HH; everything else is
// taken as it stands. Empty lines and lines whose first character is '#' are notes.
struct CatalogueError {
    std::size_t line = 0;  // 1-based; 0 when the file itself could not be read
    std::string message;
};

std::variant<StringTable, CatalogueError> ParseCatalogue(std::string_view content);

// Reads and parses a catalogue file.
std::variant<StringTable, CatalogueError> LoadCatalogueFile(const std::string& path);

// The catalogue built into the program.
const StringTable& BuiltInCatalogue();

// "FILE:LINE: message" (or "FILE: message" for a file that could not be read).
std::string DescribeCatalogueError(const std::string& path, const CatalogueError& error);

}  // namespace morvane
