#pragma once

#include <QString>

#include <optional>
#include <string>

#include "guicommon/Artwork.h"
#include "schema/StringTable.h"
#include "tree/Tree.h"

namespace morvane::app {

// What the window tells about a key besides its value: the picture of its kind in the tree, and
// the range and unit beneath the value.
struct KeyFacts {
    std::optional<art::KindIcon> icon;  // the tree's picture of the kind
    std::optional<double> lowest;       // the smallest value the editor offers, when it has one
    std::optional<double> highest;      // the largest
    QString range;                      // "1 to 32767", "at least 0", or empty
    QString unit;                       // "cells", "% of full damage", or empty
};

// The facts of tree item `item`, from its descriptor in `table`.
KeyFacts FactsOf(const Tree& tree, const StringTable& table, TreeItem item);

}  // namespace morvane::app
