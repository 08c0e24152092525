#include "editor/MatchAllPlan.h"

#include "platform/ProfileApi.h"

namespace morvane {

std::string MatchAllRefusal(const Tree& tree, const ItemFileAccess& items, TreeItem item) {
    if (item == kNoItem) return "No key is selected.";
    if (tree.ItemHasChildren(item) || tree.GetParentItem(item) == kNoItem)
        return "Match All In Section copies the value of a key; select a key.";
    const TreeItem section = items.FindSectionItem(item);
    if (section == kNoItem) return "This key belongs to no section.";
    if (tree.GetParentItem(section) == kNoItem)
        return "[" + items.SectionNameOf(section) +
               "] is a section of its own: the other top-level sections hold different settings that only "
               "share key names, so Match All In Section is not offered for it.";
    return {};
}

MatchAllPlan PlanMatchAll(const Tree& tree, const ItemFileAccess& items, TreeItem item) {
    MatchAllPlan plan;
    const std::optional<std::string_view> value = tree.GetItemValue(item);
    plan.key = tree.GetItemKey(item);
    plan.value = value.value_or(std::string_view());
    plan.keyAbsent = !value;
    const TreeItem sectionItem = items.FindSectionItem(item);
    if (sectionItem == kNoItem) return plan;
    const TreeItem group = tree.GetParentItem(sectionItem);
    for (TreeItem sibling = tree.GetChildItem(group); sibling != kNoItem; sibling = tree.GetNextSiblingItem(sibling)) {
        // A category names no section, and the shown section keeps its own value.
        if (sibling == sectionItem || tree.GetItemData(sibling).nameId == 0) continue;
        for (TreeItem child = tree.GetChildItem(sibling); child != kNoItem; child = tree.GetNextSiblingItem(child)) {
            if (!tree.IsKeyItem(child) || tree.GetItemKey(child) != plan.key) continue;
            // Only the first key item of that name in a section is the one the file holds.
            const std::optional<std::string_view> childValue = tree.GetItemValue(child);
            if (childValue != plan.value)
                plan.changes.push_back(
                    MatchAllChange{child, items.SectionNameOf(sibling), std::optional<std::string>(childValue)});
            break;
        }
    }
    return plan;
}

int ApplyMatchAll(const MatchAllPlan& plan, Tree& tree, RulesFileAccess& rules) {
    if (plan.changes.empty()) return 0;
    std::vector<platform::ProfileWrite> writes;
    writes.reserve(plan.changes.size());
    for (const MatchAllChange& change : plan.changes) writes.push_back({change.section, plan.key, plan.value});
    const int error = rules.WriteValues(writes);
    if (error != 0) return error;
    for (const MatchAllChange& change : plan.changes) tree.SetItemValue(change.item, plan.value);
    return 0;
}

}  // namespace morvane
