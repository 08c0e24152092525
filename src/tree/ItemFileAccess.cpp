#include "tree/ItemFileAccess.h"

#include "common/TextOps.h"
#include "rulesfile/ValueLabel.h"
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

std::string ItemFileAccess::DefaultValueOf(TreeItem item) const {
    const Descriptor descriptor = ParseDescriptor(m_table.Text(m_tree.GetItemData(item).infoId), m_table);
    // A list key stores the entry's NAME: the game cannot read the "NAME - Label" display; and
    // the game splits Verses only at commas.
    if (descriptor.typeLetter == "L" || descriptor.typeLetter == "V")
        return DefaultValueForFile(descriptor, m_table).value_or(std::string());
    return std::string(Trim(FormatDefault(descriptor, m_table)));
}

int ItemFileAccess::WriteItemValue(TreeItem item) {
    const ValueLabelParts parts = SplitValueLabel(m_tree.GetItemText(item));
    const std::string value = parts.hasValue ? parts.value : DefaultValueOf(item);
    if (m_tree.GetParentItem(item) == kNoItem) return 0;
    const TreeItem sectionItem = FindSectionItem(item);
    if (sectionItem == kNoItem) return 0;
    return m_rules.WriteValue(SectionNameOf(sectionItem), parts.key, value);
}

}  // namespace morvane
