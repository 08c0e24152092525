#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
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

// The navigation tree's items: labels, images and data, linked as parent, children and
// siblings. Items live in one vector; a handle is an index.
//
// A key item holds its key and its value in the rules file (or nothing when the file does not
// hold the key); its label is drawn from them: the bare key, or key " = " value. Any text is a
// value, the empty text and "Empty" too.
class Tree {
public:
    Tree();

    // Appends an item as the last child of `parent` (kRoot for the top level).
    TreeItem InsertItem(std::string label, int image, int selectedImage, TreeItemData data, TreeItem parent = kRoot);
    // The same for a key item.
    TreeItem InsertKeyItem(std::string key, std::optional<std::string> value, int image, int selectedImage,
                           TreeItemData data, TreeItem parent);
    void DeleteAllItems();

    TreeItem GetParentItem(TreeItem item) const;
    TreeItem GetChildItem(TreeItem item) const;  // the first child; kRoot gives the first top-level item
    TreeItem GetNextSiblingItem(TreeItem item) const;
    bool ItemHasChildren(TreeItem item) const;

    const std::string& GetItemText(TreeItem item) const;

    bool IsKeyItem(TreeItem item) const;
    // A key item's key; the label of any other item.
    const std::string& GetItemKey(TreeItem item) const;
    // A key item's value; nothing when the file does not hold the key, and for other items.
    const std::optional<std::string>& GetItemValue(TreeItem item) const;
    // Sets a key item's value and draws its label again; ignored for other items.
    void SetItemValue(TreeItem item, std::optional<std::string> value);
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
    // A key item's label, drawn when first asked for: the tree is built far more often than all
    // its labels are read. Kept apart from the item, so that an item is small; copied whole.
    struct DrawnLabel {
        std::unique_ptr<std::string> text;
        DrawnLabel() = default;
        DrawnLabel(const DrawnLabel& other) : text(other.text ? std::make_unique<std::string>(*other.text) : nullptr) {}
        DrawnLabel(DrawnLabel&&) noexcept = default;
        DrawnLabel& operator=(const DrawnLabel& other) {
            if (this != &other) text = other.text ? std::make_unique<std::string>(*other.text) : nullptr;
            return *this;
        }
        DrawnLabel& operator=(DrawnLabel&&) noexcept = default;
        ~DrawnLabel() = default;
    };
    struct Node {
        std::string text;  // the label; a key item's key
        std::optional<std::string> value;
        mutable DrawnLabel drawn;
        std::vector<TreeItem> children;
        TreeItemData data;
        TreeItem parent = kNoItem;
        std::uint32_t indexInParent = 0;
        int image = 0;
        int selectedImage = 0;
        bool isKey = false;
    };

    const Node& At(TreeItem item) const { return m_nodes.at(item); }
    static const std::string& LabelOf(const Node& node);
    // Compares the labels of two items as SortChildren orders them, without drawing them.
    static int CompareLabels(const Node& a, const Node& b);
    TreeItem Sibling(TreeItem item, int step) const;

    std::vector<Node> m_nodes;  // m_nodes[0] is the invisible root
    std::function<void(TreeItem)> m_labelObserver;
};

}  // namespace morvane
