// The "game reads" line of the value editor: what the game makes of the shown key.
#include "editor/ValueEditor.h"
#include "gameview/GameIni.h"
#include "gameview/GameKeys.h"
#include "gameview/GameReading.h"

namespace morvane {

void ValueEditor::UpdateGameReads(TreeItem item) {
    m_strGameReads.clear();
    if (item == kNoItem || m_tree.ItemHasChildren(item) || m_tree.GetItemData(item).infoId == 0) return;
    const TreeItem sectionItem = m_rules.FindSectionItem(item);
    if (sectionItem == kNoItem) return;
    // The document's reading, made once per change of the file (a file that cannot be read holds
    // nothing the game could see); a look at the file's identity tells whether it changed.
    RulesDocument& document = m_rules.Rules().Document();
    document.Refresh();
    m_strGameReads = gameview::DescribeGameReading(gameview::GameKeys::BuiltIn(), document.Game(),
                                                   m_rules.SectionNameOf(sectionItem), m_tree.GetItemKey(item));
}

}  // namespace morvane
