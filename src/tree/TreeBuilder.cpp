#include "tree/TreeBuilder.h"

#include "schema/CatalogueLayout.h"
#include "schema/CatalogueWalks.h"

namespace morvane {

TreeBuilder::TreeBuilder(Tree& tree, const StringTable& table, RulesFileAccess& rules)
    : m_tree(tree), m_table(table), m_rules(rules) {}

void TreeBuilder::BuildTree() {
    m_rules.Document().Refresh();
    m_tree.DeleteAllItems();
    AddGeneralBranch(layout::kGeneralSection);

    for (const auto& section : layout::kRootSections) {
        const TreeItem item =
            AddSectionItem(section.label, section.infoId, section.nameId, section.keyListId, section.image);
        m_tree.SortChildren(item);
    }

    const auto& countries = layout::kCountryHeading;
    const TreeItem countryRoot =
        m_tree.InsertItem(countries.label, countries.image, countries.selectedImage, {0, countries.infoId});
    for (const auto& country : layout::kCountries)
        AddChildSectionItem(countryRoot, country.label, country.infoId, country.nameId, country.keyListId,
                            country.image);
    const auto& houses = layout::kOtherHousesHeading;
    const TreeItem houseGroup =
        m_tree.InsertItem(houses.label, houses.image, houses.selectedImage, {0, houses.infoId}, countryRoot);
    for (const auto& house : layout::kOtherHouses)
        AddChildSectionItem(houseGroup, house.label, house.infoId, house.nameId, house.keyListId, house.image);
    m_tree.SortChildren(houseGroup);
    m_tree.SortChildren(countryRoot);

    const auto& difficulties = layout::kDifficultyHeading;
    const TreeItem difficultyRoot =
        m_tree.InsertItem(difficulties.label, difficulties.image, difficulties.selectedImage, {0, difficulties.infoId});
    for (const auto& level : layout::kDifficulties)
        AddChildSectionItem(difficultyRoot, level.label, level.infoId, level.nameId, level.keyListId, level.image);

    const auto addGroups = [this](const layout::Heading& heading, const auto& groups) {
        const TreeItem root =
            m_tree.InsertItem(heading.label, heading.image, heading.selectedImage, {0, heading.infoId});
        for (const auto& group : groups) {
            const TreeItem item =
                m_tree.InsertItem(group.label, layout::kFolderClosedImage, layout::kFolderOpenImage, {}, root);
            AddObjectItems(item, group.firstId, group.lastId);
            if (group.moreFirstId != 0) AddObjectItems(item, group.moreFirstId, group.moreLastId);
            m_tree.SortChildren(item);
        }
    };
    addGroups(layout::kUnitsHeading, layout::kUnitGroups);
    addGroups(layout::kStructuresHeading, layout::kStructureGroups);

    for (const auto& category : layout::kObjectCategories) {
        const TreeItem item = m_tree.InsertItem(category.label, category.image, category.image, {0, category.infoId});
        AddObjectItems(item, category.firstId, category.lastId);
        m_tree.SortChildren(item);
    }

    const auto& powerups = layout::kPowerups;
    const TreeItem item =
        AddSectionItem(powerups.label, powerups.infoId, powerups.nameId, powerups.keyListId, powerups.image);
    m_tree.SortChildren(item);
}

TreeItem TreeBuilder::AddGeneralBranch(std::string_view sectionName) {
    const TreeItem general = m_tree.InsertItem(sectionName, layout::kGeneralImage, layout::kGeneralImage,
                                               {layout::kGeneralNameId, layout::kGeneralInfoId});
    for (const auto& group : layout::kGeneralGroups) {
        const TreeItem item = m_tree.InsertItem(group.label, group.image, group.image, {0, group.infoId}, general);
        AddSectionKeys(sectionName, item, group.keyListId);
        m_tree.SortChildren(item);
    }
    return general;
}

TreeItem TreeBuilder::AddSectionItem(std::string_view label, std::uint16_t infoId, std::uint16_t nameId,
                                     std::uint16_t keyListId, int image) {
    return AddChildSectionItem(kRoot, label, infoId, nameId, keyListId, image);
}

TreeItem TreeBuilder::AddChildSectionItem(TreeItem parent, std::string_view label, std::uint16_t infoId,
                                          std::uint16_t nameId, std::uint16_t keyListId, int image) {
    const TreeItem item = m_tree.InsertItem(label, image, image, {nameId, infoId}, parent);
    AddSectionKeys(label, item, keyListId);
    return item;
}

bool TreeBuilder::AddObjectItems(TreeItem parent, std::uint16_t firstId, std::uint16_t lastId) {
    for (const ObjectListItem& object : KeptObjectList(m_table, firstId, lastId)) {
        const ObjectListEntry& entry = object.entry;
        const TreeItem item = m_tree.InsertItem(entry.label, entry.imageIndex, entry.imageIndex,
                                                {object.id, entry.descriptionId}, parent);
        if (entry.hasBlock) AddObjectKeys(item, entry.section, entry.descriptorBase);
    }
    return true;
}

}  // namespace morvane
