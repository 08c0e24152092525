// The key items under a section or an object, each labelled with its value from the rules file.
#include "schema/CatalogueLayout.h"
#include "schema/CatalogueWalks.h"
#include "tree/TreeBuilder.h"

namespace morvane {

bool TreeBuilder::AddSectionKeys(std::string_view sectionName, TreeItem parent, std::uint16_t keyListId) {
    for (const KeyListLine& line : SplitKeyList(m_table.Text(keyListId))) {
        m_tree.InsertKeyItem(std::string(line.key), m_rules.ReadValue(sectionName, line.key),
                             layout::kFolderClosedImage, layout::kFolderOpenImage, {0, line.descriptorId}, parent);
    }
    return true;
}

void TreeBuilder::AddObjectKeys(TreeItem parent, std::string_view sectionName, std::uint16_t descriptorBase) {
    for (const ObjectKey& key : KeptObjectKeys(m_table, descriptorBase)) {
        m_tree.InsertKeyItem(std::string(key.key), m_rules.ReadValue(sectionName, key.key), layout::kFolderClosedImage,
                             layout::kFolderOpenImage, {key.keyNameId, key.descriptorId}, parent);
    }
    m_tree.SortChildren(parent);
}

}  // namespace morvane
