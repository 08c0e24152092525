// How the tree keeps its items: children of many parents in one shared list, and texts in
// blocks that never move.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tree/Tree.h"

namespace morvane {
namespace {

// Children added to parents in turn (as the builder adds a group's objects, each followed by
// its keys) move their parent's range when it is full; every parent keeps its children in order.
TEST(Tree, ChildrenAddedInTurnKeepTheirParentAndOrder) {
    struct Case {
        const char* name;
        // One letter per child: an upper-case letter adds it under top-level item A, B or C; a
        // lower-case one under the last child added under the upper-case letter.
        std::string order;
        std::map<char, std::size_t> reserved;  // room made for A, B or C before the first child
    };
    const std::vector<Case> cases = {
        {"one parent", "AAAAAAAAAAAAAAAAAAAAA", {}},
        {"two in turn", "ABABABABABABABABABAB", {}},
        {"runs across growths", "AAAAABBBBBBBBBAAAAAAAAACCCBBBBBAAAAAAAAAAAAAAAAAAAAAAAAC", {}},
        {"reserved, then more", "AAABBBAAAAAAAAAA", {{'A', 3}, {'B', 20}}},
        {"objects and their keys", "AaaaaaAaaaBbbbbbAaaaaaaaaaaaaAaBbbbbbbbb", {{'A', 4}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Tree tree;
        std::map<char, TreeItem> top;
        std::map<TreeItem, std::vector<TreeItem>> expected;
        for (const char letter : {'A', 'B', 'C'}) {
            top[letter] = tree.InsertItem(std::string(1, letter), 0, 0, {});
            expected[top[letter]];
        }
        for (const auto& [letter, room] : c.reserved) tree.ReserveChildren(top.at(letter), room);
        for (std::size_t at = 0; at < c.order.size(); ++at) {
            const char letter = c.order[at];
            const bool upper = letter >= 'A' && letter <= 'Z';
            const TreeItem parent =
                upper ? top.at(letter) : expected.at(top.at(static_cast<char>(letter - 'a' + 'A'))).back();
            const TreeItem child = tree.InsertItem(std::string(1, letter) + std::to_string(at), 0, 0, {}, parent);
            expected[parent].push_back(child);
            expected[child];
        }
        for (const auto& [parent, children] : expected) {
            ASSERT_EQ(tree.ChildCount(parent), children.size()) << tree.GetItemText(parent);
            EXPECT_EQ(tree.ItemHasChildren(parent), !children.empty());
            std::vector<TreeItem> walked;
            for (TreeItem item = tree.GetChildItem(parent); item != kNoItem; item = tree.GetNextSiblingItem(item))
                walked.push_back(item);
            EXPECT_EQ(walked, children) << tree.GetItemText(parent);
            for (std::size_t index = 0; index < children.size(); ++index) {
                EXPECT_EQ(tree.ChildAt(parent, index), children[index]);
                EXPECT_EQ(tree.IndexInParent(children[index]), index);
                EXPECT_EQ(tree.GetParentItem(children[index]), parent);
            }
            EXPECT_THROW(tree.ChildAt(parent, children.size()), std::out_of_range);
        }
        EXPECT_EQ(tree.ChildCount(kRoot), 3u);
    }
}

// Sorting a parent whose range was moved touches that range only.
TEST(Tree, SortOfAMovedRangeLeavesItsNeighboursAlone) {
    Tree tree;
    const TreeItem a = tree.InsertItem("A", 0, 0, {});
    const TreeItem b = tree.InsertItem("B", 0, 0, {});
    std::vector<std::string> bLabels;
    for (int at = 0; at < 12; ++at) {
        tree.InsertItem(std::string(1, static_cast<char>('z' - at)), 0, 0, {}, a);
        bLabels.push_back("b" + std::to_string(at));
        tree.InsertItem(bLabels.back(), 0, 0, {}, b);
    }
    tree.SortChildren(a);
    std::vector<std::string> aLabels;
    std::vector<std::string> bNow;
    for (TreeItem item = tree.GetChildItem(a); item != kNoItem; item = tree.GetNextSiblingItem(item))
        aLabels.push_back(tree.GetItemText(item));
    for (TreeItem item = tree.GetChildItem(b); item != kNoItem; item = tree.GetNextSiblingItem(item))
        bNow.push_back(tree.GetItemText(item));
    EXPECT_EQ(aLabels, (std::vector<std::string>{"o", "p", "q", "r", "s", "t", "u", "v", "w", "x", "y", "z"}));
    EXPECT_EQ(bNow, bLabels);
}

// Values of every length, the empty one too, read back whole and drawn into the label.
TEST(Tree, ValuesOfAnyLengthReadBackWhole) {
    for (const std::size_t length : {std::size_t{0}, std::size_t{1}, std::size_t{15}, std::size_t{16},
                                     std::size_t{4096}, std::size_t{4097}, std::size_t{70000}}) {
        SCOPED_TRACE(length);
        Tree tree;
        const TreeItem parent = tree.InsertItem("P", 0, 0, {});
        std::string value;
        for (std::size_t at = 0; at < length; ++at) value += static_cast<char>('a' + at % 26);
        const TreeItem before = tree.InsertKeyItem("Before", std::string("1"), 0, 0, {}, parent);
        const TreeItem key = tree.InsertKeyItem("Key", value, 0, 0, {}, parent);
        const TreeItem after = tree.InsertKeyItem("After", std::string("2"), 0, 0, {}, parent);
        ASSERT_TRUE(tree.GetItemValue(key).has_value());
        EXPECT_EQ(*tree.GetItemValue(key), value);
        EXPECT_EQ(tree.GetItemText(key), "Key = " + value);
        EXPECT_EQ(tree.GetItemValue(before), std::optional<std::string_view>("1"));
        EXPECT_EQ(tree.GetItemValue(after), std::optional<std::string_view>("2"));
        tree.SetItemValue(key, std::nullopt);
        EXPECT_EQ(tree.GetItemValue(key), std::nullopt);
        EXPECT_EQ(tree.GetItemText(key), "Key");
        tree.SetItemValue(key, value);
        EXPECT_EQ(tree.GetItemValue(key), std::optional<std::string_view>(value));
    }
}

// Texts handed out stay valid while the tree grows past many blocks and while values are set
// again; a copy owns its texts.
TEST(Tree, TextsStayValidAsTheTreeGrowsAndCopiesOwnThem) {
    auto tree = std::make_unique<Tree>();
    const TreeItem heading = tree->InsertItem("Heading", 0, 0, {});
    const TreeItem first = tree->InsertKeyItem("Key0", std::string("value number 0"), 0, 0, {}, heading);
    const std::string_view firstKey = tree->GetItemKey(first);
    const std::optional<std::string_view> firstValue = tree->GetItemValue(first);
    const std::string& headingLabel = tree->GetItemText(heading);
    // About 200 KB of text: several blocks, with texts that would straddle their ends.
    const std::string padding(37, '.');
    for (int at = 1; at < 5000; ++at)
        tree->InsertKeyItem("Key" + std::to_string(at), "value number " + std::to_string(at) + padding, 0, 0, {},
                            heading);
    tree->SetItemValue(first, std::string("changed"));
    EXPECT_EQ(firstKey, "Key0");
    EXPECT_EQ(firstValue, std::optional<std::string_view>("value number 0"));
    EXPECT_EQ(headingLabel, "Heading");
    EXPECT_EQ(tree->GetItemValue(first), std::optional<std::string_view>("changed"));

    const Tree copy = *tree;
    tree.reset();
    ASSERT_EQ(copy.ChildCount(heading), 5000u);
    for (std::size_t at = 1; at < 5000; ++at) {
        const TreeItem item = copy.ChildAt(heading, at);
        ASSERT_EQ(copy.GetItemKey(item), "Key" + std::to_string(at));
        ASSERT_EQ(copy.GetItemValue(item),
                  std::optional<std::string_view>("value number " + std::to_string(at) + padding));
    }
    EXPECT_EQ(copy.GetItemText(first), "Key0 = changed");
    EXPECT_EQ(copy.GetItemKey(heading), "Heading");
    EXPECT_EQ(copy.GetItemValue(heading), std::nullopt);
}

// Emptying the tree forgets its labels: the items built next draw their own.
TEST(Tree, ItemsBuiltAfterEmptyingDrawTheirOwnLabels) {
    Tree tree;
    const TreeItem oldHeading = tree.InsertItem("Old heading", 0, 0, {});
    const TreeItem oldKey = tree.InsertKeyItem("OldKey", std::string("old"), 0, 0, {}, oldHeading);
    ASSERT_EQ(tree.GetItemText(oldKey), "OldKey = old");
    tree.DeleteAllItems();
    EXPECT_EQ(tree.ItemCount(), 0u);
    EXPECT_EQ(tree.GetChildItem(kRoot), kNoItem);
    const TreeItem heading = tree.InsertItem("New", 1, 2, {});
    const TreeItem key = tree.InsertKeyItem("Key", std::nullopt, 3, 4, {}, heading);
    EXPECT_EQ(heading, oldHeading);
    EXPECT_EQ(key, oldKey);
    EXPECT_EQ(tree.GetItemText(heading), "New");
    EXPECT_EQ(tree.GetItemText(key), "Key");
    EXPECT_EQ(tree.ChildCount(heading), 1u);
    EXPECT_EQ(tree.ChildCount(kRoot), 1u);
}

}  // namespace
}  // namespace morvane
