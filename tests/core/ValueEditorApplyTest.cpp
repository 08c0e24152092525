// Apply and Default: the label each kind composes and the line that reaches the rules file.
#include <gtest/gtest.h>

#include <filesystem>

#include "ValueEditorFixture.h"
#include "editor/WriteSummary.h"

namespace morvane {
namespace {

using namespace test;  // the fixture and its descriptor ids

class ValueEditorWriteTest : public ValueEditorTest {
protected:
    // The file as one write into [General] leaves it when it starts out missing.
    static std::string GeneralFile(const std::string& line) { return "[General]\r\n" + line + "\r\n"; }
    void RemoveFile() { std::filesystem::remove(m_path); }
};

void SelectNames(ValueEditor& editor, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        for (std::size_t i = 0; i < editor.m_multiList.entries.size(); ++i)
            if (editor.m_multiList.entries[i].rfind(std::string(name) + " - ", 0) == 0)
                editor.m_multiList.selected[i] = true;
    }
}

TEST_F(ValueEditorWriteTest, ApplyComposesEachKind) {
    const struct {
        const char* label;
        std::uint16_t descriptor;
        void (*edit)(ValueEditor&);
        const char* newLabel;
        const char* fileLine;
    } cases[] = {
        // Integer and real: the edit's text, trimmed, without any range check.
        {"CrateMinimum = 2", kIntCrates, [](ValueEditor& e) { e.m_strValue = "150"; }, "CrateMinimum = 150",
         "CrateMinimum=150"},
        {"CrateMinimum = 2", kIntCrates, [](ValueEditor& e) { e.m_strValue = ""; }, "CrateMinimum = ", "CrateMinimum="},
        {"CrateMinimum = 2", kIntCrates, [](ValueEditor& e) { e.m_strValue = " 99999 "; }, "CrateMinimum = 99999",
         "CrateMinimum=99999"},
        {"CrateMinimum = 2", kIntCrates, [](ValueEditor& e) { e.m_strValue = "-5"; }, "CrateMinimum = -5",
         "CrateMinimum=-5"},
        {"CrateMinimum = 2", kIntCrates, [](ValueEditor& e) { e.m_strValue = "lots"; }, "CrateMinimum = lots",
         "CrateMinimum=lots"},
        {"CrateMinimum", kIntCrates, [](ValueEditor& e) { e.m_strValue = "7"; }, "CrateMinimum = 7", "CrateMinimum=7"},
        {"ReloadRate", kReal, [](ValueEditor&) {}, "ReloadRate = .04", "ReloadRate=.04"},
        // Yes/no and true/false: the box, in the key's own words.
        {"OreGrows = no", kYesNo, [](ValueEditor& e) { e.m_bCheck = 1; }, "OreGrows = yes", "OreGrows=yes"},
        {"OreGrows = true", kYesNo, [](ValueEditor&) {}, "OreGrows = yes", "OreGrows=yes"},
        {"OreGrows = 1", kYesNo, [](ValueEditor& e) { e.m_bCheck = 0; }, "OreGrows = no", "OreGrows=no"},
        {"Flag = yes", kTrueFalse, [](ValueEditor&) {}, "Flag = true", "Flag=true"},
        {"Flag = true", kTrueFalse, [](ValueEditor& e) { e.m_bCheck = 0; }, "Flag = false", "Flag=false"},
        // Percentage: the text beside the slider.
        {"RefundPercent = 20%", kPercent,
         [](ValueEditor& e) {
             e.m_percentSlider.position = 35;
             e.OnHScroll(control::kPercentSlider);
         },
         "RefundPercent = 35%", "RefundPercent=35%"},
        // Untouched, a fraction keeps its worth: 20%, not the 0% its leading digits would give.
        {"RefundPercent = .2", kPercent, [](ValueEditor&) {}, "RefundPercent = 20%", "RefundPercent=20%"},
        {"RefundPercent = .165", kPercent, [](ValueEditor&) {}, "RefundPercent = .165", "RefundPercent=.165"},
        // Crate powerup: chance, animation and, when there is one, the option.
        {"Armor = 10,ARMOR,2.0", kCrateArmor, [](ValueEditor& e) { e.m_strOption.clear(); }, "Armor = 10,ARMOR",
         "Armor=10,ARMOR"},
        {"Armor = 1,NONE", kCrateArmor,
         [](ValueEditor& e) {
             e.m_strChance = "10";
             e.m_strAnimation = "ARMOR";
             e.m_strOption = "2.0";
         },
         "Armor = 10,ARMOR,2.0", "Armor=10,ARMOR,2.0"},
        {"Armor = DOLLAR", kCrateArmor, [](ValueEditor&) {}, "Armor = ,dollar", "Armor=,dollar"},
        // Verses: the five edits joined by ",".
        {"Verses = 100% 50% 60% 25% 25%", kVersesBlank, [](ValueEditor&) {}, "Verses = 100%,50%,60%,25%,25%",
         "Verses=100%,50%,60%,25%,25%"},
        {"Verses", kVersesBlank, [](ValueEditor&) {}, "Verses = 100%,50%,60%,25%,25%", "Verses=100%,50%,60%,25%,25%"},
        // One of a list: the entry's NAME; "None" is written like any other entry.
        {"Primary = SCUD", kWeapon, [](ValueEditor& e) { e.m_strList = "ZSU-23 - Anti-aircraft multiple cannon"; },
         "Primary = ZSU-23", "Primary=ZSU-23"},
        {"Primary = SCUD", kWeapon, [](ValueEditor& e) { e.m_strList = "  Laser beam  "; }, "Primary = Laser beam",
         "Primary=Laser beam"},
        {"Primary = SCUD", kWeapon, [](ValueEditor& e) { e.m_strList = "None - None"; }, "Primary = None",
         "Primary=None"},
        {"Primary = scud", kWeapon, [](ValueEditor&) {}, "Primary = SCUD", "Primary=SCUD"},
        // Several of a list: the selected NAMEs in list order, then the names the list does not
        // hold, as written.
        {"Prerequisite = fact", kPrereq,
         [](ValueEditor& e) {
             SelectNames(e, {"dome", "weap"});
         },
         "Prerequisite = fact,weap,dome", "Prerequisite=fact,weap,dome"},
        {"Prerequisite = atek", kPrereq, [](ValueEditor&) {}, "Prerequisite = atek", "Prerequisite=atek"},
        {"Prerequisite = mybld,WEAP", kPrereq, [](ValueEditor& e) { SelectNames(e, {"fact"}); },
         "Prerequisite = fact,weap,mybld", "Prerequisite=fact,weap,mybld"},
    };
    for (const auto& c : cases) {
        RemoveFile();
        const TreeItem item = SelectKey(c.label, c.descriptor);
        c.edit(m_editor);
        m_editor.OnApply();
        EXPECT_EQ(Label(item), c.newLabel) << c.label;
        EXPECT_EQ(FileText(), GeneralFile(c.fileLine)) << c.label;
    }
    EXPECT_TRUE(m_messages.messages.empty());
}

TEST_F(ValueEditorWriteTest, ApplyTakesAtMostTwentyNames) {
    const TreeItem item = SelectKey("Many", kManyNames);
    ASSERT_EQ(m_editor.m_multiList.entries.size(), 25u);
    m_editor.m_multiList.selected.assign(25, true);
    m_editor.m_multiList.selected[3] = false;
    m_editor.OnApply();
    const std::string expected = "N00,N01,N02,N04,N05,N06,N07,N08,N09,N10,N11,N12,N13,N14,N15,N16,N17,N18,N19,N20";
    EXPECT_EQ(Label(item), "Many = " + expected);
    EXPECT_EQ(FileText(), GeneralFile("Many=" + expected));
}

TEST_F(ValueEditorWriteTest, ApplyWithoutAValueKindWritesTheValueAgain) {
    // A heading shown after a key leaves that key the one Apply writes, with its value as it is.
    const TreeItem primary = SelectKey("Primary = SCUD", kWeapon);
    SelectKey("Rate", kHeading);
    m_editor.OnApply();
    EXPECT_EQ(Label(primary), "Primary = SCUD");
    EXPECT_EQ(FileText(), GeneralFile("Primary=SCUD"));
}

// A many-of-list keeps the names it has no entry for, and the tree always shows what the file
// holds: with nothing selected and nothing kept, the key leaves the file.
TEST_F(ValueEditorWriteTest, ManyOfAListKeepsWhatItDoesNotListAndShowsWhatItWrote) {
    const struct {
        const char* fileValue;
        void (*edit)(ValueEditor&);
        const char* newLabel;
        const char* fileAfter;
    } cases[] = {
        {"weap,mybld", [](ValueEditor&) {}, "Prerequisite = weap,mybld",
         "[General]\r\nPrerequisite=weap,mybld\r\nX=1\r\n"},
        {"weap,mybld", [](ValueEditor& e) { e.m_multiList.selected.assign(5, false); }, "Prerequisite = mybld",
         "[General]\r\nPrerequisite=mybld\r\nX=1\r\n"},
        // The game does not trim the names: " dome" is no building and stays as written.
        {"weap, dome", [](ValueEditor&) {}, "Prerequisite = weap, dome",
         "[General]\r\nPrerequisite=weap, dome\r\nX=1\r\n"},
        {"weap,dome", [](ValueEditor& e) { e.m_multiList.selected.assign(5, false); }, "Prerequisite",
         "[General]\r\nX=1\r\n"},
        // A part of a name is no name: "we" does not select "weap".
        {"we,,fact", [](ValueEditor&) {}, "Prerequisite = fact,we", "[General]\r\nPrerequisite=fact,we\r\nX=1\r\n"},
    };
    for (const auto& c : cases) {
        WriteFile(std::string("[General]\r\nPrerequisite=") + c.fileValue + "\r\nX=1\r\n");
        const TreeItem item = SelectKey(std::string("Prerequisite = ") + c.fileValue, kPrereq);
        c.edit(m_editor);
        ASSERT_TRUE(m_editor.OnApply()) << c.fileValue;
        EXPECT_EQ(Label(item), c.newLabel) << c.fileValue;
        EXPECT_EQ(FileText(), c.fileAfter) << c.fileValue;
        EXPECT_FALSE(m_editor.HasPendingEdit()) << c.fileValue;
    }
    EXPECT_TRUE(m_messages.messages.empty());
}

TEST_F(ValueEditorWriteTest, ApplyWithNothingToWrite) {
    m_editor.OnApply();  // no key shown yet
    m_editor.OnDefault();
    EXPECT_EQ(FileText(), "<no file>");

    // A key without a section above it: the label changes, nothing is written.
    const TreeItem loose = AddKey(kRoot, "Loose = 3", kIntCrates);
    m_editor.OnSelchangedTree(loose);
    m_editor.m_strValue = "4";
    m_editor.OnApply();
    EXPECT_EQ(Label(loose), "Loose = 4");
    m_editor.OnDefault();
    EXPECT_EQ(Label(loose), "Loose = 2");
    EXPECT_EQ(FileText(), "<no file>");
    EXPECT_TRUE(m_messages.messages.empty());
}

TEST_F(ValueEditorWriteTest, DefaultWritesEachKindsDefault) {
    const struct {
        const char* label;
        std::uint16_t descriptor;
        const char* newLabel;
        const char* fileLine;
    } cases[] = {
        {"CrateMinimum = 7", kIntCrates, "CrateMinimum = 2", "CrateMinimum=2"},
        {"CrateMinimum", kIntCrates, "CrateMinimum = 2", "CrateMinimum=2"},
        {"ReloadRate = 1", kReal, "ReloadRate = .04", "ReloadRate=.04"},
        {"OreGrows = no", kYesNo, "OreGrows = yes", "OreGrows=yes"},
        {"Flag = true", kTrueFalse, "Flag = false", "Flag=false"},
        {"RefundPercent = 35%", kPercent, "RefundPercent = 20%", "RefundPercent=20%"},
        {"Armor = 1,NONE", kCrateArmor, "Armor = 10,ARMOR,2.0", "Armor=10,ARMOR,2.0"},
        // The game splits Verses only at commas: a default written with blanks is stored with commas.
        {"Verses = 1%,2%,3%,4%,5%", kVersesBlank, "Verses = 100%,50%,60%,25%,25%", "Verses=100%,50%,60%,25%,25%"},
        // A list key gets its default entry's NAME, not the shown "SCUD - SCUD launcher".
        {"Primary = ZSU-23", kWeapon, "Primary = SCUD", "Primary=SCUD"},
        {"Prerequisite = fact", kPrereq, "Prerequisite = weap,dome", "Prerequisite=weap,dome"},
    };
    for (const auto& c : cases) {
        RemoveFile();
        const TreeItem item = SelectKey(c.label, c.descriptor);
        m_editor.OnDefault();
        EXPECT_EQ(Label(item), c.newLabel) << c.label;
        EXPECT_EQ(FileText(), GeneralFile(c.fileLine)) << c.label;
    }
    EXPECT_TRUE(m_messages.messages.empty());
}

// Without default text the game uses its built-in value: Default takes the key out of the file
// instead of writing an empty value.
TEST_F(ValueEditorWriteTest, DefaultOfAKeyWithoutDefaultTakesItOut) {
    for (const auto& [label, descriptor] :
         {std::pair{"Nothing = 4", kIntNoDefault}, std::pair{"Many = N01", kManyNames}}) {
        const std::string key = WrittenKey(label);
        WriteFile("[General]\r\nA=1\r\n" + key + "=" + *WrittenValue(label) + "\r\nB=2\r\n");
        const TreeItem item = SelectKey(label, descriptor);
        ASSERT_TRUE(m_editor.OnDefault()) << label;
        EXPECT_EQ(Label(item), key) << label;
        EXPECT_EQ(FileText(), "[General]\r\nA=1\r\nB=2\r\n") << label;
        EXPECT_EQ(DescribeItemWrite(m_tree, m_items, item), "Removed " + key + " from [General]");
        EXPECT_FALSE(m_editor.HasPendingEdit()) << label;
    }
    // With no file, nothing is made.
    RemoveFile();
    SelectKey("Nothing = 4", kIntNoDefault);
    EXPECT_TRUE(m_editor.OnDefault());
    EXPECT_EQ(FileText(), "<no file>");
    EXPECT_TRUE(m_messages.messages.empty());
}

TEST_F(ValueEditorWriteTest, DefaultShowsTheDefaultForTheNextApply) {
    const TreeItem item = SelectKey("CrateMinimum = 7", kIntCrates);
    m_editor.m_strValue = "9";
    m_editor.OnDefault();
    EXPECT_EQ(Label(item), "CrateMinimum = 2");
    EXPECT_EQ(m_editor.m_strValue, "2");
    EXPECT_FALSE(m_editor.HasPendingEdit());
    m_editor.OnApply();
    EXPECT_EQ(Label(item), "CrateMinimum = 2");
    EXPECT_EQ(FileText(), GeneralFile("CrateMinimum=2"));
}

TEST_F(ValueEditorWriteTest, FailedWriteGivesTheLabelBack) {
    const struct {
        const char* what;
        void (*act)(ValueEditor&);
    } cases[] = {
        {"apply",
         [](ValueEditor& e) {
             e.m_strValue = "9";
             e.OnApply();
         }},
        {"default", [](ValueEditor& e) { e.OnDefault(); }},
    };
    WriteReadOnlyFile("[General]\r\nCrateMinimum=7\r\n");
    for (const auto& c : cases) {
        m_messages.messages.clear();
        const TreeItem item = SelectKey("CrateMinimum = 7", kIntCrates);
        c.act(m_editor);
        EXPECT_EQ(Label(item), "CrateMinimum = 7") << c.what;
        ASSERT_EQ(m_messages.messages.size(), 1u) << c.what;
        EXPECT_EQ(m_messages.messages[0].text,
                  "Unable To Save Changes, Error NUmber: 5 \n[General]CrateMinimum\n" + m_path +
                      " is read-only. Give it write permission (clear its read-only mark), then try again.");
        EXPECT_EQ(m_messages.messages[0].caption, m_path);
        EXPECT_EQ(FileText(), "[General]\r\nCrateMinimum=7\r\n") << c.what;
    }
}

// Apply and Default write where the game reads: the header's case fixed, every copy updated,
// the last line ended.
TEST_F(ValueEditorWriteTest, ApplyAndDefaultLandWhereTheGameReads) {
    const struct {
        const char* what;
        const char* before;
        bool apply;
        const char* after;
    } cases[] = {
        {"apply, header in other case", "[general]\r\ncrateminimum=7", true, "[General]\r\nCrateMinimum=9\r\n"},
        {"default, two copies", "[General]\r\nCrateMinimum=7\r\n[General]\r\nCrateMinimum=8\r\n", false,
         "[General]\r\nCrateMinimum=2\r\n[General]\r\nCrateMinimum=2\r\n"},
    };
    for (const auto& c : cases) {
        WriteFile(c.before);
        SelectKey("CrateMinimum = 7", kIntCrates);
        if (c.apply) {
            m_editor.m_strValue = "9";
            m_editor.OnApply();
        } else {
            m_editor.OnDefault();
        }
        EXPECT_EQ(FileText(), c.after) << c.what;
        EXPECT_TRUE(m_messages.messages.empty()) << c.what;
    }
}

TEST_F(ValueEditorWriteTest, FailedApplyLeavesTheEditPending) {
    WriteReadOnlyFile("[General]\r\nCrateMinimum=7\r\n");
    const TreeItem item = SelectKey("CrateMinimum = 7", kIntCrates);
    m_editor.m_strValue = "9";
    m_editor.OnApply();
    ASSERT_EQ(Label(item), "CrateMinimum = 7");
    EXPECT_TRUE(m_editor.HasPendingEdit());

    ASSERT_EQ(chmod(m_path.c_str(), 0644), 0);
    m_editor.OnApply();
    EXPECT_EQ(Label(item), "CrateMinimum = 9");
    EXPECT_FALSE(m_editor.HasPendingEdit());
    EXPECT_EQ(FileText(), "[General]\r\nCrateMinimum=9\r\n");
}

}  // namespace
}  // namespace morvane
