// The key items under a section or an object, each labelled with its value from the rules file.
#include "schema/CatalogueLayout.h"
#include "schema/CatalogueWalks.h"
#include "tree/TreeBuilder.h"

namespace morvane {

void TreeBuilder::FindValues(std::string_view sectionName, const KeyPlan& plan) {
    // One walk over the section's keys in the file, each looked up in the plan: the first key
    // of a name in the file gives the value, as a lookup of that key would.
    m_found.assign(plan.Keys().size(), std::nullopt);
    m_rules.Document().Ini().ForEachKey(sectionName, [&](std::string_view key, std::string_view value) {
        for (std::uint32_t at = plan.Find(key); at != KeyPlan::kNone; at = plan.NextSameName(at))
            if (!m_found[at]) m_found[at] = value;
    });
}

void TreeBuilder::AddPlannedKey(TreeItem parent, const KeyPlan& plan, std::uint32_t position) {
    const ObjectKey& key = plan.Keys()[position];
    const std::optional<std::string_view>& found = m_found[position];
    m_tree.InsertKeyItem(key.key, found ? std::optional<std::string_view>(EditorValueView(*found)) : std::nullopt,
                         layout::kFolderClosedImage, layout::kFolderOpenImage, {key.keyNameId, key.descriptorId},
                         parent);
}

bool TreeBuilder::AddSectionKeys(std::string_view sectionName, TreeItem parent, std::uint16_t keyListId) {
    const KeyPlan& plan = KeptKeyListPlan(m_table, keyListId);
    FindValues(sectionName, plan);
    m_tree.ReserveChildren(parent, plan.Keys().size());
    for (std::uint32_t position = 0; position < plan.Keys().size(); ++position) AddPlannedKey(parent, plan, position);
    return true;
}

void TreeBuilder::AddObjectKeys(TreeItem parent, std::string_view sectionName, std::uint16_t descriptorBase) {
    const KeyPlan& plan = KeptObjectKeyPlan(m_table, descriptorBase);
    FindValues(sectionName, plan);
    m_tree.ReserveChildren(parent, plan.Keys().size());
    // Added in the order of their names: mostly the order of their labels already.
    for (const std::uint32_t position : plan.SortedOrder()) AddPlannedKey(parent, plan, position);
    if (!plan.LabelsFollowNames()) m_tree.SortChildren(parent);
}

}  // namespace morvane
