#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "rulesfile/RulesFileAccess.h"
#include "schema/CatalogueWalks.h"
#include "schema/StringTable.h"
#include "tree/Tree.h"

namespace morvane {

// Builds the navigation tree from the catalogue and labels every key with its value from the
// rules file: categories, sections, groups and objects, and under each its key items.
class TreeBuilder {
public:
    TreeBuilder(Tree& tree, const StringTable& table, RulesFileAccess& rules);

    // Deletes every item and builds the whole tree from the file as it is now (the document
    // reads it again when it changed).
    void BuildTree();

    // The "General" root item with its ten groups of keys.
    TreeItem AddGeneralBranch(std::string_view sectionName);
    // A section item at the root / under `parent`, with the keys of its key list.
    TreeItem AddSectionItem(std::string_view label, std::uint16_t infoId, std::uint16_t nameId, std::uint16_t keyListId,
                            int image);
    TreeItem AddChildSectionItem(TreeItem parent, std::string_view label, std::uint16_t infoId, std::uint16_t nameId,
                                 std::uint16_t keyListId, int image);
    // One object item for each object-list entry firstId to lastId, each with its keys.
    bool AddObjectItems(TreeItem parent, std::uint16_t firstId, std::uint16_t lastId);

    // The key items of a key list, valued from `sectionName`; the caller sorts when it wants.
    bool AddSectionKeys(std::string_view sectionName, TreeItem parent, std::uint16_t keyListId);
    // The key items of an object's descriptor block, valued from `sectionName`, then sorted.
    void AddObjectKeys(TreeItem parent, std::string_view sectionName, std::uint16_t descriptorBase);

private:
    // m_found[i]: the file's value of the plan's i-th key in the section, if it holds the key.
    void FindValues(std::string_view sectionName, const KeyPlan& plan);
    void AddPlannedKey(TreeItem parent, const KeyPlan& plan, std::uint32_t position);

    Tree& m_tree;
    const StringTable& m_table;
    RulesFileAccess& m_rules;
    std::vector<std::optional<std::string_view>> m_found;
};

}  // namespace morvane
