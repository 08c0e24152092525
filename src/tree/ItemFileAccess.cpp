#include "tree/ItemFileAccess.h"

#include "common/TextOps.h"
#include "schema/CatalogueWalks.h"
#include "schema/Descriptor.h"

namespace morvane {

ItemFileAccess::ItemFileAccess(const StringTable& table, Tree& tree, RulesFileAccess& rules)
    : m_table(table), m_tree(tree), m_rules(rules) {}

TreeItem ItemFileAccess::FindSectionItem(TreeItem item) const {
    TreeItem current = m_tree.GetParentItem(item);
    while (current != kNoItem && m_tree.GetItemData(current).nameId == 0) current = m_tree.GetParentItem(current);
    return current;
}

std::string ItemFileAccess::SectionNameOf(TreeItem sectionItem) const {
    return SectionNameOfEntry(m_table.Text(m_tree.GetItemData(sectionItem).nameId));
}

std::optional<std::string> ItemFileAccess::DefaultValueOf(TreeItem item) const {
    const Descriptor descriptor = ParseDescriptor(m_table.Text(m_tree.GetItemData(item).infoId), m_table);
    const bool yesOrNo = descriptor.kind == KeyKind::YesNo || descriptor.kind == KeyKind::TrueFalse;
    if (!yesOrNo && Trim(descriptor.defaultText).empty()) return std::nullopt;
    // A list key stores the entry's NAME: the game cannot read the "NAME - Label" display; and
    // the game splits Verses only at commas.
    if (descriptor.kind == KeyKind::OneOfList || descriptor.kind == KeyKind::Verses)
        return DefaultValueForFile(descriptor, m_table);
    return std::string(Trim(FormatDefault(descriptor, m_table)));
}

int ItemFileAccess::WriteItemValue(TreeItem item) {
    if (m_tree.GetParentItem(item) == kNoItem) return 0;
    const TreeItem sectionItem = FindSectionItem(item);
    if (sectionItem == kNoItem) return 0;
    const std::string key(m_tree.GetItemKey(item));
    const std::optional<std::string> value(m_tree.GetItemValue(item));
    if (!value) return m_rules.RemoveValue(SectionNameOf(sectionItem), key);
    return m_rules.WriteValue(SectionNameOf(sectionItem), key, *value);
}

}  // namespace morvane
