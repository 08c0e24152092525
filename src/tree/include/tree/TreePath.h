#pragma once

#include <string_view>

#include "tree/Tree.h"

namespace morvane {

// The item a path names: levels separated by "\", each matched against an item's label up to
// its " = ", blanks trimmed (exact letter case first, then any case). kNoItem when none matches.
TreeItem FindItemByPath(const Tree& tree, std::string_view path);

}  // namespace morvane
