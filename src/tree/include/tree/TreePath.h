#pragma once

#include <string>
#include <string_view>

#include "tree/Tree.h"

namespace morvane {

// The item a path names: levels separated by "\", each matched against an item's label up to
// its " = ", blanks trimmed (exact letter case first, then any case). kNoItem when none matches.
TreeItem FindItemByPath(const Tree& tree, std::string_view path);

// The path FindItemByPath finds `item` by: its labels up to " = " from the top, joined by "\".
std::string PathOfItem(const Tree& tree, TreeItem item);

}  // namespace morvane
