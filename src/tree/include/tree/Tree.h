#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

// A handle of a tree item; 0 names no item (and, as a parent, the root level).
using TreeItem = std::uint32_t;
inline constexpr TreeItem kNoItem = 0;
inline constexpr TreeItem kRoot = 0;

// The one integer every item carries: the id of the string naming its INI section or key in
// the high 16 bits, the id of its descriptor or heading in the low 16 bits.
struct TreeItemData {
    std::uint16_t nameId = 0;
    std::uint16_t infoId = 0;

    bool operator==(const TreeItemData&) const = default;
};

// The texts of a tree's items, copied into fixed blocks that never move: a text handed out
// stays where it is until the tree is emptied. A text is named by one number, so that a copy
// of the store names the same texts; blocks are kept when the store is emptied.
class TreeTextStore {
public:
    TreeTextStore() = default;
    TreeTextStore(const TreeTextStore& other);
    TreeTextStore& operator=(const TreeTextStore& other);
    TreeTextStore(TreeTextStore&&) noexcept = default;
    TreeTextStore& operator=(TreeTextStore&&) noexcept = default;
    ~TreeTextStore() = default;

    std::uint32_t Add(std::string_view text);
    std::string_view Get(std::uint32_t at, std::uint32_t size) const {
        if (size == 0) return {};
        const char* block = (at & kLargeBit) != 0 ? m_large[at & ~kLargeBit].get() : m_blocks[at >> kBlockBits].get();
        return {block + ((at & kLargeBit) != 0 ? 0 : (at & kBlockMask)), size};
    }
    void Clear();

private:
    static constexpr std::uint32_t kBlockBits = 16;
    static constexpr std::uint32_t kBlockSize = std::uint32_t{1} << kBlockBits;
    static constexpr std::uint32_t kBlockMask = kBlockSize - 1;
    static constexpr std::uint32_t kLargeBit = std::uint32_t{1} << 31;
    // Texts longer than this get a block of their own.
    static constexpr std::size_t kLargeText = kBlockSize / 16;

    std::vector<std::unique_ptr<char[]>> m_blocks;  // kBlockSize bytes each
    std::vector<std::unique_ptr<char[]>> m_large;
    std::vector<std::uint32_t> m_largeSizes;
    std::uint32_t m_end = 0;  // where the next text goes: block number, then offset
};

// The navigation tree's items: labels, images and data, linked as parent, children and
// siblings. Items live in one vector; a handle is an index. An item's texts live in a text
// store and its children in one shared list, where each parent owns a range.
//
// A key item holds its key and its value in the rules file (or nothing when the file does not
// hold the key); its label is drawn from them: the bare key, or key " = " value. Any text is a
// value, the empty text and "Empty" too.
//
// Keys and values are handed out as views; they stay valid until the tree is emptied (a value
// that is set again keeps its old text where it was).
class Tree {
public:
    Tree();

    // Appends an item as the last child of `parent` (kRoot for the top level).
    TreeItem InsertItem(std::string_view label, int image, int selectedImage, TreeItemData data,
                        TreeItem parent = kRoot);
    // The same for a key item.
    TreeItem InsertKeyItem(std::string_view key, std::optional<std::string_view> value, int image, int selectedImage,
                           TreeItemData data, TreeItem parent);
    void DeleteAllItems();

    TreeItem GetParentItem(TreeItem item) const;
    TreeItem GetChildItem(TreeItem item) const;  // the first child; kRoot gives the first top-level item
    TreeItem GetNextSiblingItem(TreeItem item) const;
    bool ItemHasChildren(TreeItem item) const;

    // The label, drawn when first asked for; a key item's label follows its value.
    const std::string& GetItemText(TreeItem item) const;

    bool IsKeyItem(TreeItem item) const;
    // A key item's key; the label of any other item.
    std::string_view GetItemKey(TreeItem item) const;
    // A key item's value; nothing when the file does not hold the key, and for other items.
    std::optional<std::string_view> GetItemValue(TreeItem item) const;
    // Sets a key item's value and draws its label again; ignored for other items.
    void SetItemValue(TreeItem item, std::optional<std::string_view> value);
    TreeItemData GetItemData(TreeItem item) const;
    int GetItemImage(TreeItem item) const;
    int GetItemSelectedImage(TreeItem item) const;

    // Puts the direct children of `parent` in ascending order of their labels, compared without
    // regard to case; equal labels keep their order. Not recursive.
    void SortChildren(TreeItem parent);
    // Makes room for `count` more children of `parent`.
    void ReserveChildren(TreeItem parent, std::size_t count);

    std::size_t ItemCount() const { return m_nodes.size() - 1; }
    // The position of an item among its siblings (0 for the first).
    std::size_t IndexInParent(TreeItem item) const;
    std::size_t ChildCount(TreeItem item) const;
    TreeItem ChildAt(TreeItem item, std::size_t index) const;

    // Told about every label change, so that a view can redraw that row.
    void SetLabelObserver(std::function<void(TreeItem)> observer) { m_labelObserver = std::move(observer); }

private:
    // Plain data only, so that emptying the tree frees nothing item by item.
    struct Node {
        std::uint32_t textAt = 0;  // the label; a key item's key
        std::uint32_t textSize = 0;
        std::uint32_t valueAt = 0;
        std::uint32_t valueSize = 0;
        TreeItem parent = kNoItem;
        std::uint32_t indexInParent = 0;
        std::uint32_t childrenAt = 0;  // the item's range in m_children
        std::uint32_t childCount = 0;
        std::uint32_t childRoom = 0;
        mutable std::uint32_t drawn = 0;  // 1 + the label's place in m_drawn; 0 before it is drawn
        TreeItemData data;
        int image = 0;
        int selectedImage = 0;
        bool isKey = false;
        bool hasValue = false;
    };

    const Node& At(TreeItem item) const { return m_nodes.at(item); }
    std::string_view TextOf(const Node& node) const { return m_texts.Get(node.textAt, node.textSize); }
    std::optional<std::string_view> ValueOf(const Node& node) const {
        if (!node.hasValue) return std::nullopt;
        return m_texts.Get(node.valueAt, node.valueSize);
    }
    std::string DrawLabel(const Node& node) const;
    // Compares the labels of two items as SortChildren orders them, without drawing them.
    int CompareLabels(const Node& a, const Node& b) const;
    const TreeItem* Children(const Node& node) const { return m_children.data() + node.childrenAt; }
    // Gives `parent` room for at least `room` children, moving its range to the end of
    // m_children when it cannot grow where it is.
    void GrowChildren(TreeItem parent, std::size_t room);
    TreeItem Sibling(TreeItem item, int step) const;

    std::vector<Node> m_nodes;  // m_nodes[0] is the invisible root
    std::vector<TreeItem> m_children;
    TreeTextStore m_texts;
    // Labels drawn so far; a deque, so that a label handed out stays where it is.
    mutable std::deque<std::string> m_drawn;
    std::function<void(TreeItem)> m_labelObserver;
};

}  // namespace morvane
