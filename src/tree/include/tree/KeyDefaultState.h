#pragma once

#include <string>

#include "tree/ItemFileAccess.h"
#include "tree/Tree.h"

namespace morvane {

// How a tree item stands against the catalogue: whether it is a key, whether the file holds a
// value for it, and whether that value is something other than the key's default.
struct KeyDefaultState {
    bool isKey = false;
    bool present = false;
    bool changed = false;
    std::string defaultValue;  // as Default would write it
};

// A key is a leaf below a section. A present value counts as changed when, trimmed, it is not
// the default Default writes (letter case ignored, as the game reads names and yes/no alike).
KeyDefaultState DescribeKeyDefaultState(const ItemFileAccess& items, const Tree& tree, TreeItem item);

// The comparison on its own: both sides trimmed, letter case ignored.
bool SameAsDefault(std::string_view value, std::string_view defaultValue);

}  // namespace morvane
