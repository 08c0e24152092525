#pragma once

#include <optional>
#include <string>

#include "rulesfile/RulesFileAccess.h"
#include "schema/StringTable.h"
#include "tree/Tree.h"

namespace morvane {

// Reading and writing the rules file item by item: which section a key item belongs to, what
// its default is, and the write of the value it holds.
class ItemFileAccess {
public:
    ItemFileAccess(const StringTable& table, Tree& tree, RulesFileAccess& rules);

    RulesFileAccess& Rules() { return m_rules; }
    const RulesFileAccess& Rules() const { return m_rules; }

    // The nearest ancestor of a key item that names an INI section (kNoItem when none does).
    TreeItem FindSectionItem(TreeItem item) const;
    // The INI section a section, object or "General" item names.
    std::string SectionNameOf(TreeItem sectionItem) const;

    // Writes the value the key item holds into the file; a key item without a value takes its
    // key out of the file. On failure the save-failure message is shown. Returns the error
    // number (0 on success, and 0 when the item has no section above it and nothing is written).
    int WriteItemValue(TreeItem item);

    // The default of a key item as Default writes it: the NAME of a list entry, Verses joined
    // by commas, the shown default of every other kind, trimmed. Nothing when the key has no
    // default text (the game then uses its built-in value); yes/no and true/false keys always
    // have one.
    std::optional<std::string> DefaultValueOf(TreeItem item) const;

private:
    const StringTable& m_table;
    Tree& m_tree;
    RulesFileAccess& m_rules;
};

}  // namespace morvane
