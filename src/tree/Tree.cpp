#include "tree/Tree.h"

#include <algorithm>

#include "common/TextOps.h"

namespace morvane {
namespace {

std::string DrawLabel(std::string_view key, const std::optional<std::string>& value) {
    std::string label(key);
    if (value) {
        label.reserve(key.size() + 3 + value->size());
        label += " = ";
        label += *value;
    }
    return label;
}

}  // namespace

Tree::Tree() : m_nodes(1) {}

TreeItem Tree::InsertItem(std::string label, int image, int selectedImage, TreeItemData data, TreeItem parent) {
    const auto item = static_cast<TreeItem>(m_nodes.size());
    Node node;
    node.label = std::move(label);
    node.image = image;
    node.selectedImage = selectedImage;
    node.data = data;
    node.parent = parent;
    node.indexInParent = m_nodes.at(parent).children.size();
    m_nodes.push_back(std::move(node));
    m_nodes[parent].children.push_back(item);
    return item;
}

TreeItem Tree::InsertKeyItem(std::string key, std::optional<std::string> value, int image, int selectedImage,
                             TreeItemData data, TreeItem parent) {
    const TreeItem item = InsertItem(DrawLabel(key, value), image, selectedImage, data, parent);
    Node& node = m_nodes[item];
    node.isKey = true;
    node.key = std::move(key);
    node.value = std::move(value);
    return item;
}

void Tree::DeleteAllItems() { m_nodes.assign(1, Node{}); }

TreeItem Tree::GetParentItem(TreeItem item) const { return item == kNoItem ? kNoItem : At(item).parent; }

TreeItem Tree::GetChildItem(TreeItem item) const {
    const auto& children = At(item).children;
    return children.empty() ? kNoItem : children.front();
}

TreeItem Tree::Sibling(TreeItem item, int step) const {
    if (item == kNoItem) return kNoItem;
    const Node& node = At(item);
    const auto& siblings = At(node.parent).children;
    const auto index = static_cast<std::ptrdiff_t>(node.indexInParent) + step;
    if (index < 0 || index >= static_cast<std::ptrdiff_t>(siblings.size())) return kNoItem;
    return siblings[static_cast<std::size_t>(index)];
}

TreeItem Tree::GetNextSiblingItem(TreeItem item) const { return Sibling(item, 1); }

bool Tree::ItemHasChildren(TreeItem item) const { return !At(item).children.empty(); }

const std::string& Tree::GetItemText(TreeItem item) const { return At(item).label; }

bool Tree::IsKeyItem(TreeItem item) const { return item != kNoItem && At(item).isKey; }

const std::string& Tree::GetItemKey(TreeItem item) const {
    const Node& node = At(item);
    return node.isKey ? node.key : node.label;
}

const std::optional<std::string>& Tree::GetItemValue(TreeItem item) const { return At(item).value; }

void Tree::SetItemValue(TreeItem item, std::optional<std::string> value) {
    if (!IsKeyItem(item)) return;
    Node& node = m_nodes[item];
    node.value = std::move(value);
    node.label = DrawLabel(node.key, node.value);
    if (m_labelObserver) m_labelObserver(item);
}

TreeItemData Tree::GetItemData(TreeItem item) const { return At(item).data; }
int Tree::GetItemImage(TreeItem item) const { return At(item).image; }
int Tree::GetItemSelectedImage(TreeItem item) const { return At(item).selectedImage; }

void Tree::SortChildren(TreeItem parent) {
    auto& children = m_nodes.at(parent).children;
    std::stable_sort(children.begin(), children.end(),
                     [this](TreeItem a, TreeItem b) { return CompareNoCase(m_nodes[a].label, m_nodes[b].label) < 0; });
    for (std::size_t index = 0; index < children.size(); ++index) m_nodes[children[index]].indexInParent = index;
}

std::size_t Tree::IndexInParent(TreeItem item) const { return At(item).indexInParent; }
std::size_t Tree::ChildCount(TreeItem item) const { return At(item).children.size(); }
TreeItem Tree::ChildAt(TreeItem item, std::size_t index) const { return At(item).children.at(index); }

}  // namespace morvane
