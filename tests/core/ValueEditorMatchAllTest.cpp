// Match All In Section: the shown key's value copied into the same key of every sibling section.
#include <gtest/gtest.h>

#include <filesystem>

#include "ValueEditorFixture.h"
#include "rulesfile/ValueLabel.h"
#include "schema/CatalogueFile.h"
#include "tree/TreeBuilder.h"
#include "tree/TreePath.h"

namespace morvane {
namespace {

using namespace test;  // the fixture and its descriptor ids

// An "Infantry" group whose objects have Cost keys in every shape Match All meets:
//   Attack dog      [DOG]   Cost = 200
//   Rifle soldier   [E1]    Cost = 100
//   Grenadier       [E2]    Cost = 160       <- the shown key
//   Rocket soldier  [E3]    Cost = 300, Cost = 300 (the same key twice)
//   Flamethrower    [E4]    cost = 5 (other case), More\Cost = 1 (a grandchild)
//   Cannot be written [Bad]]  Cost = 1 (a section name the file cannot hold)
//   Misc            (a category, no section)  Cost = 9
//   HE              [HE]    (no keys)
class MatchAllTest : public ValueEditorTest {
protected:
    MatchAllTest() {
        const TreeItem units = m_tree.InsertItem("Units", 3, 4, {});
        m_infantry = m_tree.InsertItem("Infantry", 3, 4, {}, units);
        const auto object = [this](const char* label, std::uint16_t id) {
            return m_tree.InsertItem(label, 3, 3, {id, 0}, m_infantry);
        };
        m_dogCost = AddKey(object("Attack dog", 2100), "Cost = 200", kObjectCost, 8109);
        m_e1Cost = AddKey(object("Rifle soldier", 2101), "Cost = 100", kObjectCost, 8109);
        const TreeItem e2 = object("Grenadier", 2102);
        m_e2Cost = AddKey(e2, "Cost = 160", kObjectCost, 8109);
        AddKey(e2, "Strength = 50", kIntOpen, 8136);
        const TreeItem e3 = object("Rocket soldier", 2103);
        m_e3Cost = AddKey(e3, "Cost = 300", kObjectCost, 8109);
        m_e3SecondCost = AddKey(e3, "Cost = 300", kObjectCost, 8109);
        const TreeItem e4 = object("Flamethrower", 2104);
        m_e4LowerCost = AddKey(e4, "cost = 5", kObjectCost, 8109);
        m_e4Grandchild = AddKey(m_tree.InsertItem("More", 3, 4, {}, e4), "Cost = 1", kObjectCost, 8109);
        m_badCost = AddKey(object("Cannot be written", 2105), "Cost = 1", kObjectCost, 8109);
        m_miscCost = AddKey(m_tree.InsertItem("Misc", 3, 4, {0, kHeading}, m_infantry), "Cost = 9", kObjectCost);
        object("HE", 3301);
    }

    TreeItem m_infantry = kNoItem;
    TreeItem m_dogCost = kNoItem, m_e1Cost = kNoItem, m_e2Cost = kNoItem, m_e3Cost = kNoItem;
    TreeItem m_e3SecondCost = kNoItem, m_e4LowerCost = kNoItem, m_e4Grandchild = kNoItem, m_badCost = kNoItem;
    TreeItem m_miscCost = kNoItem;
};

TEST_F(MatchAllTest, CopiesTheLabelValueNearestSiblingsFirst) {
    m_editor.OnSelchangedTree(m_e2Cost);
    m_editor.m_strValue = "999";  // not applied: Match All copies the label's value
    m_editor.OnMatchAllInSection();

    // Preceding sections from the nearest back, then the following ones; [E2] itself is not written.
    EXPECT_EQ(FileText(),
              "[E1]\r\nCost=160\r\n\r\n"
              "[DOG]\r\nCost=160\r\n\r\n"
              "[E3]\r\nCost=160\r\n");
    const struct {
        TreeItem item;
        const char* label;
    } labels[] = {
        {m_dogCost, "Cost = 160"},   {m_e1Cost, "Cost = 160"},       {m_e2Cost, "Cost = 160"},
        {m_e3Cost, "Cost = 160"},    {m_e3SecondCost, "Cost = 300"},  // only the first match changes
        {m_e4LowerCost, "cost = 5"}, {m_e4Grandchild, "Cost = 1"},    // keys match exactly, one level down
        {m_badCost, "Cost = 1"},     {m_miscCost, "Cost = 9"},        // failed write; a category is skipped
    };
    for (const auto& l : labels) EXPECT_EQ(Label(l.item), l.label) << l.item;

    // The one failure is the section the file cannot hold; the walk went on past it.
    ASSERT_EQ(m_messages.messages.size(), 1u);
    EXPECT_EQ(m_messages.messages[0].text, "Unable To Save Changes, Error NUmber: 87 \n[Bad]]Cost");
    EXPECT_EQ(m_editor.m_hCurItem, m_e2Cost);
    EXPECT_EQ(m_editor.m_strValue, "999");
}

TEST_F(MatchAllTest, EveryFailingSectionGetsItsMessageInWalkOrder) {
    WriteReadOnlyFile("[E2]\r\nCost=160\r\n");
    m_editor.OnSelchangedTree(m_e2Cost);
    m_editor.OnMatchAllInSection();
    std::vector<std::string> sections;
    for (const auto& message : m_messages.messages) sections.emplace_back(SplitAtFirst(message.text, '\n').after);
    EXPECT_EQ(sections, (std::vector<std::string>{"[E1]Cost", "[DOG]Cost", "[E3]Cost", "[Bad]]Cost"}));
    EXPECT_EQ(m_messages.messages[0].text, "Unable To Save Changes, Error NUmber: 5 \n[E1]Cost");
    // A failed write leaves the sibling's label as it was.
    EXPECT_EQ(Label(m_dogCost), "Cost = 200");
    EXPECT_EQ(Label(m_e1Cost), "Cost = 100");
    EXPECT_EQ(Label(m_e3Cost), "Cost = 300");
    EXPECT_EQ(FileText(), "[E2]\r\nCost=160\r\n");
}

TEST_F(MatchAllTest, LabelValueIsTrimmedAndABareKeyCopiesNothing) {
    const struct {
        const char* label;
        const char* copied;
        const char* fileValue;
    } cases[] = {
        {"Cost =   75  ", "Cost = 75", "Cost=75"},
        {"Cost = a=b", "Cost = a=b", "Cost=a=b"},
        {"Cost", "Cost = ", "Cost="},  // absent from the file: an empty value everywhere
    };
    for (const auto& c : cases) {
        std::filesystem::remove(m_path);
        m_tree.SetItemText(m_e2Cost, c.label);
        m_editor.OnSelchangedTree(m_e2Cost);
        m_editor.OnMatchAllInSection();
        EXPECT_EQ(Label(m_dogCost), c.copied) << c.label;
        EXPECT_EQ(Label(m_e3Cost), c.copied) << c.label;
        EXPECT_EQ(Label(m_e2Cost), c.label);
        EXPECT_EQ(m_rules.ReadValue("E1", "Cost"), SplitAtFirst(c.fileValue, '=').after) << c.label;
        EXPECT_NE(FileText().find(std::string("[E3]\r\n") + c.fileValue + "\r\n"), std::string::npos) << c.label;
    }
}

TEST_F(MatchAllTest, ReachesTheOtherTopLevelSections) {
    const TreeItem multiplayer = m_tree.InsertItem("MultiplayerDefaults", 3, 4, {60001, 0});
    const TreeItem other = AddKey(multiplayer, "CrateMinimum = 1", kIntCrates);
    const TreeItem mine = AddKey(m_crates, "CrateMinimum = 4", kIntCrates);
    m_editor.OnSelchangedTree(mine);
    m_editor.OnMatchAllInSection();
    // General's section item is the root "General"; "Units" (no section) is passed over.
    EXPECT_EQ(Label(other), "CrateMinimum = 4");
    EXPECT_EQ(FileText(), "[MultiplayerDefaults]\r\nCrateMinimum=4\r\n");
    EXPECT_TRUE(m_messages.messages.empty());
}

TEST_F(MatchAllTest, DoesNothingWithoutASectionAbove) {
    m_editor.OnMatchAllInSection();  // nothing shown yet
    m_editor.OnSelchangedTree(AddKey(kRoot, "Cost = 5", kObjectCost));
    m_editor.OnMatchAllInSection();  // no parent
    m_editor.OnSelchangedTree(m_miscCost);
    m_editor.OnMatchAllInSection();  // Misc, Infantry and Units name no section
    EXPECT_EQ(FileText(), "<no file>");
    EXPECT_TRUE(m_messages.messages.empty());
    EXPECT_EQ(Label(m_e1Cost), "Cost = 100");
}

// The same walks over the tree built from the built-in catalogue.
class BuiltTreeMatchAll : public testing::Test {
protected:
    void Build(const std::string& rules) {
        ASSERT_EQ(platform::ReplaceFileAtomically(m_path, rules), 0);
        m_rules.SetRulesPath(m_path);
        TreeBuilder(m_tree, BuiltInCatalogue(), m_rules).BuildTree();
    }
    TreeItem Find(const char* path) const { return FindItemByPath(m_tree, path); }
    std::string FileText() const { return platform::ReadFileBytes(m_path).value_or("<no file>"); }

    TempDir m_dir;
    const std::string m_path = m_dir.File("rules.ini");
    Tree m_tree;
    RecordingMessageSink m_messages;
    RulesFileAccess m_rules{m_messages};
    ItemFileAccess m_items{BuiltInCatalogue(), m_tree, m_rules};
    ValueEditor m_editor{m_tree, BuiltInCatalogue(), m_items};
};

TEST_F(BuiltTreeMatchAll, CountriesAndDifficulties) {
    Build("[Greece]\r\nCost=.9\r\n[Normal]\r\nGroundspeed=1.2\r\n");
    const TreeItem greeceCost = Find("Country Statistics\\Greece\\Cost");
    ASSERT_NE(greeceCost, kNoItem);
    ASSERT_EQ(m_tree.GetItemText(greeceCost), "Cost = .9");
    m_editor.OnSelchangedTree(greeceCost);
    EXPECT_EQ(m_editor.m_strType, "R");
    m_editor.OnMatchAllInSection();
    std::string expected = "[Greece]\r\nCost=.9\r\n[Normal]\r\nGroundspeed=1.2\r\n";
    for (const char* country : {"Germany", "France", "England", "Spain", "Turkey", "Ukraine", "USSR"}) {
        expected += std::string("\r\n[") + country + "]\r\nCost=.9\r\n";
        EXPECT_EQ(m_tree.GetItemText(Find((std::string("Country Statistics\\") + country + "\\Cost").c_str())),
                  "Cost = .9")
            << country;
    }
    EXPECT_EQ(FileText(), expected);

    m_editor.OnSelchangedTree(Find("Difficulty Settings\\Normal\\Groundspeed"));
    m_editor.OnMatchAllInSection();
    expected += "\r\n[Easy]\r\nGroundspeed=1.2\r\n\r\n[Difficult]\r\nGroundspeed=1.2\r\n";
    EXPECT_EQ(FileText(), expected);
    EXPECT_TRUE(m_messages.messages.empty());
}

TEST_F(BuiltTreeMatchAll, InfantryCost) {
    Build("[E1]\r\nCost=123\r\n");
    m_editor.OnSelchangedTree(Find("Units\\Infantry\\Rifle soldier\\Cost"));
    m_editor.OnMatchAllInSection();
    const TreeItem infantry = Find("Units\\Infantry");
    std::size_t written = 0;
    for (TreeItem object = m_tree.GetChildItem(infantry); object != kNoItem;
         object = m_tree.GetNextSiblingItem(object)) {
        for (TreeItem key = m_tree.GetChildItem(object); key != kNoItem; key = m_tree.GetNextSiblingItem(key)) {
            if (KeyOfLabel(m_tree.GetItemText(key)) != "Cost") continue;
            EXPECT_EQ(m_tree.GetItemText(key), "Cost = 123") << m_tree.GetItemText(object);
            const std::string section = m_items.SectionNameOf(object);
            EXPECT_EQ(m_rules.ReadValue(section, "Cost"), "123") << section;
            ++written;
            break;
        }
    }
    EXPECT_GT(written, 1u);
    EXPECT_TRUE(m_messages.messages.empty());
}

}  // namespace
}  // namespace morvane
