// Match All In Section: the shown key's value copied into the same key of every sibling section.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <tuple>

#include "ValueEditorFixture.h"
#include "editor/MatchAllPlan.h"
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

// The plan for [E2]'s Cost without the section the file cannot hold, which would fail the batch.
MatchAllPlan WritablePlan(const Tree& tree, const ItemFileAccess& items, TreeItem item) {
    MatchAllPlan plan = PlanMatchAll(tree, items, item);
    std::erase_if(plan.changes, [](const MatchAllChange& change) { return change.section == "Bad]"; });
    return plan;
}

TEST_F(MatchAllTest, PlanListsTheSiblingsThatChangeInTreeOrder) {
    m_tree.SetItemValue(m_e1Cost, "160");          // already holds the value: left out
    m_tree.SetItemValue(m_dogCost, std::nullopt);  // absent from the file there
    m_editor.OnSelchangedTree(m_e2Cost);
    m_editor.m_strValue = "999";  // not applied: Match All copies the label's value
    const MatchAllPlan plan = PlanMatchAll(m_tree, m_items, m_e2Cost);
    EXPECT_EQ(plan.key, "Cost");
    EXPECT_EQ(plan.value, "160");
    EXPECT_FALSE(plan.keyAbsent);
    // Only the first Cost of [E3] counts; keys match exactly, one level down; a category is skipped.
    const std::vector<std::tuple<TreeItem, std::string, std::optional<std::string>>> expected = {
        {m_dogCost, "DOG", std::nullopt}, {m_e3Cost, "E3", "300"}, {m_badCost, "Bad]", "1"}};
    std::vector<std::tuple<TreeItem, std::string, std::optional<std::string>>> planned;
    for (const MatchAllChange& change : plan.changes)
        planned.emplace_back(change.item, change.section, change.oldValue);
    EXPECT_EQ(planned, expected);
    EXPECT_EQ(FileText(), "<no file>");  // planning writes nothing
}

TEST_F(MatchAllTest, WritesEverySiblingInOneReplace) {
    m_editor.OnSelchangedTree(m_e2Cost);
    ASSERT_EQ(ApplyMatchAll(WritablePlan(m_tree, m_items, m_e2Cost), m_tree, m_rules), 0);
    EXPECT_EQ(FileText(),
              "[DOG]\r\nCost=160\r\n\r\n"
              "[E1]\r\nCost=160\r\n\r\n"
              "[E3]\r\nCost=160\r\n");
    const struct {
        TreeItem item;
        const char* label;
    } labels[] = {
        {m_dogCost, "Cost = 160"},    {m_e1Cost, "Cost = 160"},       {m_e2Cost, "Cost = 160"},
        {m_e3Cost, "Cost = 160"},     {m_e3SecondCost, "Cost = 300"}, {m_e4LowerCost, "cost = 5"},
        {m_e4Grandchild, "Cost = 1"}, {m_badCost, "Cost = 1"},        {m_miscCost, "Cost = 9"},
    };
    for (const auto& l : labels) EXPECT_EQ(Label(l.item), l.label) << l.item;
    EXPECT_TRUE(m_messages.messages.empty());
}

TEST_F(MatchAllTest, AFailureWritesNoSiblingAtAll) {
    const struct {
        const char* what;
        bool readOnly;
        const char* message;
        const char* reason;
    } cases[] = {
        // A section name the file cannot hold refuses the whole batch, saying why.
        {"unstorable section", false, "Unable To Save Changes, Error NUmber: 87 \n[Bad]]Cost\n",
         "[Bad]] Cost: a section name cannot be empty or hold \"]\" or a line break."},
        {"read-only file", true, "Unable To Save Changes, Error NUmber: 5 \n[DOG]Cost\n", " is read-only."},
    };
    for (const auto& c : cases) {
        m_messages.messages.clear();
        if (c.readOnly) WriteReadOnlyFile("[E2]\r\nCost=160\r\n");
        m_editor.OnSelchangedTree(m_e2Cost);
        if (c.readOnly)
            EXPECT_EQ(ApplyMatchAll(WritablePlan(m_tree, m_items, m_e2Cost), m_tree, m_rules), 5) << c.what;
        else
            m_editor.OnMatchAllInSection();
        ASSERT_EQ(m_messages.messages.size(), 1u) << c.what;
        const std::string& text = m_messages.messages[0].text;
        EXPECT_EQ(text.rfind(c.message, 0), 0u) << text;
        EXPECT_NE(text.find(c.reason), std::string::npos) << text;
        EXPECT_EQ(Label(m_dogCost), "Cost = 200") << c.what;
        EXPECT_EQ(Label(m_e1Cost), "Cost = 100") << c.what;
        EXPECT_EQ(FileText(), c.readOnly ? "[E2]\r\nCost=160\r\n" : "<no file>") << c.what;
    }
}

TEST_F(MatchAllTest, CopiesTheValueAndAnAbsentKeyEmptiesTheSiblings) {
    const struct {
        std::optional<std::string> value;
        const char* label;
        const char* copied;
        const char* fileValue;
        bool absent;
    } cases[] = {
        {"75", "Cost = 75", "Cost = 75", "Cost=75", false},
        {"a=b", "Cost = a=b", "Cost = a=b", "Cost=a=b", false},
        {std::nullopt, "Cost", "Cost = ", "Cost=", true},  // absent from the file: an empty value everywhere
    };
    for (const auto& c : cases) {
        std::filesystem::remove(m_path);
        m_tree.SetItemValue(m_e2Cost, c.value);
        const MatchAllPlan plan = WritablePlan(m_tree, m_items, m_e2Cost);
        EXPECT_EQ(plan.keyAbsent, c.absent) << c.label;
        ASSERT_EQ(ApplyMatchAll(plan, m_tree, m_rules), 0) << c.label;
        EXPECT_EQ(Label(m_dogCost), c.copied) << c.label;
        EXPECT_EQ(Label(m_e3Cost), c.copied) << c.label;
        EXPECT_EQ(Label(m_e2Cost), c.label);
        EXPECT_EQ(m_rules.ReadValue("E1", "Cost"), SplitAtFirst(c.fileValue, '=').after) << c.label;
        EXPECT_NE(FileText().find(std::string("[E3]\r\n") + c.fileValue + "\r\n"), std::string::npos) << c.label;
    }
}

TEST_F(MatchAllTest, TopLevelSectionsAreRefused) {
    m_tree.InsertItem("MultiplayerDefaults", 3, 4, {60001, 0});
    const TreeItem mine = AddKey(m_crates, "CrateMinimum = 4", kIntCrates);
    m_editor.OnSelchangedTree(mine);
    EXPECT_FALSE(m_editor.m_bMatchAllEnabled);
    EXPECT_NE(m_editor.m_strMatchAllRefusal.find("[General]"), std::string::npos) << m_editor.m_strMatchAllRefusal;
    m_editor.OnMatchAllInSection();
    EXPECT_EQ(FileText(), "<no file>");
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
    const std::string original = "[Greece]\r\nCost=.9\r\n[Normal]\r\nGroundspeed=1.2\r\n";
    Build(original);
    const TreeItem greeceCost = Find("Country Statistics\\Greece\\Cost");
    ASSERT_NE(greeceCost, kNoItem);
    ASSERT_EQ(m_tree.GetItemText(greeceCost), "Cost = .9");
    m_editor.OnSelchangedTree(greeceCost);
    EXPECT_EQ(m_editor.m_strType, "R");
    EXPECT_TRUE(m_editor.m_bMatchAllEnabled);
    m_editor.OnMatchAllInSection();
    for (const char* country : {"Germany", "France", "England", "Spain", "Turkey", "Ukraine", "USSR"}) {
        EXPECT_EQ(m_rules.ReadValue(country, "Cost"), ".9") << country;
        EXPECT_EQ(m_tree.GetItemText(Find((std::string("Country Statistics\\") + country + "\\Cost").c_str())),
                  "Cost = .9")
            << country;
    }
    EXPECT_EQ(FileText().substr(0, original.size()), original);

    m_editor.OnSelchangedTree(Find("Difficulty Settings\\Normal\\Groundspeed"));
    m_editor.OnMatchAllInSection();
    EXPECT_EQ(m_rules.ReadValue("Easy", "Groundspeed"), "1.2");
    EXPECT_EQ(m_rules.ReadValue("Difficult", "Groundspeed"), "1.2");
    EXPECT_TRUE(m_messages.messages.empty());
}

// Keys of the top-level sections only share names: Money of MultiplayerDefaults is not the Money
// crate of Powerups, and General's IronCurtain is not Recharge's.
TEST_F(BuiltTreeMatchAll, TopLevelKeysAreRefused) {
    Build("[MultiplayerDefaults]\r\nMoney=3000\r\n[General]\r\nIronCurtain=.75\r\n");
    for (const char* path : {"MultiplayerDefaults\\Money", "General\\Special Weapons\\IronCurtain"}) {
        const TreeItem item = Find(path);
        ASSERT_NE(item, kNoItem) << path;
        m_editor.OnSelchangedTree(item);
        EXPECT_FALSE(m_editor.m_bMatchAllEnabled) << path;
        EXPECT_FALSE(MatchAllRefusal(m_tree, m_items, item).empty()) << path;
        m_editor.OnMatchAllInSection();
    }
    EXPECT_EQ(FileText(), "[MultiplayerDefaults]\r\nMoney=3000\r\n[General]\r\nIronCurtain=.75\r\n");
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
            if (m_tree.GetItemKey(key) != "Cost") continue;
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
