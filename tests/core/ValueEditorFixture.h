#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <set>
#include <sstream>
#include <string>

#include "KeyItems.h"
#include "RecordingMessageSink.h"
#include "TableFixture.h"
#include "TempDir.h"
#include "common/TextOps.h"
#include "editor/ControlIds.h"
#include "editor/ValueEditor.h"
#include "platform/FileAccess.h"
#include "rulesfile/RulesFileAccess.h"
#include "tree/ItemFileAccess.h"
#include "tree/Tree.h"

namespace morvane::test {

// Descriptor ids of the editor's small catalogue, one or more per value kind.
enum : std::uint16_t {
    kIntCrates = 10000,     // I1|.|2
    kIntSigned = 10001,     // I-1|10|5
    kIntOpen = 10002,       // I.|.|-200
    kIntNoDefault = 10003,  // I0|.|
    kReal = 10004,          // R0|.|.04
    kYesNo = 10005,         // BY|N|Y
    kTrueFalse = 10006,     // TT|F|
    kPercent = 10007,       // P0|100|20
    kCrateArmor = 10008,    // K0|100|10,ARMOR,2.0 with a captioned help
    kCratePulse = 10009,    // K1|50|1,EMPULSE, help with "!" but no option in the default
    kCrateSquad = 10010,    // K0|100|20,NONE, help without "!"
    kVersesBlank = 10011,   // default " 100% 50% 60% 25% 25%"
    kVersesShort = 10012,   // default "100% 0% 0% 0% 0"
    kVersesBare = 10013,    // default without any "%"
    kWeapon = 10014,        // L2999|3002|3001
    kPrereq = 10015,        // M14000|.|14002,14003
    kManyNames = 10016,     // M15000|.| over 25 entries
    kUnknownKind = 10017,   // X1|2|3;help
    kNoBars = 10018,        // "Iplain": no fields
    kObjectCost = 10019,    // I0|.|100, the Cost of a game object
    kHeading = 9900,
};

// The editor's catalogue: the descriptors above, their key names, a few list entries and
// crate animations (stored out of order, so that the sorted combo shows).
inline StringTable EditorCatalogue() {
    StringTable table = MakeTable({
        {60000, "General="},
        {60001, "MultiplayerDefaults="},
        {9901, "CThe General Settings"},
        {kHeading, "CCrate setting for the game"},
        {kIntCrates, "I1|.|2;Fewest crates on the map"},
        {kIntSigned, "I-1|10|5;Delay before the next try"},
        {kIntOpen, "I.|.|-200;~8136"},
        {kIntNoDefault, "I0|.|;No default"},
        {kReal, "R0|.|.04;Minutes to reload"},
        {kYesNo, "BY|N|Y;~8138"},
        {kTrueFalse, "TT|F|;Whether the flag is kept"},
        {kPercent, "P0|100|20;Share refunded on sale"},
        {kCrateArmor, "K0|100|10,ARMOR,2.0;Multiplier!Armor of nearby objects increased"},
        {kCratePulse, "K1|50|1,EMPULSE;Pulse!Radar jammed"},
        {kCrateSquad, "K0|100|20,NONE; Extra squad of random infantry"},
        {kVersesBlank, "V.|.| 100% 50% 60% 25% 25%;~8504"},
        {kVersesShort, "V.|.|100% 0% 0% 0% 0;~8504"},
        {kVersesBare, "V.|.|full;~8504"},
        {kWeapon, "L2999|3002|3001;Weapon fired"},
        {kPrereq, "M14000|.|14002,14003;~8100 Veh"},
        {kManyNames, "M15000|.|;Many names"},
        {kUnknownKind, "X1|2|3;Kind the editor does not know"},
        {kNoBars, "Iplain"},
        {kObjectCost, "I0|.|100;~8109"},
        {8100, "Prerequisite =List of buildings needed"},
        {8109, "Cost =Amount the object costs"},
        {8136, "Strength =Hit points"},
        {8138, "OreGrows =Whether ore grows"},
        {8504, "Verses =Damage against armour"},
        {9200, "TQUAKE"},
        {9201, "ARMOR"},
        {9202, "EMPULSE"},
        {9203, "dollar"},
        {9204, "NONE"},
        {2999, "None=None"},
        {3000, "ZSU-23=Anti-aircraft multiple cannon"},
        {3001, "SCUD=SCUD launcher|20200|25"},
        {3002, "2TNK=Medium tank"},
        {3003, "3TNK=Past the last id"},
        {14000, "none=No Prequisited Required"},
        {14001, "fact=Construction Yard"},
        {14002, "weap=War Factory"},
        {14003, "dome=Radar Dome"},
        {14004, "atek=Allied Tech Center|kept"},
        {2100, "DOG=Attack dog|21200|3"},
        {2101, "E1=Rifle soldier|21240|3"},
        {2102, "E2=Grenadier|21280|3"},
        {2103, "E3=Rocket soldier|21320|3"},
        {2104, "E4=Flamethrower|21360|3"},
        {2105, "Bad]=Cannot be written|21400|3"},
        {3301, "HE=HE~8601|39010|5"},
    });
    for (int i = 0; i < 25; ++i) {
        const std::string number = (i < 10 ? "N0" : "N") + std::to_string(i);
        table.Add(static_cast<std::uint16_t>(15000 + i), number + "=Name " + std::to_string(i));
    }
    return table;
}

// What the controls of the shown kind hold, in one line, so that a table can state it.
inline std::string Shown(const ValueEditor& editor) {
    const std::string& type = editor.m_strType;
    std::ostringstream out;
    if (type == "I") {
        out << editor.m_strValue << " spin " << editor.m_valueSpin.lower << ".." << editor.m_valueSpin.upper << " @"
            << editor.m_valueSpin.position;
    } else if (type == "R") {
        out << editor.m_strValue;
    } else if (type == "B" || type == "T") {
        out << (editor.m_bCheck ? "[x] " : "[ ] ") << editor.m_strCheckCaption;
    } else if (type == "P") {
        out << editor.m_strPercent << " @" << editor.m_percentSlider.position;
    } else if (type == "K") {
        out << editor.m_strChance << " | " << editor.m_strAnimation << " #" << editor.m_animationCombo.selection;
        if (editor.IsVisible(control::kOptionEdit))
            out << " | " << editor.m_strOptionLabel << ": " << editor.m_strOption;
        out << " spin " << editor.m_chanceSpin.lower << ".." << editor.m_chanceSpin.upper;
    } else if (type == "V") {
        out << editor.m_strVsNone << "|" << editor.m_strVsWood << "|" << editor.m_strVsLight << "|"
            << editor.m_strVsHeavy << "|" << editor.m_strVsConcrete << " @";
        for (std::size_t column = 0; column < 5; ++column)
            out << (column ? "," : "") << editor.m_versesSliders[column].position;
    } else if (type == "L") {
        out << editor.m_strList << " #" << editor.m_listCombo.selection;
    } else if (type == "M") {
        bool first = true;
        for (std::size_t i = 0; i < editor.m_multiList.entries.size(); ++i) {
            if (!editor.m_multiList.selected[i]) continue;
            out << (first ? "" : ",") << SplitAtFirst(editor.m_multiList.entries[i], " - ").before;
            first = false;
        }
    }
    return out.str();
}

// A value editor over a small tree: the root section "General" with the group "Crates", whose
// key items the tests add, and an "Infantry" group of game objects for Match All.
class ValueEditorTest : public testing::Test {
protected:
    ValueEditorTest() { m_rules.SetRulesPath(m_path); }

    TreeItem AddKey(TreeItem parent, std::string label, std::uint16_t descriptorId, std::uint16_t nameId = 0) {
        return InsertKey(m_tree, label, 3, 4, {nameId, descriptorId}, parent);
    }
    // A key item in General\Crates, selected.
    TreeItem SelectKey(std::string label, std::uint16_t descriptorId) {
        const TreeItem item = AddKey(m_crates, std::move(label), descriptorId);
        m_editor.OnSelchangedTree(item);
        return item;
    }

    std::string FileText() const { return platform::ReadFileBytes(m_path).value_or("<no file>"); }
    void WriteFile(const std::string& bytes) { ASSERT_EQ(platform::ReplaceFileAtomically(m_path, bytes), 0); }
    // Writes the file and takes away its write bits: every later write fails with error 5.
    void WriteReadOnlyFile(const std::string& bytes) {
        WriteFile(bytes);
        ASSERT_EQ(chmod(m_path.c_str(), 0444), 0);
    }
    std::string Label(TreeItem item) const { return m_tree.GetItemText(item); }

    const StringTable m_table = EditorCatalogue();
    TempDir m_dir;
    const std::string m_path = m_dir.File("rules.ini");
    Tree m_tree;
    RecordingMessageSink m_messages;
    RulesFileAccess m_rules{m_messages};
    ItemFileAccess m_items{m_table, m_tree, m_rules};
    ValueEditor m_editor{m_tree, m_table, m_items};
    const TreeItem m_general = m_tree.InsertItem("General", 39, 39, {60000, 9901});
    const TreeItem m_crates = m_tree.InsertItem("Crates", 0, 0, {0, kHeading}, m_general);
};

}  // namespace morvane::test
