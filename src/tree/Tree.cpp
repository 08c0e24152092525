#include "tree/Tree.h"

#include <algorithm>

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

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// A label as the pieces it is drawn from: the bare label, or key, " = " and value.
struct LabelPieces {
    std::string_view pieces[3];
    std::size_t count = 1;
};

// The order of CompareNoCase over the joined pieces.
int ComparePieces(const LabelPieces& a, const LabelPieces& b) {
    std::size_t pieceA = 0;
    std::size_t pieceB = 0;
    std::string_view restA = a.pieces[0];
    std::string_view restB = b.pieces[0];
    for (;;) {
        while (restA.empty() && pieceA + 1 < a.count) restA = a.pieces[++pieceA];
        while (restB.empty() && pieceB + 1 < b.count) restB = b.pieces[++pieceB];
        if (restA.empty() || restB.empty()) return restA.empty() == restB.empty() ? 0 : (restA.empty() ? -1 : 1);
        const std::size_t common = std::min(restA.size(), restB.size());
        for (std::size_t i = 0; i < common; ++i) {
            const auto ca = static_cast<unsigned char>(LowerAscii(restA[i]));
            const auto cb = static_cast<unsigned char>(LowerAscii(restB[i]));
            if (ca != cb) return ca < cb ? -1 : 1;
        }
        restA.remove_prefix(common);
        restB.remove_prefix(common);
    }
}

}  // namespace

Tree::Tree() : m_nodes(1) {}

TreeItem Tree::InsertItem(std::string label, int image, int selectedImage, TreeItemData data, TreeItem parent) {
    const auto item = static_cast<TreeItem>(m_nodes.size());
    const std::size_t indexInParent = m_nodes.at(parent).children.size();
    Node& node = m_nodes.emplace_back();
    node.text = std::move(label);
    node.image = image;
    node.selectedImage = selectedImage;
    node.data = data;
    node.parent = parent;
    node.indexInParent = static_cast<std::uint32_t>(indexInParent);
    m_nodes[parent].children.push_back(item);
    return item;
}

TreeItem Tree::InsertKeyItem(std::string key, std::optional<std::string> value, int image, int selectedImage,
                             TreeItemData data, TreeItem parent) {
    const TreeItem item = InsertItem(std::move(key), image, selectedImage, data, parent);
    Node& node = m_nodes[item];
    node.isKey = true;
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

const std::string& Tree::LabelOf(const Node& node) {
    if (!node.isKey) return node.text;
    if (!node.drawn.text) node.drawn.text = std::make_unique<std::string>(DrawLabel(node.text, node.value));
    return *node.drawn.text;
}

int Tree::CompareLabels(const Node& a, const Node& b) {
    const auto piecesOf = [](const Node& node) {
        LabelPieces pieces;
        if (node.isKey && node.value)
            pieces = {{node.text, " = ", *node.value}, 3};
        else
            pieces.pieces[0] = node.text;
        return pieces;
    };
    return ComparePieces(piecesOf(a), piecesOf(b));
}

const std::string& Tree::GetItemText(TreeItem item) const { return LabelOf(At(item)); }

bool Tree::IsKeyItem(TreeItem item) const { return item != kNoItem && At(item).isKey; }

const std::string& Tree::GetItemKey(TreeItem item) const {
    const Node& node = At(item);
    return node.text;
}

const std::optional<std::string>& Tree::GetItemValue(TreeItem item) const { return At(item).value; }

void Tree::SetItemValue(TreeItem item, std::optional<std::string> value) {
    if (!IsKeyItem(item)) return;
    Node& node = m_nodes[item];
    node.value = std::move(value);
    // A label handed out before stays valid and shows the new value.
    if (node.drawn.text) *node.drawn.text = DrawLabel(node.text, node.value);
    if (m_labelObserver) m_labelObserver(item);
}

TreeItemData Tree::GetItemData(TreeItem item) const { return At(item).data; }
int Tree::GetItemImage(TreeItem item) const { return At(item).image; }
int Tree::GetItemSelectedImage(TreeItem item) const { return At(item).selectedImage; }

void Tree::SortChildren(TreeItem parent) {
    auto& children = m_nodes.at(parent).children;
    const auto before = [this](TreeItem a, TreeItem b) { return CompareLabels(m_nodes[a], m_nodes[b]) < 0; };
    // Children added in order (as the builder adds an object's keys) need no sort.
    if (std::is_sorted(children.begin(), children.end(), before)) return;
    std::stable_sort(children.begin(), children.end(), before);
    for (std::size_t index = 0; index < children.size(); ++index)
        m_nodes[children[index]].indexInParent = static_cast<std::uint32_t>(index);
}

void Tree::ReserveChildren(TreeItem parent, std::size_t count) {
    auto& children = m_nodes.at(parent).children;
    children.reserve(children.size() + count);
}

std::size_t Tree::IndexInParent(TreeItem item) const { return At(item).indexInParent; }
std::size_t Tree::ChildCount(TreeItem item) const { return At(item).children.size(); }
TreeItem Tree::ChildAt(TreeItem item, std::size_t index) const { return At(item).children.at(index); }

}  // namespace morvane
