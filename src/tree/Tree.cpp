#include "tree/Tree.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace morvane {
namespace {

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

TreeTextStore::TreeTextStore(const TreeTextStore& other) : m_largeSizes(other.m_largeSizes), m_end(other.m_end) {
    // Only the blocks in use are copied; the copy names its texts with the same numbers.
    const std::uint32_t usedBlocks = (m_end >> kBlockBits) + ((m_end & kBlockMask) != 0 ? 1 : 0);
    for (std::uint32_t block = 0; block < usedBlocks; ++block) {
        m_blocks.push_back(std::make_unique_for_overwrite<char[]>(kBlockSize));
        std::copy_n(other.m_blocks[block].get(), kBlockSize, m_blocks.back().get());
    }
    for (std::size_t large = 0; large < other.m_large.size(); ++large) {
        m_large.push_back(std::make_unique_for_overwrite<char[]>(m_largeSizes[large]));
        std::copy_n(other.m_large[large].get(), m_largeSizes[large], m_large.back().get());
    }
}

TreeTextStore& TreeTextStore::operator=(const TreeTextStore& other) {
    if (this != &other) *this = TreeTextStore(other);
    return *this;
}

std::uint32_t TreeTextStore::Add(std::string_view text) {
    if (text.empty()) return 0;
    if (text.size() > kLargeText) {
        if (m_large.size() >= kLargeBit || text.size() > std::numeric_limits<std::uint32_t>::max())
            throw std::length_error("too much text in the tree");
        m_large.push_back(std::make_unique_for_overwrite<char[]>(text.size()));
        m_largeSizes.push_back(static_cast<std::uint32_t>(text.size()));
        std::copy(text.begin(), text.end(), m_large.back().get());
        return static_cast<std::uint32_t>(m_large.size() - 1) | kLargeBit;
    }
    // A text never straddles two blocks: one that does not fit starts the next block.
    if ((m_end & kBlockMask) + text.size() > kBlockSize) m_end = ((m_end >> kBlockBits) + 1) << kBlockBits;
    const std::uint32_t block = m_end >> kBlockBits;
    if (block >= (kLargeBit >> kBlockBits)) throw std::length_error("too much text in the tree");
    // Blocks are kept when the store is emptied, so a new build writes over memory it has.
    if (block == m_blocks.size()) m_blocks.push_back(std::make_unique_for_overwrite<char[]>(kBlockSize));
    const std::uint32_t at = m_end;
    std::copy(text.begin(), text.end(), m_blocks[block].get() + (at & kBlockMask));
    m_end += static_cast<std::uint32_t>(text.size());
    return at;
}

void TreeTextStore::Clear() {
    m_end = 0;
    m_large.clear();
    m_largeSizes.clear();
}

Tree::Tree() : m_nodes(1) {}

TreeItem Tree::InsertItem(std::string_view label, int image, int selectedImage, TreeItemData data, TreeItem parent) {
    const auto item = static_cast<TreeItem>(m_nodes.size());
    {
        const Node& parentNode = m_nodes.at(parent);
        if (parentNode.childCount == parentNode.childRoom)
            GrowChildren(parent, std::max<std::size_t>(4, 2 * std::size_t{parentNode.childRoom}));
    }
    Node node;
    node.textAt = m_texts.Add(label);
    node.textSize = static_cast<std::uint32_t>(label.size());
    node.image = image;
    node.selectedImage = selectedImage;
    node.data = data;
    node.parent = parent;
    Node& parentNode = m_nodes[parent];
    node.indexInParent = parentNode.childCount;
    m_children[parentNode.childrenAt + parentNode.childCount++] = item;
    m_nodes.push_back(node);
    return item;
}

TreeItem Tree::InsertKeyItem(std::string_view key, std::optional<std::string_view> value, int image, int selectedImage,
                             TreeItemData data, TreeItem parent) {
    const TreeItem item = InsertItem(key, image, selectedImage, data, parent);
    Node& node = m_nodes[item];
    node.isKey = true;
    if (value) {
        node.hasValue = true;
        node.valueAt = m_texts.Add(*value);
        node.valueSize = static_cast<std::uint32_t>(value->size());
    }
    return item;
}

void Tree::GrowChildren(TreeItem parent, std::size_t room) {
    Node& node = m_nodes.at(parent);
    if (room <= node.childRoom) return;
    if (room > std::numeric_limits<std::uint32_t>::max() - m_children.size())
        throw std::length_error("too many items in the tree");
    if (node.childRoom != 0 && node.childrenAt + node.childRoom == m_children.size()) {
        // The last range grows where it is.
        m_children.resize(node.childrenAt + room);
    } else {
        const std::size_t at = m_children.size();
        m_children.resize(at + room);
        std::copy_n(m_children.begin() + node.childrenAt, node.childCount,
                    m_children.begin() + static_cast<std::ptrdiff_t>(at));
        node.childrenAt = static_cast<std::uint32_t>(at);
    }
    node.childRoom = static_cast<std::uint32_t>(room);
}

void Tree::DeleteAllItems() {
    // Items, child lists and text blocks keep their memory for the next build.
    m_nodes.resize(1);
    m_nodes[0] = Node{};
    m_children.clear();
    m_texts.Clear();
    m_drawn.clear();
}

TreeItem Tree::GetParentItem(TreeItem item) const { return item == kNoItem ? kNoItem : At(item).parent; }

TreeItem Tree::GetChildItem(TreeItem item) const {
    const Node& node = At(item);
    return node.childCount == 0 ? kNoItem : Children(node)[0];
}

TreeItem Tree::Sibling(TreeItem item, int step) const {
    if (item == kNoItem) return kNoItem;
    const Node& node = At(item);
    const Node& parent = At(node.parent);
    const auto index = static_cast<std::ptrdiff_t>(node.indexInParent) + step;
    if (index < 0 || index >= static_cast<std::ptrdiff_t>(parent.childCount)) return kNoItem;
    return Children(parent)[index];
}

TreeItem Tree::GetNextSiblingItem(TreeItem item) const { return Sibling(item, 1); }

bool Tree::ItemHasChildren(TreeItem item) const { return At(item).childCount != 0; }

std::string Tree::DrawLabel(const Node& node) const {
    const std::string_view key = TextOf(node);
    std::string label(key);
    if (const auto value = ValueOf(node); node.isKey && value) {
        label.reserve(key.size() + 3 + value->size());
        label += " = ";
        label += *value;
    }
    return label;
}

int Tree::CompareLabels(const Node& a, const Node& b) const {
    const auto piecesOf = [this](const Node& node) {
        LabelPieces pieces;
        if (node.isKey && node.hasValue)
            pieces = {{TextOf(node), " = ", *ValueOf(node)}, 3};
        else
            pieces.pieces[0] = TextOf(node);
        return pieces;
    };
    return ComparePieces(piecesOf(a), piecesOf(b));
}

const std::string& Tree::GetItemText(TreeItem item) const {
    const Node& node = At(item);
    if (node.drawn == 0) {
        m_drawn.push_back(DrawLabel(node));
        node.drawn = static_cast<std::uint32_t>(m_drawn.size());
    }
    return m_drawn[node.drawn - 1];
}

bool Tree::IsKeyItem(TreeItem item) const { return item != kNoItem && At(item).isKey; }

std::string_view Tree::GetItemKey(TreeItem item) const { return TextOf(At(item)); }

std::optional<std::string_view> Tree::GetItemValue(TreeItem item) const {
    const Node& node = At(item);
    if (!node.isKey) return std::nullopt;
    return ValueOf(node);
}

void Tree::SetItemValue(TreeItem item, std::optional<std::string_view> value) {
    if (!IsKeyItem(item)) return;
    // The old text stays in the store: a value handed out before stays valid.
    const std::uint32_t at = value ? m_texts.Add(*value) : 0;
    Node& node = m_nodes[item];
    node.hasValue = value.has_value();
    node.valueAt = at;
    node.valueSize = value ? static_cast<std::uint32_t>(value->size()) : 0;
    // A label handed out before stays valid and shows the new value.
    if (node.drawn != 0) m_drawn[node.drawn - 1] = DrawLabel(node);
    if (m_labelObserver) m_labelObserver(item);
}

TreeItemData Tree::GetItemData(TreeItem item) const { return At(item).data; }
int Tree::GetItemImage(TreeItem item) const { return At(item).image; }
int Tree::GetItemSelectedImage(TreeItem item) const { return At(item).selectedImage; }

void Tree::SortChildren(TreeItem parent) {
    const Node& parentNode = m_nodes.at(parent);
    const auto first = m_children.begin() + parentNode.childrenAt;
    const auto last = first + parentNode.childCount;
    const auto before = [this](TreeItem a, TreeItem b) { return CompareLabels(m_nodes[a], m_nodes[b]) < 0; };
    // Children added in order (as the builder adds an object's keys) need no sort.
    if (std::is_sorted(first, last, before)) return;
    std::stable_sort(first, last, before);
    std::uint32_t index = 0;
    for (auto child = first; child != last; ++child) m_nodes[*child].indexInParent = index++;
}

void Tree::ReserveChildren(TreeItem parent, std::size_t count) {
    const Node& node = m_nodes.at(parent);
    if (count > std::numeric_limits<std::uint32_t>::max() - node.childCount)
        throw std::length_error("too many items in the tree");
    GrowChildren(parent, node.childCount + count);
}

std::size_t Tree::IndexInParent(TreeItem item) const { return At(item).indexInParent; }
std::size_t Tree::ChildCount(TreeItem item) const { return At(item).childCount; }

TreeItem Tree::ChildAt(TreeItem item, std::size_t index) const {
    const Node& node = At(item);
    if (index >= node.childCount) throw std::out_of_range("no such child in the tree");
    return Children(node)[index];
}

}  // namespace morvane
