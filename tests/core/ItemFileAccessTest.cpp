#include <gtest/gtest.h>
#include <sys/stat.h>

#include "RecordingMessageSink.h"
#include "TableFixture.h"
#include "TempDir.h"
#include "platform/FileAccess.h"
#include "rulesfile/RulesFileAccess.h"
#include "tree/ItemFileAccess.h"

namespace morvane {
namespace {

TEST(ValueLabel, ReadProtocol) {
    const struct {
        const char* text;
        std::string value;
    } cases[] = {
        {"5 ; five", "5"},  {"12   ", "12"}, {"Empty", "Empty"}, {"Empty ; note", "Empty"},
        {"empty", "empty"}, {"", ""},        {";only note", ""}, {"a=b", "a=b"},
    };
    for (const auto& c : cases) EXPECT_EQ(EditorValueOf(c.text), c.value) << c.text;
}

TEST(KeyItem, HoldsKeyAndValueAndDrawsTheLabel) {
    Tree tree;
    const TreeItem section = tree.InsertItem("Rifle soldier", 3, 3, {});
    const TreeItem cost = tree.InsertKeyItem("Cost", std::string("100"), 3, 4, {}, section);
    EXPECT_TRUE(tree.IsKeyItem(cost));
    EXPECT_FALSE(tree.IsKeyItem(section));
    EXPECT_EQ(tree.GetItemKey(section), "Rifle soldier");
    EXPECT_EQ(tree.GetItemValue(section), std::nullopt);

    std::vector<TreeItem> told;
    tree.SetLabelObserver([&told](TreeItem item) { told.push_back(item); });
    const struct {
        std::optional<std::string> value;
        const char* label;
    } cases[] = {
        {"100", "Cost = 100"},     {"", "Cost = "},       {std::nullopt, "Cost"},
        {"Empty", "Cost = Empty"}, {"a=b", "Cost = a=b"},
    };
    for (const auto& c : cases) {
        tree.SetItemValue(cost, c.value);
        EXPECT_EQ(tree.GetItemText(cost), c.label);
        EXPECT_EQ(tree.GetItemKey(cost), "Cost");
        EXPECT_EQ(tree.GetItemValue(cost), c.value) << c.label;
    }
    EXPECT_EQ(told.size(), std::size(cases));
    tree.SetItemValue(section, std::string("x"));  // not a key: nothing changes
    EXPECT_EQ(tree.GetItemText(section), "Rifle soldier");
    EXPECT_EQ(told.size(), std::size(cases));
}

class WriteItemValueTest : public testing::Test {
protected:
    WriteItemValueTest() {
        m_rules.SetRulesPath(m_path);
        const TreeItem general = m_tree.InsertItem("General", 39, 39, {60000, 9901});
        const TreeItem crates = m_tree.InsertItem("Crates", 0, 0, {0, 9900}, general);
        m_crateMinimum = m_tree.InsertKeyItem("CrateMinimum", std::string("2"), 3, 4, {0, 10000}, crates);
        m_unitCrate = m_tree.InsertKeyItem("UnitCrateType", std::nullopt, 3, 4, {0, 10004}, crates);
        m_ammo = m_tree.InsertKeyItem("Ammo", std::nullopt, 3, 4, {0, 10005}, crates);
        m_flag = m_tree.InsertKeyItem("Flag", std::nullopt, 3, 4, {0, 10006}, crates);
        const TreeItem group = m_tree.InsertItem("Infantry", 3, 4, {});
        const TreeItem e1 = m_tree.InsertItem("Rifle soldier", 3, 3, {2101, 0}, group);
        m_cost = m_tree.InsertKeyItem("Cost", std::nullopt, 3, 4, {8109, 21249}, e1);
        m_orphan = m_tree.InsertKeyItem("Orphan", std::string("1"), 3, 4, {0, 10000}, kRoot);
        const TreeItem warhead = m_tree.InsertItem("SA", 3, 3, {3300, 8600}, m_tree.InsertItem("Warheads", 47, 47, {}));
        m_verses = m_tree.InsertKeyItem("Verses", std::nullopt, 3, 4, {8504, 39004}, warhead);
    }

    const StringTable m_table = test::MakeTable({
        {60000, "General="},
        {2101, "E1=Rifle soldier|21240|3"},
        {2100, "DOG=Attack dog|21200|3"},
        {10000, "I1|.|2;help"},
        {10004, "L2100|2226|2100;help"},
        {10005, "I0|.|;no default"},
        {10006, "TT|F|;a flag without default text"},
        {21249, "I0|.|100;~8109"},
        {3300, "SA=SA~8600|39000|5"},
        {39004, "V.|.| 100% 50% 60% 25% 25%;~8504"},
        {8504, "Verses =Damage against armour"},
        {8109, "Cost =Amount the object costs"},
    });
    test::TempDir m_dir;
    std::string m_path = m_dir.File("rules.ini");
    Tree m_tree;
    test::RecordingMessageSink m_messages;
    RulesFileAccess m_rules{m_messages};
    ItemFileAccess m_items{m_table, m_tree, m_rules};
    TreeItem m_crateMinimum = kNoItem, m_unitCrate = kNoItem, m_ammo = kNoItem, m_flag = kNoItem, m_cost = kNoItem,
             m_orphan = kNoItem, m_verses = kNoItem;
};

TEST_F(WriteItemValueTest, WritesTheItemsValueIntoTheSectionAboveIt) {
    m_tree.SetItemValue(m_crateMinimum, "a=b");
    m_tree.SetItemValue(m_cost, "Empty");  // an ordinary value
    EXPECT_EQ(m_items.WriteItemValue(m_crateMinimum), 0);
    EXPECT_EQ(m_items.WriteItemValue(m_cost), 0);
    EXPECT_EQ(platform::ReadFileBytes(m_path), "[General]\r\nCrateMinimum=a=b\r\n\r\n[E1]\r\nCost=Empty\r\n");
    EXPECT_EQ(m_rules.ReadValue("E1", "Cost"), "Empty");
    m_tree.SetItemValue(m_cost, "");
    EXPECT_EQ(m_items.WriteItemValue(m_cost), 0);
    EXPECT_EQ(m_rules.ReadValue("E1", "Cost"), "");
    EXPECT_TRUE(m_messages.messages.empty());
}

TEST_F(WriteItemValueTest, AKeyWithoutValueLeavesTheFile) {
    // Nothing to take out of a missing file: no file is made.
    EXPECT_EQ(m_items.WriteItemValue(m_unitCrate), 0);
    EXPECT_FALSE(platform::FileExists(m_path));

    ASSERT_EQ(platform::ReplaceFileAtomically(m_path, "[General]\r\nCrateMinimum=1\r\nUnitCrateType=E1 ; note\r\n"), 0);
    EXPECT_EQ(m_items.WriteItemValue(m_unitCrate), 0);
    EXPECT_EQ(platform::ReadFileBytes(m_path), "[General]\r\nCrateMinimum=1\r\n");
    EXPECT_EQ(m_items.WriteItemValue(m_unitCrate), 0);  // already out
    EXPECT_EQ(platform::ReadFileBytes(m_path), "[General]\r\nCrateMinimum=1\r\n");
    EXPECT_TRUE(m_messages.messages.empty());
}

TEST_F(WriteItemValueTest, DefaultsInTheFormsTheGameReads) {
    EXPECT_EQ(m_items.DefaultValueOf(m_cost), "100");
    EXPECT_EQ(m_items.DefaultValueOf(m_unitCrate), "DOG");                // a list entry's NAME
    EXPECT_EQ(m_items.DefaultValueOf(m_verses), "100%,50%,60%,25%,25%");  // split by commas, as the game splits
    EXPECT_EQ(m_items.DefaultValueOf(m_ammo), std::nullopt);              // no default text
    EXPECT_EQ(m_items.DefaultValueOf(m_flag), "false");                   // empty means false
}

TEST_F(WriteItemValueTest, ItemWithoutParentWritesNothing) {
    EXPECT_EQ(m_items.WriteItemValue(m_orphan), 0);
    EXPECT_FALSE(platform::FileExists(m_path));
    EXPECT_TRUE(m_messages.messages.empty());
}

TEST_F(WriteItemValueTest, FailureShowsTheSaveMessage) {
    ASSERT_EQ(platform::ReplaceFileAtomically(m_path, "[General]\r\nCrateMinimum=1\r\n"), 0);
    ASSERT_EQ(chmod(m_path.c_str(), 0444), 0);
    EXPECT_EQ(m_items.WriteItemValue(m_crateMinimum), 5);
    ASSERT_EQ(m_messages.messages.size(), 1u);
    EXPECT_EQ(m_messages.messages[0].text,
              "Unable To Save Changes, Error NUmber: 5 \n[General]CrateMinimum\n" + m_path +
                  " is read-only. Give it write permission (clear its read-only mark), then try again.");
    EXPECT_EQ(m_messages.messages[0].caption, m_path);
    EXPECT_EQ(platform::ReadFileBytes(m_path), "[General]\r\nCrateMinimum=1\r\n");
    EXPECT_EQ(m_items.FindSectionItem(m_crateMinimum), m_tree.GetChildItem(kRoot));
    EXPECT_EQ(m_items.SectionNameOf(m_items.FindSectionItem(m_cost)), "E1");
}

}  // namespace
}  // namespace morvane
