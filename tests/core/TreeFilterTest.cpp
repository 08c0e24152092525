// The find filter over the tree and the "changed from the default" rule behind the tree's marks.
#include <gtest/gtest.h>

#include "KeyItems.h"
#include "RecordingMessageSink.h"
#include "TableFixture.h"
#include "rulesfile/RulesFileAccess.h"
#include "tree/ItemFileAccess.h"
#include "tree/KeyDefaultState.h"
#include "tree/TreeFilter.h"

namespace morvane {
namespace {

class TreeFilterTest : public testing::Test {
protected:
    TreeFilterTest() {
        m_general = m_tree.InsertItem("General", 39, 39, {60000, 9901});
        m_crates = m_tree.InsertItem("Crates", 0, 0, {0, 9900}, m_general);
        m_crateMinimum = test::InsertKey(m_tree, "CrateMinimum = 2", 3, 4, {0, 10000}, m_crates);
        m_crateMaximum = test::InsertKey(m_tree, "CrateMaximum = 200", 3, 4, {0, 10000}, m_crates);
        m_unitCrate = test::InsertKey(m_tree, "UnitCrateType =  dog ", 3, 4, {0, 10004}, m_crates);
        m_infantry = m_tree.InsertItem("Infantry", 3, 4, {});
        m_e1 = m_tree.InsertItem("Rifle soldier", 3, 3, {2101, 0}, m_infantry);
        m_cost = test::InsertKey(m_tree, "Cost", 3, 4, {8109, 21249}, m_e1);
        m_filter.Reset();
    }

    std::vector<TreeItem> ShownFor(std::string_view text, const TreeFilter::ItemTest& test = {}) {
        m_filter.Run(text, test);
        std::vector<TreeItem> shown;
        for (TreeItem item = 1; item <= m_tree.ItemCount(); ++item)
            if (m_filter.Shown(item)) shown.push_back(item);
        return shown;
    }

    const StringTable m_table = test::MakeTable({
        {60000, "General="},
        {2101, "E1=Rifle soldier|21240|3"},
        {2100, "DOG=Attack dog|21200|3"},
        {10000, "I1|.|2;help"},
        {10004, "L2100|2226|2100;help"},
        {21249, "I0|.|100;~8109"},
        {8109, "Cost =Amount the object costs"},
    });
    Tree m_tree;
    test::RecordingMessageSink m_messages;
    RulesFileAccess m_rules{m_messages};
    ItemFileAccess m_items{m_table, m_tree, m_rules};
    TreeFilter m_filter{m_tree, m_table};
    TreeItem m_general, m_crates, m_crateMinimum, m_crateMaximum, m_unitCrate, m_infantry, m_e1, m_cost;
};

TEST_F(TreeFilterTest, KeepsMatchesWithTheirAncestors) {
    const struct {
        const char* text;
        std::vector<TreeItem> shown;
    } cases[] = {
        {"cratemax", {m_general, m_crates, m_crateMaximum}},  // key, any letter case
        {"= 200", {m_general, m_crates, m_crateMaximum}},     // the value as the label shows it
        {"e1", {m_infantry, m_e1}},                           // the object's section name
        {"amount", {}},                                       // help texts are not searched
        {"COST", {m_infantry, m_e1, m_cost}},                 // the key's own name
        {"soldier", {m_infantry, m_e1}},                      // the object's label; its keys stay out
        {"crate", {m_general, m_crates, m_crateMinimum, m_crateMaximum, m_unitCrate}},
        {"soldiere1", {}},  // label and name never join up
        {"soldier e1", {}},
        {"nothing like it", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(ShownFor(c.text), c.shown) << c.text;
    m_filter.Run("crate");
    // Crates and its three keys match; General is shown only as their ancestor.
    for (const TreeItem item : {m_crates, m_crateMinimum, m_crateMaximum, m_unitCrate})
        EXPECT_TRUE(m_filter.Matched(item)) << item;
    EXPECT_FALSE(m_filter.Matched(m_general));
    EXPECT_TRUE(m_filter.Shown(m_general));
}

TEST_F(TreeFilterTest, FollowsLabelChangesAfterRefresh) {
    m_tree.SetItemValue(m_cost, "4321");
    EXPECT_TRUE(ShownFor("4321").empty());  // not refreshed yet: the old text
    m_filter.Refresh(m_cost);
    EXPECT_EQ(ShownFor("4321"), (std::vector<TreeItem>{m_infantry, m_e1, m_cost}));
}

TEST_F(TreeFilterTest, ExtraTestNarrowsTheMatches) {
    const auto changed = [this](TreeItem item) { return DescribeKeyDefaultState(m_items, m_tree, item).changed; };
    EXPECT_EQ(ShownFor("", changed), (std::vector<TreeItem>{m_general, m_crates, m_crateMaximum}));
    EXPECT_TRUE(ShownFor("cost", changed).empty());
}

TEST_F(TreeFilterTest, ChangedFromDefault) {
    const struct {
        TreeItem item;
        bool isKey, present, changed;
        const char* defaultValue;
    } cases[] = {
        {m_crateMinimum, true, true, false, "2"}, {m_crateMaximum, true, true, true, "2"},
        {m_unitCrate, true, true, false, "DOG"},  // a list stores the NAME; blanks and case do not count
        {m_cost, true, false, false, "100"},      // absent: the game uses the default
        {m_crates, false, false, false, ""},      {m_e1, false, false, false, ""},
    };
    for (const auto& c : cases) {
        const KeyDefaultState state = DescribeKeyDefaultState(m_items, m_tree, c.item);
        EXPECT_EQ(state.isKey, c.isKey) << m_tree.GetItemText(c.item);
        EXPECT_EQ(state.present, c.present) << m_tree.GetItemText(c.item);
        EXPECT_EQ(state.changed, c.changed) << m_tree.GetItemText(c.item);
        EXPECT_EQ(state.defaultValue, c.defaultValue) << m_tree.GetItemText(c.item);
    }
    // An empty value is a value, and not the default.
    m_tree.SetItemValue(m_cost, "");
    EXPECT_TRUE(DescribeKeyDefaultState(m_items, m_tree, m_cost).changed);
    m_tree.SetItemValue(m_cost, "100");
    EXPECT_FALSE(DescribeKeyDefaultState(m_items, m_tree, m_cost).changed);
}

// The changed mark compares what the game reads alike as alike.
TEST(SameAsDefault, NumbersByValueNamesWithoutCase) {
    const struct {
        const char* value;
        const char* defaultValue;
        bool same;
    } cases[] = {
        {"3.0", "3", true},      {"1", "1.0", true},
        {"0.50", ".5", true},    {"007", "7", true},
        {"-0", "0", true},       {"020%", "20%", true},
        {" dog ", "DOG", true},  {"100%,50.0,60%", "100%,50,60%", true},  // Verses and lists item by item
        {"3.5", "3", false},     {"-3", "3", false},
        {"50%", ".5", false},     // the same to a fraction key, not to a whole-number key
        {"50.0%", "50%", false},  // the game reads 50.0% as fifty, not as one half
        {"1,2", "1", false},     {"1", "1,2", false},
        {"", "0", false},        {"3.", "3", true},
        {".", "0", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SameAsDefault(c.value, c.defaultValue), c.same) << c.value << " / " << c.defaultValue;
}

}  // namespace
}  // namespace morvane
