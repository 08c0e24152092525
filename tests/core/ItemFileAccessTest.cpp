#include <gtest/gtest.h>
#include <sys/stat.h>

#include "RecordingMessageSink.h"
#include "TableFixture.h"
#include "TempDir.h"
#include "platform/FileAccess.h"
#include "rulesfile/RulesFileAccess.h"
#include "rulesfile/ValueLabel.h"
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
    EXPECT_EQ(MakeValueLabel("Cost", std::string("100")), "Cost = 100");
    EXPECT_EQ(MakeValueLabel("Cost", std::string()), "Cost = ");
    EXPECT_EQ(MakeValueLabel("Cost", std::nullopt), "Cost");
    const ValueLabelParts parts = SplitValueLabel("Key = a=b ");
    EXPECT_EQ(parts.key, "Key");
    EXPECT_EQ(parts.value, "a=b");
    EXPECT_TRUE(parts.hasValue);
    EXPECT_FALSE(SplitValueLabel("Bare").hasValue);
    EXPECT_EQ(KeyOfLabel("OreGrows = no"), "OreGrows");
}

class WriteItemValueTest : public testing::Test {
protected:
    WriteItemValueTest() {
        m_rules.SetRulesPath(m_path);
        const TreeItem general = m_tree.InsertItem("General", 39, 39, {60000, 9901});
        const TreeItem crates = m_tree.InsertItem("Crates", 0, 0, {0, 9900}, general);
        m_crateMinimum = m_tree.InsertItem("CrateMinimum = 2", 3, 4, {0, 10000}, crates);
        m_unitCrate = m_tree.InsertItem("UnitCrateType", 3, 4, {0, 10004}, crates);
        const TreeItem group = m_tree.InsertItem("Infantry", 3, 4, {});
        const TreeItem e1 = m_tree.InsertItem("Rifle soldier", 3, 3, {2101, 0}, group);
        m_cost = m_tree.InsertItem("Cost", 3, 4, {8109, 21249}, e1);
        m_orphan = m_tree.InsertItem("Orphan = 1", 3, 4, {0, 10000});
        const TreeItem warhead = m_tree.InsertItem("SA", 3, 3, {3300, 8600}, m_tree.InsertItem("Warheads", 47, 47, {}));
        m_verses = m_tree.InsertItem("Verses", 3, 4, {8504, 39004}, warhead);
    }

    const StringTable m_table = test::MakeTable({
        {60000, "General="},
        {2101, "E1=Rifle soldier|21240|3"},
        {2100, "DOG=Attack dog|21200|3"},
        {10000, "I1|.|2;help"},
        {10004, "L2100|2226|2100;help"},
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
    TreeItem m_crateMinimum = kNoItem, m_unitCrate = kNoItem, m_cost = kNoItem, m_orphan = kNoItem, m_verses = kNoItem;
};

TEST_F(WriteItemValueTest, WritesIntoTheSectionAboveTheItem) {
    m_tree.SetItemText(m_crateMinimum, "CrateMinimum = a=b ");
    EXPECT_EQ(m_items.WriteItemValue(m_crateMinimum), 0);
    EXPECT_EQ(m_items.WriteItemValue(m_cost), 0);       // bare label: the default
    EXPECT_EQ(m_items.WriteItemValue(m_unitCrate), 0);  // bare list key: the default's NAME
    EXPECT_EQ(m_items.WriteItemValue(m_verses), 0);     // bare Verses: fields split by commas, as the game splits
    EXPECT_EQ(platform::ReadFileBytes(m_path),
              "[General]\r\nCrateMinimum=a=b\r\nUnitCrateType=DOG\r\n\r\n[E1]\r\nCost=100\r\n"
              "\r\n[SA]\r\nVerses=100%,50%,60%,25%,25%\r\n");
    m_tree.SetItemText(m_cost, "Cost = ");
    EXPECT_EQ(m_items.WriteItemValue(m_cost), 0);
    EXPECT_EQ(m_rules.ReadValue("E1", "Cost"), "");
    EXPECT_TRUE(m_messages.messages.empty());
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
