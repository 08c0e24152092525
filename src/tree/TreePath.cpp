#include "tree/TreePath.h"

#include "common/TextOps.h"

namespace morvane {
namespace {

TreeItem FindChild(const Tree& tree, TreeItem parent, std::string_view name) {
    TreeItem anyCase = kNoItem;
    for (TreeItem item = tree.GetChildItem(parent); item != kNoItem; item = tree.GetNextSiblingItem(item)) {
        const std::string_view label = Trim(tree.GetItemKey(item));
        if (label == name) return item;
        if (anyCase == kNoItem && EqualsNoCase(label, name)) anyCase = item;
    }
    return anyCase;
}

}  // namespace

TreeItem FindItemByPath(const Tree& tree, std::string_view path) {
    TreeItem current = kRoot;
    while (true) {
        const Split level = SplitAtFirst(path, '\\');
        current = FindChild(tree, current, Trim(level.before));
        if (current == kNoItem || !level.found) return current;
        path = level.after;
    }
}

std::string PathOfItem(const Tree& tree, TreeItem item) {
    std::string path;
    for (TreeItem current = item; current != kNoItem; current = tree.GetParentItem(current)) {
        const std::string level(Trim(tree.GetItemKey(current)));
        if (!path.empty()) path.insert(0, "\\");
        path.insert(0, level);
    }
    return path;
}

}  // namespace morvane
