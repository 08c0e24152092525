#pragma once

#include <string>

#include "schema/StringTable.h"

namespace morvane {

// A complete rules file holding every key of the catalogue that has a default, at that default
// in the form the game reads. Sections follow the navigation tree's order, keys the catalogue's;
// lines end with CR LF.
std::string MakeDefaultRulesFile(const StringTable& table);

}  // namespace morvane
