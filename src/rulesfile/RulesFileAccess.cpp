#include "rulesfile/RulesFileAccess.h"

#include "common/TextOps.h"
#include "platform/ProfileApi.h"
#include "rulesfile/ValueLabel.h"
#include "schema/CatalogueWalks.h"
#include "schema/Descriptor.h"

namespace morvane {

RulesFileAccess::RulesFileAccess(const StringTable& table, Tree& tree, MessageSink& messages)
    : m_table(table), m_tree(tree), m_messages(messages) {}

std::optional<std::string> RulesFileAccess::ReadValue(std::string_view section, std::string_view key) const {
    return ValueFromProfileText(platform::GetPrivateProfileString(section, key, "Empty", m_strRulesPath));
}

TreeItem RulesFileAccess::FindSectionItem(TreeItem item) const {
    TreeItem current = m_tree.GetParentItem(item);
    while (current != kNoItem && m_tree.GetItemData(current).nameId == 0) current = m_tree.GetParentItem(current);
    return current;
}

std::string RulesFileAccess::SectionNameOf(TreeItem sectionItem) const {
    return SectionNameOfEntry(m_table.Text(m_tree.GetItemData(sectionItem).nameId));
}

std::string RulesFileAccess::DefaultValueOf(TreeItem item) const {
    const Descriptor descriptor = ParseDescriptor(m_table.Text(m_tree.GetItemData(item).infoId), m_table);
    // A list key stores the entry's NAME: the game cannot read the "NAME - Label" display; and
    // the game splits Verses only at commas.
    if (descriptor.typeLetter == "L" || descriptor.typeLetter == "V")
        return DefaultValueForFile(descriptor, m_table).value_or(std::string());
    return std::string(Trim(FormatDefault(descriptor, m_table)));
}

int RulesFileAccess::WriteItemValue(TreeItem item) {
    const ValueLabelParts parts = SplitValueLabel(m_tree.GetItemText(item));
    const std::string value = parts.hasValue ? parts.value : DefaultValueOf(item);
    if (m_tree.GetParentItem(item) == kNoItem) return 0;
    const TreeItem sectionItem = FindSectionItem(item);
    if (sectionItem == kNoItem) return 0;
    return WriteValue(SectionNameOf(sectionItem), parts.key, value);
}

int RulesFileAccess::WriteValue(const std::string& section, const std::string& key, const std::string& value) {
    const int error = platform::WritePrivateProfileString(section, key, value, m_strRulesPath);
    if (error != 0) m_messages.ShowMessage(SaveFailureMessage(error, section, key), m_strRulesPath);
    return error;
}

}  // namespace morvane
