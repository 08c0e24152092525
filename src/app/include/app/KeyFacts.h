#pragma once

#include <QString>

#include <optional>
#include <string>

#include "guicommon/Artwork.h"
#include "schema/StringTable.h"
#include "tree/Tree.h"

namespace morvane::app {

// What the window tells about a key besides its value: the picture of its kind in the tree, the
// range and unit beneath the value, and whether a typed text fits the key.
struct KeyFacts {
    std::string kind;                   // the descriptor's kind letter; empty for anything but a key
    std::optional<art::KindIcon> icon;  // the tree's picture of the kind
    std::optional<double> lowest;       // the smallest value the editor offers, when it has one
    std::optional<double> highest;      // the largest
    QString range;                      // "1 to 32767", "at least 0", or empty
    QString unit;                       // "cells", "% of full damage", or empty
};

// The facts of tree item `item`, from its descriptor in `table`.
KeyFacts FactsOf(const Tree& tree, const StringTable& table, TreeItem item);

// Why `text` is no value for a key with these facts ("not a whole number", "above the largest
// value, 32767"), or nothing when it is one. Only numbers are checked: other kinds come from
// controls that cannot hold a wrong value, or are names the game looks up itself.
std::optional<QString> TypedValueProblem(const KeyFacts& facts, const std::string& text);

}  // namespace morvane::app
