#pragma once

#include <map>
#include <string>

#include "schema/StringTable.h"

namespace morvane {

// The labels the catalogue gives the game's objects ("Heavy tank" for 3TNK), by section name.
std::map<std::string, std::string> ObjectLabels(const StringTable& catalogue);

}  // namespace morvane
