// Selecting a tree item: what the value editor takes from the label, what each kind shows, and
// the state of Apply, Default and Match All that the selection leaves.
#include <gtest/gtest.h>

#include "ValueEditorFixture.h"

namespace morvane {
namespace {

using namespace test;  // the fixture and its descriptor ids

TEST_F(ValueEditorTest, ValueComesFromTheLabelOrTheDefault) {
    const struct {
        const char* label;
        std::uint16_t descriptor;
        const char* shown;
        const char* shownDefault;
    } cases[] = {
        // Integer: the spin takes the descriptor's 16-bit bounds ("." is +-32767) and the value.
        {"CrateMinimum = 2", kIntCrates, "2 spin 1..32767 @2", "2"},
        {"CrateMinimum", kIntCrates, "2 spin 1..32767 @2", "2"},
        {"Delay =   7", kIntSigned, "7 spin -1..10 @7", "5"},
        {"Delay = a=b", kIntSigned, "a=b spin -1..10 @0", "5"},
        {"Strength", kIntOpen, "-200 spin -32767..32767 @-200", "-200"},
        {"Strength = 70000", kIntOpen, "70000 spin -32767..32767 @4464", "-200"},
        {"Nothing", kIntNoDefault, " spin 0..32767 @0", ""},
        // Real: free text.
        {"ReloadRate = 1.5", kReal, "1.5", ".04"},
        {"ReloadRate", kReal, ".04", ".04"},
        // Yes/no and true/false: the caption keeps the blank that stood before "=".
        {"OreGrows = no", kYesNo, "[ ] OreGrows", "yes"},
        {"OreGrows", kYesNo, "[x] OreGrows", "yes"},
        {"Flag = T", kTrueFalse, "[x] Flag", "false"},
        {"Flag", kTrueFalse, "[ ] Flag", "false"},
        // Percentage: the slider runs 0 to 100.
        {"RefundPercent = 35%", kPercent, "35% @35", "20%"},
        {"RefundPercent", kPercent, "20% @20", "20%"},
        {"RefundPercent = 150%", kPercent, "150% @100", "20%"},
        // A fraction is a percentage to the game: ".2" is 20%; one that is no whole percentage
        // keeps its text; a plain number is that many times 100%.
        {"RefundPercent = .2", kPercent, "20% @20", "20%"},
        {"RefundPercent = 0.05", kPercent, "5% @5", "20%"},
        {"RefundPercent = 1.5", kPercent, "150% @100", "20%"},
        {"RefundPercent = .165", kPercent, ".165 @16", "20%"},
        {"RefundPercent = 25", kPercent, "2500% @100", "20%"},
        // Crate powerup: chance, animation (sorted combo) and the option when there is one.
        {"Armor = 10,ARMOR,2.0", kCrateArmor, "10 | ARMOR #0 | Multiplier: 2.0 spin 0..100", "10,ARMOR,2.0"},
        {"Armor", kCrateArmor, "10 | ARMOR #0 | Multiplier: 2.0 spin 0..100", "10,ARMOR,2.0"},
        {"Pulse = 1,EMPULSE", kCratePulse, "1 | EMPULSE #2 spin 1..50", "1,EMPULSE"},
        {"Pulse = 5,empulse,3", kCratePulse, "5 | EMPULSE #2 | Pulse: 3 spin 1..50", "1,EMPULSE"},
        {"Squad = 20,NONE,4", kCrateSquad, "20 | NONE #3 | Option: 4 spin 0..100", "20,NONE"},
        {"Armor = 10,TQ,", kCrateArmor, "10 | TQUAKE #4 spin 0..100", "10,ARMOR,2.0"},
        {"Armor = 10,CUSTOM", kCrateArmor, "10 | CUSTOM #-1 spin 0..100", "10,ARMOR,2.0"},
        {"Armor = DOLLAR", kCrateArmor, " | dollar #1 spin 0..100", "10,ARMOR,2.0"},
        // Verses: five fields; missing ones come from the default's first entries, then zeros.
        {"Verses = 100%,50%,60%,25%,25%", kVersesBlank, "100%|50%|60%|25%|25% @100,50,60,25,25",
         " 100% 50% 60% 25% 25%"},
        {"Verses = 10%, 20%,30%,40%,50%,60%", kVersesBlank, "10%|20%|30%|40%|50% @10,20,30,40,50",
         " 100% 50% 60% 25% 25%"},
        {"Verses", kVersesBlank, " 100%|50%|60%|25%|25% @100,50,60,25,25", " 100% 50% 60% 25% 25%"},
        {"Verses = 30%,40%", kVersesShort, "30%|40%|100%|0%|0% @30,40,100,0,0", "100% 0% 0% 0% 0"},
        {"Verses", kVersesShort, "100%|0%|0%|0%|100% @100,0,0,0,100", "100% 0% 0% 0% 0"},
        {"Verses = 70%", kVersesBare, "70%|0%|0%|0%|0% @70,0,0,0,0", "full"},
        {"Verses", kVersesBare, "0%|0%|0%|0%|0% @0,0,0,0,0", "full"},
        // One of a list: the combo selects the first entry that begins with the value, any case.
        {"Primary = SCUD", kWeapon, "SCUD - SCUD launcher #2", "SCUD - SCUD launcher"},
        {"Primary", kWeapon, "SCUD - SCUD launcher #2", "SCUD - SCUD launcher"},
        {"Primary = zsu", kWeapon, "ZSU-23 - Anti-aircraft multiple cannon #1", "SCUD - SCUD launcher"},
        {"Primary = Laser", kWeapon, "Laser #-1", "SCUD - SCUD launcher"},
        {"Primary = 3TNK", kWeapon, "3TNK #-1", "SCUD - SCUD launcher"},
        // Several of a list: elements are not trimmed; one that begins no entry selects nothing.
        {"Prerequisite = weap,nosuch,dome", kPrereq, "weap,dome", "weap,dome"},
        {"Prerequisite = fact, dome", kPrereq, "fact", "weap,dome"},
        {"Prerequisite = ATEK,none", kPrereq, "none,atek", "weap,dome"},
        {"Prerequisite", kPrereq, "weap,dome", "weap,dome"},
    };
    for (const auto& c : cases) {
        const TreeItem item = SelectKey(c.label, c.descriptor);
        EXPECT_EQ(Shown(m_editor), c.shown) << c.label;
        EXPECT_EQ(m_editor.m_strDefault, c.shownDefault) << c.label;
        EXPECT_EQ(m_editor.m_hCurItem, item) << c.label;
    }
    EXPECT_TRUE(m_messages.messages.empty());
    EXPECT_EQ(FileText(), "<no file>");  // selecting never touches the rules file
}

TEST_F(ValueEditorTest, CheckBoxFollowsTheFirstLetterOfTheValue) {
    const struct {
        const char* value;
        int checked;
    } cases[] = {
        {"yes", 1}, {"Yes", 1}, {"y", 1}, {"true", 1},  {"T", 1}, {"1", 1}, {"  YES", 1}, {"\ttrue", 1},
        {"no", 0},  {"No", 0},  {"n", 0}, {"false", 0}, {"0", 0}, {"", 0},  {"x1", 0},    {"off", 0},
    };
    for (const std::uint16_t descriptor : {kYesNo, kTrueFalse}) {
        for (const auto& c : cases) {
            SelectKey(std::string("Key = ") + c.value, descriptor);
            EXPECT_EQ(m_editor.m_bCheck, c.checked) << descriptor << " '" << c.value << "'";
        }
    }
}

TEST_F(ValueEditorTest, EachKindShowsItsOwnControls) {
    using namespace control;
    const std::set<int> verses = {kVersesColumns[0].slider, kVersesColumns[0].caption, kVersesColumns[0].edit,
                                  kVersesColumns[1].slider, kVersesColumns[1].caption, kVersesColumns[1].edit,
                                  kVersesColumns[2].slider, kVersesColumns[2].caption, kVersesColumns[2].edit,
                                  kVersesColumns[3].slider, kVersesColumns[3].caption, kVersesColumns[3].edit,
                                  kVersesColumns[4].slider, kVersesColumns[4].caption, kVersesColumns[4].edit,
                                  kDefaultCaption,          kVersesScaleTop,           kVersesScaleBottom};
    const std::set<int> crate = {kDefaultCaption, kChanceCaption,  kAnimationCaption,
                                 kChanceSpin,     kAnimationCombo, kChanceEdit};
    std::set<int> crateWithOption = crate;
    crateWithOption.insert({kOptionEdit, kOptionCaption});
    const struct {
        const char* label;
        std::uint16_t descriptor;
        std::set<int> visible;
    } cases[] = {
        {"A = 1", kIntCrates, {kValueSpin, kValueEdit, kDefaultCaption}},
        {"A = 1", kReal, {kValueEdit, kDefaultCaption}},
        {"A = yes", kYesNo, {kCheckBox, kDefaultCaption}},
        {"A = true", kTrueFalse, {kCheckBox, kDefaultCaption}},
        {"A = 5%",
         kPercent,
         {kPercentSlider, kPercentScale0, kPercentScale100, kPercentScale50, kPercentText, kDefaultCaption}},
        {"A = 1,ARMOR,2", kCrateArmor, crateWithOption},
        {"A = 1,ARMOR", kCrateArmor, crate},
        {"A = 1,ARMOR,", kCrateArmor, crate},
        {"A", kVersesBlank, verses},
        {"A = SCUD", kWeapon, {kDefaultCaption, kListCombo}},
        {"A = weap", kPrereq, {kDefaultCaption, kMultiList}},
        // No value kind: nothing but the always-visible texts.
        {"A", kHeading, {}},
        {"A = 1", kUnknownKind, {}},
        {"A = 1", kNoBars, {}},
        {"A = 1", 0, {}},
        {"A = 1", 12345, {}},
    };
    for (const auto& c : cases) {
        SelectKey(c.label, c.descriptor);
        EXPECT_EQ(m_editor.m_visible, c.visible) << c.descriptor;
        EXPECT_FALSE(m_editor.IsVisible(kSpareIcon));
    }
}

TEST_F(ValueEditorTest, HelpAndTypeOfItemsWithoutAValueKind) {
    const struct {
        std::uint16_t descriptor;
        const char* type;
        const char* help;
        const char* shownDefault;
    } cases[] = {
        {kHeading, "C", "Crate setting for the game", ""},
        {kUnknownKind, "X", "Kind the editor does not know", ""},
        {kNoBars, "I", "", ""},
        {0, "", "", ""},
        {12345, "", "", ""},  // an id without a string
    };
    for (const auto& c : cases) {
        SelectKey("Rate = 4", c.descriptor);
        EXPECT_EQ(m_editor.m_strType, c.type) << c.descriptor;
        EXPECT_EQ(m_editor.m_strHelp, c.help) << c.descriptor;
        EXPECT_EQ(m_editor.m_strDefault, c.shownDefault) << c.descriptor;
        EXPECT_EQ(m_editor.m_strPath, "General\\Crates\\Rate") << c.descriptor;
    }
}

TEST_F(ValueEditorTest, CrateHelpLosesItsCaptionOnlyWithAnOption) {
    const struct {
        const char* label;
        std::uint16_t descriptor;
        const char* help;
    } cases[] = {
        {"Armor = 10,ARMOR,2.0", kCrateArmor, "Armor of nearby objects increased"},
        {"Pulse = 1,EMPULSE", kCratePulse, "Pulse!Radar jammed"},
        {"Pulse", kCratePulse, "Pulse!Radar jammed"},
        {"Squad = 20,NONE,4", kCrateSquad, "Extra squad of random infantry"},
        {"Strength = 4", kIntOpen, "Hit points"},  // "~" help: the key name's text after "="
        {"Prerequisite", kPrereq, "List of buildings needed"},
    };
    for (const auto& c : cases) {
        SelectKey(c.label, c.descriptor);
        EXPECT_EQ(m_editor.m_strHelp, c.help) << c.label;
    }
}

TEST_F(ValueEditorTest, ListsAreFilledFromTheirRange) {
    SelectKey("Armor = 1,ARMOR", kCrateArmor);
    // The animation combo is sorted without regard to case.
    EXPECT_EQ(m_editor.m_animationCombo.entries,
              (std::vector<std::string>{"ARMOR", "dollar", "EMPULSE", "NONE", "TQUAKE"}));

    SelectKey("Primary = SCUD", kWeapon);
    // Cut at "|", in id order, ending at the descriptor's last id.
    EXPECT_EQ(m_editor.m_listCombo.entries,
              (std::vector<std::string>{"None - None", "ZSU-23 - Anti-aircraft multiple cannon", "SCUD - SCUD launcher",
                                        "2TNK - Medium tank"}));
    EXPECT_TRUE(m_editor.m_animationCombo.entries.empty());
    EXPECT_TRUE(m_editor.m_multiList.entries.empty());

    SelectKey("Prerequisite = weap", kPrereq);
    // Not cut; with "." as the last id the list runs to the first free id.
    EXPECT_EQ(m_editor.m_multiList.entries,
              (std::vector<std::string>{"none - No Prequisited Required", "fact - Construction Yard",
                                        "weap - War Factory", "dome - Radar Dome", "atek - Allied Tech Center|kept"}));
    EXPECT_EQ(m_editor.m_multiList.selected, (std::vector<bool>{false, false, true, false, false}));
    EXPECT_TRUE(m_editor.m_listCombo.entries.empty());
    EXPECT_EQ(m_editor.m_listCombo.selection, -1);
}

TEST_F(ValueEditorTest, ItemPathEndsWithTheKey) {
    const TreeItem key = SelectKey("CrateMinimum = 2", kIntCrates);
    EXPECT_EQ(m_editor.m_strPath, "General\\Crates\\CrateMinimum");
    EXPECT_EQ(m_editor.GetItemPath(key), "General\\Crates\\CrateMinimum");
    EXPECT_EQ(m_editor.GetItemPath(AddKey(m_crates, "Bare", kIntCrates)), "General\\Crates\\Bare");
    EXPECT_EQ(m_editor.GetItemPath(m_crates), "General\\Crates");
    EXPECT_EQ(m_editor.GetItemPath(m_general), "General");
    // A key at the root is its key alone; a parent ending in "\" gets no second one.
    EXPECT_EQ(m_editor.GetItemPath(AddKey(kRoot, "Loose = 3", kIntCrates)), "Loose");
    const TreeItem repairing = AddKey(m_general, "Repairing\\", 0);
    EXPECT_EQ(m_editor.GetItemPath(AddKey(repairing, "RepairStep = 7", kIntCrates)), "General\\Repairing\\RepairStep");
}

TEST_F(ValueEditorTest, SelectionSetsApplyDefaultAndMatchAll) {
    const TreeItem leaf = AddKey(m_crates, "CrateMinimum = 2", kIntCrates);
    const TreeItem rootLeaf = AddKey(kRoot, "Loose = 3", kIntCrates);
    const TreeItem rootWithoutDescriptor = AddKey(kRoot, "Stray", 0);
    const TreeItem group = m_tree.InsertItem("Infantry", 3, 4, {}, m_tree.InsertItem("Units", 3, 4, {}));
    const TreeItem objectKey = AddKey(m_tree.InsertItem("Rifle soldier", 3, 3, {2101, 0}, group), "Cost = 5", kIntOpen);

    // Apply and Default start disabled, the menu item enabled.
    EXPECT_FALSE(m_editor.m_bApplyEnabled);
    EXPECT_FALSE(m_editor.m_bDefaultEnabled);
    EXPECT_TRUE(m_editor.m_bMatchAllEnabled);

    const struct {
        TreeItem item;
        bool applyAndDefault;
        bool matchAll;
    } steps[] = {
        {m_crates, false, false},  // has children: all off
        {objectKey, true, true},   // a key of an object in a group: its siblings are of its kind
        {rootLeaf, true, false},   // a leaf without parent: no section
        {leaf, true, false},       // General is a top-level section: its siblings are unrelated
        {rootWithoutDescriptor, true, false},
        {m_general, false, false},
    };
    for (const auto& step : steps) {
        m_editor.OnSelchangedTree(step.item);
        EXPECT_EQ(m_editor.m_bApplyEnabled, step.applyAndDefault) << Label(step.item);
        EXPECT_EQ(m_editor.m_bDefaultEnabled, step.applyAndDefault) << Label(step.item);
        EXPECT_EQ(m_editor.m_bMatchAllEnabled, step.matchAll) << Label(step.item);
        EXPECT_EQ(m_editor.m_strMatchAllRefusal.empty(), step.matchAll) << Label(step.item);
    }
}

TEST_F(ValueEditorTest, CurrentItemChangesOnlyForTheNineValueKinds) {
    EXPECT_EQ(m_editor.m_hCurItem, kNoItem);
    const TreeItem shown = SelectKey("CrateMinimum = 3", kIntCrates);
    for (const std::uint16_t descriptor : std::initializer_list<std::uint16_t>{kHeading, kUnknownKind, kNoBars, 0}) {
        SelectKey("Other = 1", descriptor);
        EXPECT_EQ(m_editor.m_hCurItem, shown) << descriptor;
    }
    m_editor.OnSelchangedTree(m_crates);
    EXPECT_EQ(m_editor.m_hCurItem, shown);
    for (const std::uint16_t descriptor :
         {kIntCrates, kReal, kYesNo, kTrueFalse, kPercent, kCrateArmor, kVersesBlank, kWeapon, kPrereq}) {
        const TreeItem item = SelectKey("Key = 1", descriptor);
        EXPECT_EQ(m_editor.m_hCurItem, item) << descriptor;
    }
}

TEST_F(ValueEditorTest, SelectionClearsWhatTheLastKindShowed) {
    SelectKey("CrateMinimum = 3", kIntCrates);
    ASSERT_EQ(m_editor.m_strValue, "3");
    SelectKey("Primary = SCUD", kWeapon);
    EXPECT_EQ(m_editor.m_strValue, "");
    ASSERT_EQ(m_editor.m_listCombo.selection, 2);
    SelectKey("Rate = 4", kHeading);
    EXPECT_EQ(m_editor.m_strDefault, "");
    EXPECT_TRUE(m_editor.m_listCombo.entries.empty());
    EXPECT_EQ(m_editor.m_listCombo.selection, -1);
    EXPECT_TRUE(m_editor.m_visible.empty());
}

TEST_F(ValueEditorTest, ObjectPictureShowsWhileItsObjectIsSelected) {
    const TreeItem infantry = m_tree.InsertItem("Infantry", 3, 4, {});
    const TreeItem rifle = m_tree.InsertItem("Rifle soldier", 3, 3, {2101, 0}, infantry);
    const TreeItem cost = AddKey(rifle, "Cost = 100", kObjectCost, 8109);
    const TreeItem he = m_tree.InsertItem("HE", 5, 5, {3301, 0}, infantry);
    AddKey(he, "Verses", kVersesBlank, 8504);

    m_editor.OnSelchangedTree(rifle);
    EXPECT_EQ(m_editor.m_visible, (std::set<int>{2101}));
    EXPECT_EQ(m_editor.m_nIconId, 2101);
    m_editor.OnSelchangedTree(cost);  // a key's name id is no picture
    EXPECT_FALSE(m_editor.IsVisible(2101));
    EXPECT_FALSE(m_editor.IsVisible(8109));
    EXPECT_EQ(m_editor.m_nIconId, 2101);
    m_editor.OnSelchangedTree(he);  // an object without a picture
    EXPECT_TRUE(m_editor.m_visible.empty());
    EXPECT_EQ(m_editor.m_nIconId, 2101);
}

}  // namespace
}  // namespace morvane
