#include "editor/WriteSummary.h"

#include "rulesfile/ValueLabel.h"

namespace morvane {

std::string DescribeItemWrite(const Tree& tree, const ItemFileAccess& items, TreeItem item) {
    const ValueLabelParts parts = SplitValueLabel(tree.GetItemText(item));
    // A bare label stores the key's default, as the write itself does.
    const std::string value = parts.hasValue ? parts.value : items.DefaultValueOf(item);
    const TreeItem section = items.FindSectionItem(item);
    const std::string sectionName = section == kNoItem ? std::string() : items.SectionNameOf(section);
    return "Wrote " + parts.key + "=" + value + " to [" + sectionName + "]";
}

std::string DescribeMatchAllWrite(const std::string& key, const std::string& value, std::size_t sections) {
    return key + "=" + value + " written to " + std::to_string(sections) + (sections == 1 ? " section" : " sections");
}

}  // namespace morvane
