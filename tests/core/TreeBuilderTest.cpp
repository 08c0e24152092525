#include <gtest/gtest.h>

#include "RecordingMessageSink.h"
#include "TableFixture.h"
#include "TempDir.h"
#include "common/TextOps.h"
#include "platform/FileAccess.h"
#include "rulesfile/RulesFileAccess.h"
#include "schema/CatalogueFile.h"
#include "schema/CatalogueWalks.h"
#include "tree/TreeBuilder.h"
#include "tree/TreePath.h"

namespace morvane {
namespace {

std::vector<std::string> ChildLabels(const Tree& tree, TreeItem parent) {
    std::vector<std::string> labels;
    for (TreeItem item = tree.GetChildItem(parent); item != kNoItem; item = tree.GetNextSiblingItem(item))
        labels.push_back(tree.GetItemText(item));
    return labels;
}

TreeItem ChildNamed(const Tree& tree, TreeItem parent, const std::string& label) {
    for (TreeItem item = tree.GetChildItem(parent); item != kNoItem; item = tree.GetNextSiblingItem(item))
        if (tree.GetItemText(item) == label) return item;
    return kNoItem;
}

TEST(Tree, SortIsOneLevelStableAndIgnoresCase) {
    Tree tree;
    const TreeItem parent = tree.InsertItem("P", 3, 4, {});
    for (const char* label : {"b", "B2", "a", "A", "c"}) tree.InsertItem(label, 3, 4, {}, parent);
    const TreeItem child = tree.GetChildItem(parent);
    tree.InsertItem("z", 3, 4, {}, child);
    tree.InsertItem("y", 3, 4, {}, child);
    tree.SortChildren(parent);
    EXPECT_EQ(ChildLabels(tree, parent), (std::vector<std::string>{"a", "A", "b", "B2", "c"}));
    EXPECT_EQ(ChildLabels(tree, child), (std::vector<std::string>{"z", "y"}));
    const TreeItem first = tree.GetChildItem(parent);
    EXPECT_EQ(tree.GetItemText(tree.GetNextSiblingItem(first)), "A");
    EXPECT_EQ(tree.GetParentItem(first), parent);
    EXPECT_EQ(tree.GetParentItem(parent), kNoItem);
}

TEST(Tree, KeyLabelsAreDrawnFromKeyAndValueAndFollowTheValue) {
    Tree tree;
    const TreeItem parent = tree.InsertItem("P", 3, 4, {});
    const TreeItem cost = tree.InsertKeyItem("Cost", std::string("900"), 3, 4, {}, parent);
    const TreeItem ammo = tree.InsertKeyItem("ammo", std::nullopt, 3, 4, {}, parent);
    const TreeItem armor = tree.InsertKeyItem("Armor", std::string(""), 3, 4, {}, parent);
    const std::string& held = tree.GetItemText(cost);
    EXPECT_EQ(held, "Cost = 900");
    tree.SetItemValue(cost, std::string("1"));
    EXPECT_EQ(held, "Cost = 1");  // a label handed out before shows the new value
    tree.SortChildren(parent);
    EXPECT_EQ(ChildLabels(tree, parent), (std::vector<std::string>{"ammo", "Armor = ", "Cost = 1"}));
    EXPECT_EQ(tree.GetItemKey(armor), "Armor");
    EXPECT_EQ(tree.IndexInParent(ammo), 0u);
    const Tree copy = tree;
    tree.SetItemValue(cost, std::string("2"));
    EXPECT_EQ(copy.GetItemText(cost), "Cost = 1");
}

// A catalogue of a few entries, enough to show the readers' rules.
StringTable SmallCatalogue() {
    return test::MakeTable({
        {60000, "General="},
        {9901, "CThe General Settings"},
        {200, "Zeta|10000\nalpha|10001\nNoBar\n\nLost|10002"},
        {10000, "I1|.|2;help"},
        {10001, "BY|N|Y;help"},
        {2201, "V2RL=SCUD launcher|20200|25"},
        {2202, "NOEQUALS|20300|26"},
        {2203, "1TNK=light tank|20300"},
        {2204, "PLAIN=  Plain label"},
        {20200, "I0|.|150;~8103"},
        {20201, "M14000|14015|;~8100 Veh MIne"},
        {20202, "BY|N|;no reference"},
        {20203, "I0|.|;~8103"},
        {20300, "I0|.|1;~8103"},
        {8100, "Prerequisite =List of buildings"},
        {8103, "Strength =Hit points"},
    });
}

TEST(TreeBuilder, ReadersOnSmallCatalogue) {
    test::TempDir dir;
    const std::string path = dir.File("rules.ini");
    ASSERT_EQ(platform::ReplaceFileAtomically(path,
                                              "[General]\r\nZeta=12 ; twelve\r\nalpha=Empty\r\nNoBar=  \r\n"
                                              "[V2RL]\r\nStrength=300\r\nPrerequisite=weap,dome   \r\n"),
              0);
    const StringTable table = SmallCatalogue();
    Tree tree;
    test::RecordingMessageSink messages;
    RulesFileAccess rules(messages);
    rules.SetRulesPath(path);
    TreeBuilder builder(tree, table, rules);

    const TreeItem general = tree.InsertItem("General", 39, 39, {60000, 9901});
    builder.AddSectionKeys("General", general, 200);
    // Key-list order, no sort; the comment is cut, "Empty" is a value like any other, an empty
    // value keeps " = ".
    EXPECT_EQ(ChildLabels(tree, general), (std::vector<std::string>{"Zeta = 12", "alpha = Empty", "NoBar = ", ""}));
    EXPECT_EQ(tree.GetItemData(tree.GetChildItem(general)), (TreeItemData{0, 10000}));
    EXPECT_EQ(tree.GetItemData(tree.ChildAt(general, 2)), (TreeItemData{0, 0}));
    EXPECT_EQ(tree.GetItemImage(tree.GetChildItem(general)), 3);
    EXPECT_EQ(tree.GetItemSelectedImage(tree.GetChildItem(general)), 4);

    const TreeItem group = tree.InsertItem("Land Vehicles", 3, 4, {});
    builder.AddObjectItems(group, 2201, 2205);
    EXPECT_EQ(ChildLabels(tree, group), (std::vector<std::string>{"SCUD launcher", "light tank", "Plain label"}));
    const TreeItem v2rl = tree.GetChildItem(group);
    EXPECT_EQ(tree.GetItemData(v2rl), (TreeItemData{2201, 0}));
    EXPECT_EQ(tree.GetItemImage(v2rl), 25);
    EXPECT_EQ(tree.GetItemImage(tree.ChildAt(group, 1)), 3);  // no image field
    // Sorted; the descriptor without reference gives nothing; the same key twice gives two items.
    EXPECT_EQ(ChildLabels(tree, v2rl),
              (std::vector<std::string>{"Prerequisite = weap,dome", "Strength = 300", "Strength = 300"}));
    EXPECT_EQ(tree.GetItemData(tree.GetChildItem(v2rl)), (TreeItemData{8100, 20201}));
    EXPECT_FALSE(tree.ItemHasChildren(tree.ChildAt(group, 2)));  // an entry without "|" has no keys
    EXPECT_TRUE(messages.messages.empty());
}

// Values come from the first section of the name in any letter case and its first key of the
// name; keys named alike in the list get the same value; the labels end up sorted.
TEST(TreeBuilder, ObjectKeysReadAsTheProfileReaderAndSortByLabel) {
    test::TempDir dir;
    const std::string path = dir.File("rules.ini");
    ASSERT_EQ(platform::ReplaceFileAtomically(path,
                                              "[v2rl]\r\nspeed=5\r\nAmmo = 3 ; three\r\nSPEED=9\r\nAmmo2=1\r\n"
                                              "[V2RL]\r\nSpeed=7\r\nCost=10\r\n"),
              0);
    const StringTable table = test::MakeTable({
        {2201, "V2RL=SCUD launcher|20200|25"},
        {20200, "I0|.|1;~8101"},
        {20201, "I0|.|1;~8102"},
        {20202, "I0|.|1;~8103"},
        {20203, "I0|.|1;~8104"},
        {20204, "I0|.|1;~8105"},
        {8101, "Speed =help"},
        {8102, "Ammo =help"},
        {8103, "SPEED =help"},
        {8104, "Ammo2 =help"},
        {8105, "Cost =help"},
    });
    Tree tree;
    test::RecordingMessageSink messages;
    RulesFileAccess rules(messages);
    rules.SetRulesPath(path);
    TreeBuilder builder(tree, table, rules);
    const TreeItem group = tree.InsertItem("Vehicles", 3, 4, {});
    builder.AddObjectItems(group, 2201, 2201);
    const TreeItem v2rl = tree.GetChildItem(group);
    EXPECT_EQ(ChildLabels(tree, v2rl),
              (std::vector<std::string>{"Ammo = 3", "Ammo2 = 1", "Cost", "Speed = 5", "SPEED = 5"}));
    for (TreeItem item = tree.GetChildItem(v2rl); item != kNoItem; item = tree.GetNextSiblingItem(item))
        EXPECT_EQ(tree.GetItemValue(item), rules.ReadValue("V2RL", tree.GetItemKey(item))) << tree.GetItemKey(item);
}

TEST(KeyPlan, FindsNamesWithoutRegardToCaseAndKnowsWhenNamesDecideTheOrder) {
    const auto plan = [](std::vector<std::string> names) {
        std::vector<ObjectKey> keys;
        for (std::string& name : names) keys.push_back({0, 0, std::move(name)});
        return KeyPlan(std::move(keys));
    };
    const KeyPlan keys = plan({"Speed", " Cost ", "ammo", "SPEED", "Ammo2"});
    EXPECT_EQ(keys.Find("speed"), 0u);
    EXPECT_EQ(keys.NextSameName(0), 3u);
    EXPECT_EQ(keys.NextSameName(3), KeyPlan::kNone);
    EXPECT_EQ(keys.Find("COST"), 1u);
    EXPECT_EQ(keys.Find("Ammo"), 2u);
    EXPECT_EQ(keys.Find("Amm"), KeyPlan::kNone);
    EXPECT_EQ(keys.SortedOrder(), (std::vector<std::uint32_t>{1, 2, 4, 0, 3}));  // the blank first
    EXPECT_FALSE(keys.LabelsFollowNames());                                      // Speed and SPEED: their values decide
    EXPECT_TRUE(plan({"Ammo", "Ammo2", "Cost"}).LabelsFollowNames());
    EXPECT_FALSE(plan({"Ammo", "Ammo X"}).LabelsFollowNames());  // "Ammo = 9" against "Ammo X"
    EXPECT_EQ(plan({}).Find("x"), KeyPlan::kNone);
}

class BuiltTree : public testing::Test {
protected:
    static void SetUpTestSuite() {
        s_tree = new Tree;
        test::RecordingMessageSink messages;
        RulesFileAccess rules(messages);
        rules.SetRulesPath("/nonexistent/rules.ini");
        TreeBuilder(*s_tree, BuiltInCatalogue(), rules).BuildTree();
    }
    static void TearDownTestSuite() { delete s_tree; }
    static Tree* s_tree;
};
Tree* BuiltTree::s_tree = nullptr;

TEST_F(BuiltTree, RootOrderAndGroups) {
    const Tree& tree = *s_tree;
    EXPECT_EQ(ChildLabels(tree, kRoot),
              (std::vector<std::string>{"General", "MultiplayerDefaults", "Recharge", "AI", "IQ", "Maximums",
                                        "ThemeControl", "Aftermath", "Country Statistics", "Difficulty Settings",
                                        "Units", "Structures", "Weapon Types", "Projectile Types", "Warheads Types",
                                        "Land Types", "Mission Control", "Powerups"}));
    const TreeItem general = tree.GetChildItem(kRoot);
    EXPECT_EQ(ChildLabels(tree, general),
              (std::vector<std::string>{"Crates", "Special Weapons", "Chrono Side Effects", "Repairing ",
                                        "Combat and Damage", "Income And Production", "Map Controls",
                                        "Computer Controls", "Movement Controls", "Misc"}));
    const TreeItem map = ChildNamed(tree, general, "Map Controls");
    EXPECT_EQ(tree.GetItemData(map), (TreeItemData{0, 9907}));
    EXPECT_EQ(tree.GetItemImage(map), 8);
    EXPECT_EQ(tree.GetItemText(tree.GetChildItem(map)), "AllyReveal");  // list 207, sorted
    EXPECT_EQ(tree.GetItemImage(ChildNamed(tree, general, "Computer Controls")), 10);
    EXPECT_EQ(tree.GetItemImage(ChildNamed(tree, general, "Movement Controls")), 9);
    EXPECT_EQ(ChildLabels(tree, ChildNamed(tree, general, "Misc")),
              (std::vector<std::string>{"FineDiffControl", "MCVUndeploy"}));
}

TEST_F(BuiltTree, CountriesSortedDifficultiesNot) {
    const Tree& tree = *s_tree;
    const TreeItem countries = ChildNamed(tree, kRoot, "Country Statistics");
    EXPECT_EQ(ChildLabels(tree, countries),
              (std::vector<std::string>{"England", "France", "Germany", "Greece", "Other Houses", "Spain", "Turkey",
                                        "Ukraine", "USSR"}));
    const TreeItem houses = ChildNamed(tree, countries, "Other Houses");
    EXPECT_EQ(tree.GetItemData(houses), (TreeItemData{0, 9915}));
    EXPECT_EQ(ChildLabels(tree, houses),
              (std::vector<std::string>{"BadGuy", "GoodGuy", "Multi1", "Multi2", "Multi3", "Multi4", "Multi5", "Multi6",
                                        "Multi7", "Multi8", "Neutral", "Special"}));
    EXPECT_EQ(ChildLabels(tree, ChildNamed(tree, houses, "Multi8")),
              ChildLabels(tree, ChildNamed(tree, countries, "USSR")));
    const TreeItem ussr = ChildNamed(tree, countries, "USSR");
    EXPECT_EQ(tree.GetItemData(ussr), (TreeItemData{60010, 9915}));
    EXPECT_EQ(tree.GetItemImage(ussr), 21);
    EXPECT_EQ(ChildLabels(tree, ussr),
              (std::vector<std::string>{"Firepower", "Groundspeed", "Airspeed", "Armor", "ROF", "Cost", "BuildTime"}));
    const TreeItem difficulties = ChildNamed(tree, kRoot, "Difficulty Settings");
    // The game's reader names the third difficulty Difficult, as the shipped files do.
    EXPECT_EQ(ChildLabels(tree, difficulties), (std::vector<std::string>{"Easy", "Normal", "Difficult"}));
    EXPECT_EQ(tree.GetItemData(ChildNamed(tree, difficulties, "Difficult")), (TreeItemData{60016, 9916}));
    const TreeItem normal = ChildNamed(tree, difficulties, "Normal");
    EXPECT_EQ(tree.GetItemText(tree.ChildAt(normal, 9)), "Groundspeed");
    EXPECT_EQ(tree.GetItemData(tree.ChildAt(normal, 9)), (TreeItemData{0, 10331}));
}

TEST_F(BuiltTree, ObjectsAndKeys) {
    const Tree& tree = *s_tree;
    const TreeItem units = ChildNamed(tree, kRoot, "Units");
    EXPECT_EQ(ChildLabels(tree, units),
              (std::vector<std::string>{"Land Vehicles", "Aircraft", "Sea Vehicles", "Infantry", "Civilians"}));
    const TreeItem others = ChildNamed(tree, ChildNamed(tree, kRoot, "Structures"), "Others");
    const auto labels = ChildLabels(tree, others);
    ASSERT_EQ(labels.size(), 10u);
    EXPECT_TRUE(std::is_sorted(labels.begin(), labels.end(),
                               [](const std::string& a, const std::string& b) { return CompareNoCase(a, b) < 0; }));
    EXPECT_NE(ChildNamed(tree, others, "Anti-Personnel Mines"), kNoItem);

    const TreeItem warheads = ChildNamed(tree, kRoot, "Warheads Types");
    const TreeItem he = ChildNamed(tree, warheads, "HE");
    EXPECT_EQ(tree.GetItemData(he), (TreeItemData{3301, 8601}));
    EXPECT_EQ(tree.GetItemImage(he), 5);
    const TreeItem verses = ChildNamed(tree, he, "Verses");
    EXPECT_EQ(tree.GetItemData(verses).nameId, 8504);

    const TreeItem land = ChildNamed(tree, kRoot, "Land Types");
    EXPECT_NE(ChildNamed(tree, land, "Roadway"), kNoItem);

    std::size_t keyItems = 0;
    std::vector<TreeItem> stack{kRoot};
    while (!stack.empty()) {
        const TreeItem item = stack.back();
        stack.pop_back();
        for (TreeItem child = tree.GetChildItem(item); child != kNoItem; child = tree.GetNextSiblingItem(child)) {
            if (tree.ItemHasChildren(child))
                stack.push_back(child);
            else
                ++keyItems;
        }
    }
    EXPECT_EQ(keyItems, 6582u);  // every key of the catalogue, all bare: the file does not exist
}

// What the game reads beyond the original catalogue sits where a modder looks for it.
TEST_F(BuiltTree, EverythingTheGameReadsHasItsPlace) {
    const char* paths[] = {
        "Maximums\\Players",
        "ThemeControl\\BIGF226M",
        "ThemeControl\\WASTELND",
        "Aftermath\\NewUnitsEnabled",
        "Aftermath\\EngineerCaptureLevel",
        "General\\Computer Controls\\GameSpeedBias",
        "Country Statistics\\Other Houses\\GoodGuy\\Firepower",
        "Country Statistics\\Other Houses\\Multi8\\BuildTime",
        "Difficulty Settings\\Difficult\\Groundspeed",
        "Units\\Infantry\\Shock trooper\\Primary",
        "Units\\Infantry\\Mechanic",
        "Units\\Land Vehicles\\Warrior ant",
        "Units\\Land Vehicles\\Chrono tank",
        "Units\\Land Vehicles\\Phase transport",
        "Units\\Sea Vehicles\\Missile submarine",
        "Units\\Sea Vehicles\\Helicopter carrier",
        "Structures\\Non-Weapons\\Technology Center\\Capturable",
        "Structures\\Non-Weapons\\Ant queen",
        "Structures\\Others\\Barrels",
        "Weapon Types\\Mandible",
        "Weapon Types\\Air Assault",
        "Warheads Types\\Mechanical\\Verses",
        "Projectile Types\\Cannon\\Inaccuate",
        "Mission Control\\Stop\\Rate",
        "Mission Control\\Ambush\\AARate",
        "Powerups\\ChronalVortex",
        "Units\\Land Vehicles\\SCUD launcher\\Crushable",
        "Units\\Aircraft\\Badger bomber\\Repairable",
        "Structures\\Non-Weapons\\Construction Yard\\Name",
    };
    for (const char* path : paths) EXPECT_NE(FindItemByPath(*s_tree, path), kNoItem) << path;
    EXPECT_EQ(FindItemByPath(*s_tree, "Difficulty Settings\\Hard"), kNoItem);
}

}  // namespace
}  // namespace morvane
