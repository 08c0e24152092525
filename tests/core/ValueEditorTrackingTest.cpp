// Sliders and spins: the number beside a moved control follows it, and nothing else changes.
#include <gtest/gtest.h>

#include <vector>

#include "ValueEditorFixture.h"

namespace morvane {
namespace {

using namespace test;  // the fixture and its descriptor ids

// Every member a user can type into or a tracker can write, to see which one a move changed.
std::vector<std::string> Members(ValueEditor& editor) {
    std::vector<std::string> members = {editor.m_strValue,  editor.m_strList,      editor.m_strPercent,
                                        editor.m_strChance, editor.m_strAnimation, editor.m_strOption};
    for (std::size_t column = 0; column < 5; ++column) members.push_back(*editor.VersesMember(column));
    return members;
}

// Puts text into every member that has none of the shown kind's own, as if typed.
void TypeEverywhere(ValueEditor& editor) {
    editor.m_strValue = "typed value";
    editor.m_strList = "typed list";
    editor.m_strPercent = "typed percent";
    editor.m_strChance = "typed chance";
    editor.m_strAnimation = "MYANIM";
    editor.m_strOption = "opt";
    for (std::size_t column = 0; column < 5; ++column) *editor.VersesMember(column) = "v" + std::to_string(column);
}

TEST_F(ValueEditorTest, MovingAControlChangesOnlyItsOwnMember) {
    using namespace control;
    const struct {
        const char* what;
        void (*move)(ValueEditor&);
        std::size_t member;  // index into Members()
        const char* text;
    } cases[] = {
        {"percent slider",
         [](ValueEditor& e) {
             e.m_percentSlider.position = 35;
             e.OnHScroll(kPercentSlider);
         },
         2, "35%"},
        {"value spin", [](ValueEditor& e) { e.OnVScroll(kValueSpin, -1); }, 0, "-1"},
        {"chance spin", [](ValueEditor& e) { e.OnVScroll(kChanceSpin, 42); }, 3, "42"},
        {"verses none",
         [](ValueEditor& e) {
             e.m_versesSliders[0].position = 0;
             e.OnVScroll(kVersesColumns[0].slider, 99);
         },
         6, "0%"},
        {"verses concrete",
         [](ValueEditor& e) {
             e.m_versesSliders[4].position = 75;
             e.OnVScroll(kVersesColumns[4].slider, 0);
         },
         10, "75%"},
    };
    for (const auto& c : cases) {
        SelectKey("Armor = 10,ARMOR,2.0", kCrateArmor);
        TypeEverywhere(m_editor);
        std::vector<std::string> expected = Members(m_editor);
        expected[c.member] = c.text;
        c.move(m_editor);
        EXPECT_EQ(Members(m_editor), expected) << c.what;
    }
}

TEST_F(ValueEditorTest, MovesFromOtherControlsChangeNothing) {
    SelectKey("Armor = 10,ARMOR,2.0", kCrateArmor);
    TypeEverywhere(m_editor);
    const std::vector<std::string> before = Members(m_editor);
    m_editor.m_versesSliders[0].position = 5;
    m_editor.OnHScroll(control::kVersesColumns[0].slider);
    m_editor.OnVScroll(control::kPercentSlider, 7);
    m_editor.OnVScroll(control::kTree, 7);
    m_editor.StepSpin(control::kPercentSlider, 1);
    EXPECT_EQ(Members(m_editor), before);
}

TEST_F(ValueEditorTest, SpinsTrackTheirPosition) {
    SelectKey("Delay = 5", kIntSigned);
    m_editor.OnVScroll(control::kValueSpin, -1);
    EXPECT_EQ(m_editor.m_strValue, "-1");
    EXPECT_EQ(m_editor.m_valueSpin.position, -1);
    SelectKey("Armor = 10,ARMOR", kCrateArmor);
    m_editor.OnVScroll(control::kChanceSpin, 11);
    EXPECT_EQ(m_editor.m_strChance, "11");
    EXPECT_EQ(m_editor.m_chanceSpin.position, 11);
}

TEST_F(ValueEditorTest, StepSpinStepsFromTheEditWithinTheRange) {
    using control::kChanceSpin;
    using control::kValueSpin;
    const struct {
        const char* label;
        std::uint16_t descriptor;
        int spin;
        const char* typed;  // nullptr: as the selection left it
        int delta;
        const char* result;
    } cases[] = {
        {"CrateMinimum = 2", kIntCrates, kValueSpin, nullptr, 1, "3"},
        {"CrateMinimum = 2", kIntCrates, kValueSpin, nullptr, -1, "1"},
        {"CrateMinimum = 2", kIntCrates, kValueSpin, nullptr, -5, "1"},  // lower bound 1
        {"CrateMinimum = 2", kIntCrates, kValueSpin, "40", 1, "41"},     // the typed number counts
        {"CrateMinimum = 2", kIntCrates, kValueSpin, "abc", 1, "1"},     // no number reads 0
        {"Delay = 0", kIntSigned, kValueSpin, nullptr, -1, "-1"},
        {"Delay = 0", kIntSigned, kValueSpin, "-1", -1, "-1"},
        {"Delay = 0", kIntSigned, kValueSpin, "10", 1, "10"},
        {"Delay = 0", kIntSigned, kValueSpin, "500", -1, "10"},  // out of range: clamped first
        {"Strength = 32767", kIntOpen, kValueSpin, nullptr, 1, "32767"},
        {"Strength = -32767", kIntOpen, kValueSpin, nullptr, -1, "-32767"},
        {"Armor = 10,ARMOR", kCrateArmor, kChanceSpin, nullptr, 1, "11"},  // the chance spin has no position
        {"Armor = 10,ARMOR", kCrateArmor, kChanceSpin, "100", 1, "100"},
        {"Armor = DOLLAR", kCrateArmor, kChanceSpin, nullptr, 1, "1"},
        {"Pulse = 1,EMPULSE", kCratePulse, kChanceSpin, nullptr, -1, "1"},
        {"Pulse = 1,EMPULSE", kCratePulse, kChanceSpin, "7x", 1, "8"},
    };
    for (const auto& c : cases) {
        SelectKey(c.label, c.descriptor);
        std::string& edit = c.spin == kValueSpin ? m_editor.m_strValue : m_editor.m_strChance;
        if (c.typed != nullptr) edit = c.typed;
        m_editor.StepSpin(c.spin, c.delta);
        EXPECT_EQ(edit, c.result) << c.label << " " << (c.typed ? c.typed : "") << " " << c.delta;
        const SpinControl& spin = c.spin == kValueSpin ? m_editor.m_valueSpin : m_editor.m_chanceSpin;
        EXPECT_EQ(std::to_string(spin.position), c.result);
    }
}

// A window that records the exchanges and, on the way in, carries what the user typed.
class TypingWindow : public DataExchange {
public:
    explicit TypingWindow(ValueEditor& editor) : m_editor(editor) {}
    void UpdateData(bool saveAndValidate) override {
        calls.push_back(saveAndValidate ? "in" : "out");
        if (saveAndValidate && !typedOption.empty()) m_editor.m_strOption = typedOption;
    }
    std::vector<std::string> calls;
    std::string typedOption;

private:
    ValueEditor& m_editor;
};

TEST_F(ValueEditorTest, TrackersTakeTheTypedTextInBeforeShowingTheMembers) {
    TypingWindow window(m_editor);
    m_editor.SetDataExchange(&window);
    SelectKey("Armor = 10,ARMOR,2.0", kCrateArmor);
    EXPECT_EQ(window.calls, (std::vector<std::string>{"out"}));

    window.calls.clear();
    window.typedOption = "3.5";  // typed into the option edit, not yet in the member
    m_editor.OnVScroll(control::kChanceSpin, 12);
    EXPECT_EQ(window.calls, (std::vector<std::string>{"in", "out"}));
    EXPECT_EQ(m_editor.m_strOption, "3.5");
    EXPECT_EQ(m_editor.m_strChance, "12");

    window.calls.clear();
    m_editor.OnApply();
    EXPECT_EQ(window.calls.front(), "in");
    EXPECT_EQ(Label(m_editor.m_hCurItem), "Armor = 12,ARMOR,3.5");
    m_editor.SetDataExchange(nullptr);
}

TEST_F(ValueEditorTest, PendingEditFollowsTheMembers) {
    const struct {
        const char* label;
        std::uint16_t descriptor;
        void (*edit)(ValueEditor&);
    } cases[] = {
        {"CrateMinimum = 2", kIntCrates, [](ValueEditor& e) { e.m_strValue = "3"; }},
        {"ReloadRate = .04", kReal, [](ValueEditor& e) { e.m_strValue = "1"; }},
        // A label in another letter case is no pending edit; a click on the box is.
        {"OreGrows = Yes", kYesNo, [](ValueEditor& e) { e.m_bCheck = 0; }},
        {"Flag", kTrueFalse, [](ValueEditor& e) { e.m_bCheck = 1; }},
        {"RefundPercent = 20%", kPercent,
         [](ValueEditor& e) {
             e.m_percentSlider.position = 21;
             e.OnHScroll(control::kPercentSlider);
         }},
        {"Armor = 10,ARMOR,2.0", kCrateArmor, [](ValueEditor& e) { e.m_strOption = "2.5"; }},
        {"Armor = 10,ARMOR", kCrateArmor, [](ValueEditor& e) { e.StepSpin(control::kChanceSpin, 1); }},
        {"Verses = 1%,2%,3%,4%,5%", kVersesBlank,
         [](ValueEditor& e) {
             e.m_versesSliders[2].position = 30;
             e.OnVScroll(control::kVersesColumns[2].slider, 0);
         }},
        {"Primary = scud", kWeapon, [](ValueEditor& e) { e.m_strList = "2TNK - Medium tank"; }},
        {"Prerequisite = weap", kPrereq, [](ValueEditor& e) { e.m_multiList.selected[3] = true; }},
    };
    for (const auto& c : cases) {
        SelectKey(c.label, c.descriptor);
        EXPECT_FALSE(m_editor.HasPendingEdit()) << c.label;
        c.edit(m_editor);
        EXPECT_TRUE(m_editor.HasPendingEdit()) << c.label;
        m_editor.OnApply();
        EXPECT_FALSE(m_editor.HasPendingEdit()) << c.label;
    }
    EXPECT_TRUE(m_messages.messages.empty());
}

TEST_F(ValueEditorTest, NoPendingEditWithoutAShownKey) {
    EXPECT_FALSE(m_editor.HasPendingEdit());
    SelectKey("CrateMinimum = 2", kIntCrates);
    m_editor.m_strValue = "9";
    SelectKey("Rate", kHeading);  // the heading shows no value: nothing is pending
    EXPECT_FALSE(m_editor.HasPendingEdit());
}

}  // namespace
}  // namespace morvane
