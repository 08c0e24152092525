#include "tree/TreeFilter.h"

#include "common/TextOps.h"
#include "schema/CatalogueWalks.h"

namespace morvane {

TreeFilter::TreeFilter(const Tree& tree, const StringTable& table) : m_tree(tree), m_table(table) { Reset(); }

std::string TreeFilter::SearchText(TreeItem item) const {
    std::string text = ToLowerAscii(m_tree.GetItemText(item));
    const std::uint16_t nameId = m_tree.GetItemData(item).nameId;
    if (nameId != 0) {
        // A separator no typed text contains, so a match never spans label and name.
        text += '\n';
        text += ToLowerAscii(SectionNameOfEntry(m_table.Text(nameId)));
    }
    return text;
}

void TreeFilter::Reset() {
    const std::size_t count = m_tree.ItemCount() + 1;
    m_texts.assign(count, std::string());
    for (TreeItem item = 1; item < count; ++item) m_texts[item] = SearchText(item);
    m_shown.assign(count, 0);
    m_matched.assign(count, 0);
}

void TreeFilter::Refresh(TreeItem item) {
    if (item != kNoItem && item < m_texts.size()) m_texts[item] = SearchText(item);
}

const std::vector<char>& TreeFilter::Run(std::string_view text, const ItemTest& test) {
    const std::string needle = ToLowerAscii(text);
    const std::size_t count = m_texts.size();
    m_shown.assign(count, 0);
    m_matched.assign(count, 0);
    for (TreeItem item = 1; item < count; ++item) {
        if (m_texts[item].find(needle) == std::string::npos) continue;
        if (test && !test(item)) continue;
        m_matched[item] = 1;
        // Walk up until an ancestor that is already marked: each item is marked once.
        for (TreeItem current = item; current != kNoItem && m_shown[current] == 0;
             current = m_tree.GetParentItem(current))
            m_shown[current] = 1;
    }
    return m_shown;
}

}  // namespace morvane
