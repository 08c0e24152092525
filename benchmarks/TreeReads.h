// Every (section, key) read a tree build makes on a rules file, in its order: what the floor
// reader looks up, so that it cannot drift from what the tree does.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "rulesfile/MessageSink.h"
#include "rulesfile/RulesFileAccess.h"
#include "schema/CatalogueFile.h"
#include "tree/ItemFileAccess.h"
#include "tree/Tree.h"
#include "tree/TreeBuilder.h"

namespace morvane::bench {

class QuietSink : public MessageSink {
public:
    void ShowMessage(const std::string&, const std::string&) override {}
};

struct TreeReadList {
    std::vector<std::pair<std::string, std::string>> reads;
    std::string error;  // empty, or why the reads could not be worked out
};

// Builds the tree once and takes every key item's section and key: a build reads each key
// item's value once and nothing else. A key item is a leaf with a section item above it (an
// object without keys is a leaf too, but has none). Each read is made again and compared with
// the item's value.
inline TreeReadList TreeReads(const std::string& path) {
    TreeReadList list;
    Tree tree;
    QuietSink sink;
    RulesFileAccess rules(sink);
    rules.SetRulesPath(path);
    const ItemFileAccess items(BuiltInCatalogue(), tree, rules);
    TreeBuilder(tree, BuiltInCatalogue(), rules).BuildTree();
    for (TreeItem item = 1; item <= tree.ItemCount(); ++item) {
        if (tree.ItemHasChildren(item)) continue;
        const TreeItem sectionItem = items.FindSectionItem(item);
        if (sectionItem == kNoItem) continue;
        std::string section = items.SectionNameOf(sectionItem);
        std::string key(tree.GetItemKey(item));
        if (rules.ReadValue(section, key) != tree.GetItemValue(item)) {
            list.error = "read of [" + section + "] " + key + " differs from what the tree shows: \"" +
                         tree.GetItemText(item) + "\"";
            return list;
        }
        list.reads.emplace_back(std::move(section), std::move(key));
    }
    if (list.reads.empty()) list.error = "the tree has no key items";
    return list;
}

}  // namespace morvane::bench
