#include "editor/WriteSummary.h"

namespace morvane {

std::string DescribeItemWrite(const Tree& tree, const ItemFileAccess& items, TreeItem item) {
    const std::optional<std::string> value(tree.GetItemValue(item));
    const std::string key(tree.GetItemKey(item));
    const TreeItem section = items.FindSectionItem(item);
    const std::string sectionName = section == kNoItem ? std::string() : items.SectionNameOf(section);
    // A key without a value was taken out of the file.
    if (!value) return "Removed " + key + " from [" + sectionName + "]";
    return "Wrote " + key + "=" + *value + " to [" + sectionName + "]";
}

std::string DescribeMatchAllWrite(const std::string& key, const std::string& value, std::size_t sections) {
    return key + "=" + value + " written to " + std::to_string(sections) + (sections == 1 ? " section" : " sections");
}

}  // namespace morvane
