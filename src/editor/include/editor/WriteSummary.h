#pragma once

#include <cstddef>
#include <string>

#include "tree/ItemFileAccess.h"
#include "tree/Tree.h"

namespace morvane {

// What a write of one key item stored, in the words of the status bar:
// "Wrote CrateMaximum=200 to [General]", or "Removed Ammo from [JEEP]" for a key taken out.
std::string DescribeItemWrite(const Tree& tree, const ItemFileAccess& items, TreeItem item);

// What one Match All stored: "Cost=100 written to 10 sections".
std::string DescribeMatchAllWrite(const std::string& key, const std::string& value, std::size_t sections);

}  // namespace morvane
