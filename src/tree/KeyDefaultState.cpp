#include "tree/KeyDefaultState.h"

#include "common/TextOps.h"
#include "rulesfile/ValueLabel.h"

namespace morvane {

bool SameAsDefault(std::string_view value, std::string_view defaultValue) {
    return EqualsNoCase(Trim(value), Trim(defaultValue));
}

KeyDefaultState DescribeKeyDefaultState(const ItemFileAccess& items, const Tree& tree, TreeItem item) {
    KeyDefaultState state;
    if (item == kNoItem || tree.ItemHasChildren(item) || tree.GetItemData(item).infoId == 0 ||
        items.FindSectionItem(item) == kNoItem)
        return state;
    state.isKey = true;
    state.defaultValue = items.DefaultValueOf(item);
    const ValueLabelParts parts = SplitValueLabel(tree.GetItemText(item));
    state.present = parts.hasValue;
    state.changed = parts.hasValue && !SameAsDefault(parts.value, state.defaultValue);
    return state;
}

}  // namespace morvane
