#include <gtest/gtest.h>

#include "TableFixture.h"
#include "ValueEditorFixture.h"
#include "editor/InputCheck.h"

namespace morvane {
namespace {

struct InputCase {
    const char* descriptor;
    const char* text;
    const char* problem;  // "" when the text is fine
};

void PrintTo(const InputCase& c, std::ostream* out) { *out << c.descriptor << " <- \"" << c.text << '"'; }

class InputProblemTest : public testing::TestWithParam<InputCase> {};

TEST_P(InputProblemTest, SaysWhyATextIsNotAValue) {
    const InputCase& c = GetParam();
    const StringTable table = test::MakeTable({});
    EXPECT_EQ(InputProblem(ParseDescriptor(c.descriptor, table), c.text), c.problem);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, InputProblemTest,
    testing::Values(
        // Integers: whole numbers within the descriptor's bounds ("." is -32767 / 32767).
        InputCase{"I1|.|2;x", "150", ""}, InputCase{"I1|.|2;x", " 7 ", ""}, InputCase{"I-1|10|5;x", "-1", ""},
        InputCase{"I-1|10|5;x", "+10", ""}, InputCase{"I.|.|0;x", "abc", "not a whole number"},
        InputCase{"I.|.|0;x", "12abc", "not a whole number"}, InputCase{"I.|.|0;x", "1.5", "not a whole number"},
        InputCase{"I.|.|0;x", "", "no number"}, InputCase{"I.|.|0;x", "-", "not a whole number"},
        InputCase{"I.|.|0;x", "99999", "above the largest value 32767"}, InputCase{"I.|.|0;x", "32767", ""},
        InputCase{"I.|.|0;x", "-32768", "below the smallest value -32767"},
        InputCase{"I1|.|2;x", "0", "below the smallest value 1"},
        InputCase{"I-1|10|5;x", "11", "above the largest value 10"},
        InputCase{"I.|.|0;x", "99999999999999999999999", "above the largest value 32767"},
        InputCase{"I.|.|0;x", "-99999999999999999999999", "below the smallest value -32767"},
        // Real numbers: decimal fractions and whole percentages, no range.
        InputCase{"R0|.|.04;x", ".04", ""}, InputCase{"R0|.|.04;x", "1.0", ""}, InputCase{"R0|.|.04;x", "3", ""},
        InputCase{"R0|.|.04;x", "3.", ""}, InputCase{"R0|.|.04;x", "50%", ""},
        InputCase{"R0|.|.04;x", "1.5.2", "not a number"}, InputCase{"R0|.|.04;x", ".", "not a number"},
        InputCase{"R0|.|.04;x", "fast", "not a number"}, InputCase{"R0|.|.04;x", "", "no number"},
        // Percentages: a whole number from 0 to 100 and "%".
        InputCase{"P0|100|20;x", "20%", ""}, InputCase{"P0|100|20;x", "0%", ""}, InputCase{"P0|100|20;x", "100%", ""},
        InputCase{"P0|100|20;x", "101%", "above the largest value 100%"},
        InputCase{"P0|100|20;x", "50", "a percentage ends with %"},
        InputCase{"P0|100|20;x", "half", "not a percentage"},
        InputCase{"P0|100|20;x", "2.5%", "not a whole percentage"},
        InputCase{"P0|100|20;x", "-5%", "below the smallest value 0%"},
        // Crate powerups: a chance within the bounds, an animation, an optional number.
        InputCase{"K0|100|10,ARMOR,2.0;x", "10,ARMOR,2.0", ""}, InputCase{"K1|50|1,EMPULSE;x", "1,EMPULSE", ""},
        InputCase{"K1|50|1,EMPULSE;x", "51,EMPULSE", "chance: above the largest value 50"},
        InputCase{"K1|50|1,EMPULSE;x", "x,EMPULSE", "chance: not a whole number"},
        InputCase{"K1|50|1,EMPULSE;x", "5,", "no animation"},
        InputCase{"K1|50|1,EMPULSE;x", "EMPULSE", "needs a chance and an animation, separated by a comma"},
        InputCase{"K0|100|10,ARMOR,2.0;x", "10,ARMOR,lots", "option: not a number"},
        // Verses: five percentages or fractions, split at commas.
        InputCase{"V.|.| 100% 50% 60% 25% 25%;x", "100%,50%,60%,25%,25%", ""},
        InputCase{"V.|.| 100% 50% 60% 25% 25%;x", "1.0, .5,60%,25%,0", ""},
        InputCase{"V.|.| 100% 50% 60% 25% 25%;x", "100%,50%,60%,25%",
                  "needs five values, one per armour, separated by commas"},
        InputCase{"V.|.| 100% 50% 60% 25% 25%;x", "100%,50%,60%,25%,25%,1%",
                  "needs five values, one per armour, separated by commas"},
        InputCase{"V.|.| 100% 50% 60% 25% 25%;x", "100%,50%,x,25%,25%", "light: not a percentage"},
        InputCase{"V.|.| 100% 50% 60% 25% 25%;x", "100%,,60%,25%,25%", "wood: no value"},
        InputCase{"V.|.| 100% 50% 60% 25% 25%;x", "100% 50% 60% 25% 25%",
                  "needs five values, one per armour, separated by commas"},
        // Kinds chosen from their controls, headings and unknown kinds are never refused.
        InputCase{"BY|N|Y;x", "maybe", ""}, InputCase{"L2999|3002|3001;x", "anything", ""},
        InputCase{"M14000|.|;x", "weap,mybld", ""}, InputCase{"CA heading", "abc", ""},
        InputCase{"X1|2|3;x", "abc", ""}));

// The editor checks what its controls would write for the shown key.
using ValueEditorInputProblemTest = test::ValueEditorTest;

TEST_F(ValueEditorInputProblemTest, ChecksTheControlsOfTheShownKey) {
    EXPECT_EQ(m_editor.InputProblem(), "") << "no key shown";
    SelectKey("CrateMinimum = 3", test::kIntCrates);
    EXPECT_EQ(m_editor.InputProblem(), "");
    m_editor.m_strValue = "99999";
    EXPECT_EQ(m_editor.InputProblem(), "above the largest value 32767");
    m_editor.m_strValue = "abc";
    EXPECT_EQ(m_editor.InputProblem(), "not a whole number");

    SelectKey("Refund = 20%", test::kPercent);
    m_editor.m_strPercent = "120%";
    EXPECT_EQ(m_editor.InputProblem(), "above the largest value 100%");

    SelectKey("Verses", test::kVersesBlank);
    EXPECT_EQ(m_editor.InputProblem(), "") << "the default Verses as the controls show it";
    m_editor.m_strVsLight = "lots";
    EXPECT_EQ(m_editor.InputProblem(), "light: not a percentage");
}

}  // namespace
}  // namespace morvane
