#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "schema/StringTable.h"

namespace morvane {

// A complete rules file holding every key of the catalogue that has a default, at that default
// in the form the game reads. Sections follow the navigation tree's order, keys the catalogue's;
// lines end with CR LF. When `keep` is given, only the keys it keeps are written.
using KeepKey = std::function<bool(std::string_view section, std::string_view key)>;
std::string MakeDefaultRulesFile(const StringTable& table, const KeepKey& keep = {});

}  // namespace morvane
