// The "game reads" line of the value editor: what the game makes of the shown key.
#include "editor/ValueEditor.h"
#include "gameview/GameIni.h"
#include "gameview/GameKeys.h"
#include "gameview/GameReading.h"
#include "platform/FileAccess.h"
#include "rulesfile/ValueLabel.h"

namespace morvane {

void ValueEditor::UpdateGameReads(TreeItem item) {
    m_strGameReads.clear();
    if (item == kNoItem || m_tree.ItemHasChildren(item) || m_tree.GetItemData(item).infoId == 0) return;
    const TreeItem sectionItem = m_rules.FindSectionItem(item);
    if (sectionItem == kNoItem) return;
    // A file that cannot be read holds nothing the game could see.
    const std::string bytes = platform::ReadFileBytes(m_rules.Rules().RulesPath()).value_or(std::string());
    const gameview::GameIni ini(bytes);
    m_strGameReads = gameview::DescribeGameReading(
        gameview::GameKeys::BuiltIn(), ini, m_rules.SectionNameOf(sectionItem), KeyOfLabel(m_tree.GetItemText(item)));
}

}  // namespace morvane
