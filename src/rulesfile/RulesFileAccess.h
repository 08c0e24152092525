#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "rulesfile/MessageSink.h"
#include "schema/StringTable.h"
#include "tree/Tree.h"

namespace morvane {

// Everything that reads or writes the rules file goes through here: one value read by the tree
// builder, one value written by Apply, Default and Match All.
class RulesFileAccess {
public:
    RulesFileAccess(const StringTable& table, Tree& tree, MessageSink& messages);

    void SetRulesPath(std::string path) { m_strRulesPath = std::move(path); }
    const std::string& RulesPath() const { return m_strRulesPath; }

    // The value of a key as the tree shows it, or nothing when the file does not hold it.
    std::optional<std::string> ReadValue(std::string_view section, std::string_view key) const;

    // The nearest ancestor of a key item that names an INI section (kNoItem when none does).
    TreeItem FindSectionItem(TreeItem item) const;
    // The INI section a section, object or "General" item names.
    std::string SectionNameOf(TreeItem sectionItem) const;

    // Writes the value the item's label shows into the file; a bare label writes the key's
    // default. On failure the save-failure message is shown. Returns the error number (0 on
    // success, and 0 when the item has no section above it and nothing is written).
    int WriteItemValue(TreeItem item);

    // One write of a key, with the save-failure message on failure; returns the error number.
    int WriteValue(const std::string& section, const std::string& key, const std::string& value);

    // The default of a key item as it is stored when its label is bare: the NAME of a list
    // entry, the shown default of every other kind, trimmed.
    std::string DefaultValueOf(TreeItem item) const;

private:
    const StringTable& m_table;
    Tree& m_tree;
    MessageSink& m_messages;
    std::string m_strRulesPath;
};

}  // namespace morvane
