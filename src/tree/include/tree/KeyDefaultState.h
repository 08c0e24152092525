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

// A key is a leaf below a section. A present value counts as changed when it is not the default
// Default writes: compared item by item at the commas, each trimmed, letter case ignored (as the
// game reads names and yes/no alike) and numbers by their value ("3.0" is "3", "020%" is "20%").
KeyDefaultState DescribeKeyDefaultState(const ItemFileAccess& items, const Tree& tree, TreeItem item);

// The comparison on its own.
bool SameAsDefault(std::string_view value, std::string_view defaultValue);

}  // namespace morvane
