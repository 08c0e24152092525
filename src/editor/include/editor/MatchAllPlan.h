#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tree/ItemFileAccess.h"
#include "tree/Tree.h"

namespace morvane {

// One sibling section whose key Match All would change.
struct MatchAllChange {
    TreeItem item = kNoItem;              // the sibling's key item
    std::string section;                  // its INI section
    std::optional<std::string> oldValue;  // nothing when the file does not hold the key there
};

// What Match All In Section would do for one key: the value it copies and the siblings it
// changes, in tree order. Siblings that already hold the value are left out.
struct MatchAllPlan {
    std::string key;
    std::string value;
    bool keyAbsent = false;  // the shown key is not in the file: the siblings' keys would be emptied
    std::vector<MatchAllChange> changes;
};

// Why Match All is not offered for `item`, or empty when it is. It is offered on a key of a
// section that has siblings of the same kind (the objects of a group, the countries, the
// difficulties), not on the top-level sections, whose keys only share names.
std::string MatchAllRefusal(const Tree& tree, const ItemFileAccess& items, TreeItem item);

// The plan for a key item Match All is offered on (see MatchAllRefusal).
MatchAllPlan PlanMatchAll(const Tree& tree, const ItemFileAccess& items, TreeItem item);

// Writes every change of the plan in one replace of the file, then sets the siblings' labels.
// On failure the save-failure message is shown, nothing is written and no label changes.
// Returns the error number (0 on success, also when the plan changes nothing).
int ApplyMatchAll(const MatchAllPlan& plan, Tree& tree, RulesFileAccess& rules);

}  // namespace morvane
