#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "schema/StringTable.h"
#include "tree/Tree.h"

namespace morvane {

// Finds the items a filter text names and keeps them with their ancestors. An item matches when
// its label (key and value) or the section, object or key name it stands for contains the text,
// letter case ignored. The lower-cased texts are kept between runs, so a run costs one pass over
// the tree.
class TreeFilter {
public:
    // Tests an item beyond the text (e.g. "only keys that differ from the default").
    using ItemTest = std::function<bool(TreeItem)>;

    TreeFilter(const Tree& tree, const StringTable& table);

    // Reads every item's texts afresh; call after the tree was rebuilt.
    void Reset();
    // Reads one item's texts afresh; call after its label changed.
    void Refresh(TreeItem item);

    // Marks the items that contain `text` and pass `test` (when given), and all their
    // ancestors. Returns the marks, indexed by item handle; Shown() reads them too.
    const std::vector<char>& Run(std::string_view text, const ItemTest& test = {});
    bool Shown(TreeItem item) const { return item < m_shown.size() && m_shown[item] != 0; }
    bool Matched(TreeItem item) const { return item < m_matched.size() && m_matched[item] != 0; }

private:
    std::string SearchText(TreeItem item) const;

    const Tree& m_tree;
    const StringTable& m_table;
    std::vector<std::string> m_texts;  // lower-cased, by item handle
    std::vector<char> m_shown;
    std::vector<char> m_matched;
};

}  // namespace morvane
