#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "tree/Tree.h"

namespace morvane::test {

// A key item's value as a test writes it, the way the tree shows it: "Cost = 100" holds 100,
// "Cost = " the empty value and "Cost" none. Blanks after "=" are not part of the value, as the
// file's reader trims them.
inline std::optional<std::string> WrittenValue(std::string_view written) {
    const std::size_t mark = written.find(" =");
    if (mark == std::string_view::npos) return std::nullopt;
    std::string_view value = written.substr(mark + 2);
    while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
    return std::string(value);
}

inline std::string WrittenKey(std::string_view written) { return std::string(written.substr(0, written.find(" ="))); }

inline TreeItem InsertKey(Tree& tree, std::string_view written, int image, int selectedImage, TreeItemData data,
                          TreeItem parent) {
    return tree.InsertKeyItem(WrittenKey(written), WrittenValue(written), image, selectedImage, data, parent);
}

}  // namespace morvane::test
