#include <gtest/gtest.h>

#include "TableFixture.h"
#include "schema/Descriptor.h"

namespace morvane {
namespace {

const StringTable& Table() {
    static const StringTable table = test::MakeTable({
        {3034, "SCUD=SCUD launcher"},
        {3102, "Light=Light"},
        {2100, "DOG=Attack dog|21200|3"},
        {3112, "Allies,Soviet=both"},
        {14000, "none=No Prequisited Required"},
        {14006, "weap=War Factory"},
        {14007, "dome=Radar Dome"},
        {8100, "Prerequisite =List of buildings needed before this can be manufactured"},
        {8504, "Verses =Damage value verses various armor types (as percentage of full damage)."},
        {8000, "Multiplier to firepower for all weapons [larger means more damage]"},
        {8200, "Speed =   Padded help text "},
    });
    return table;
}

struct ParseCase {
    const char* text;
    const char* type;
    const char* min;
    const char* max;
    const char* defaultText;
    const char* help;
    bool hasFields;
};

// A failing case names its descriptor text instead of dumping the struct's bytes.
void PrintTo(const ParseCase& c, std::ostream* out) { *out << '"' << c.text << '"'; }

class ParseDescriptorTest : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseDescriptorTest, SplitsFields) {
    const ParseCase& c = GetParam();
    const Descriptor d = ParseDescriptor(c.text, Table());
    EXPECT_EQ(d.typeLetter, c.type);
    EXPECT_EQ(d.minText, c.min);
    EXPECT_EQ(d.maxText, c.max);
    EXPECT_EQ(d.defaultText, c.defaultText);
    EXPECT_EQ(d.helpText, c.help);
    EXPECT_EQ(d.hasFields, c.hasFields);
}

INSTANTIATE_TEST_SUITE_P(
    Grammar, ParseDescriptorTest,
    testing::Values(ParseCase{"R0|.|.04; Minutes to reload each ammo point", "R", "0", ".", ".04",
                              "Minutes to reload each ammo point", true},
                    ParseCase{"CThe General Settings", "C", "", "", "", "The General Settings", false},
                    ParseCase{"C   Padded heading  ", "C", "", "", "", "Padded heading  ", false},
                    ParseCase{"M14000|14015|;~8100", "M", "14000", "14015", "",
                              "List of buildings needed before this can be manufactured", true},
                    ParseCase{"M14000|14015|14006,14007;~8100 SCUD", "M", "14000", "14015", "14006,14007",
                              "List of buildings needed before this can be manufactured", true},
                    ParseCase{"V.|.| 100% 50% 60% 25% 25%;~8504", "V", ".", ".", " 100% 50% 60% 25% 25%",
                              "Damage value verses various armor types (as percentage of full damage).", true},
                    // No ";": no default and no help, whatever follows the bars.
                    ParseCase{"I0|.|400~8103", "I", "0", ".", "", "", true},
                    // Only one "|": the max field is empty and the rest is the default.
                    ParseCase{"I5|7;help", "I", "5", "", "7", "help", true},
                    // Another letter without "|" has no fields and no help.
                    ParseCase{"Ihello", "I", "", "", "", "", false},
                    // A letter outside the known set still parses.
                    ParseCase{"Z1|2|3;odd", "Z", "1", "2", "3", "odd", true},
                    // "~" naming a free id gives empty help; an entry without "=" is used whole.
                    ParseCase{"I0|.|1;~7777", "I", "0", ".", "1", "", true},
                    // The help after "Key =" loses its leading blanks, not its trailing ones.
                    ParseCase{"I0|.|1;~8200", "I", "0", ".", "1", "Padded help text ", true},
                    ParseCase{"R0|.|1.0;~8000", "R", "0", ".", "1.0",
                              "Multiplier to firepower for all weapons [larger means more damage]", true},
                    ParseCase{"", "", "", "", "", "", false}));

struct DefaultCase {
    const char* text;
    const char* shown;
};

void PrintTo(const DefaultCase& c, std::ostream* out) { *out << '"' << c.text << '"'; }

class FormatDefaultTest : public testing::TestWithParam<DefaultCase> {};

TEST_P(FormatDefaultTest, ShowsDefault) {
    const DefaultCase& c = GetParam();
    EXPECT_EQ(FormatDefault(ParseDescriptor(c.text, Table()), Table()), c.shown) << c.text;
}

INSTANTIATE_TEST_SUITE_P(EveryKind, FormatDefaultTest,
                         testing::Values(DefaultCase{"I.|.|-200;~8136", "-200"}, DefaultCase{"R0|.|.04;x", ".04"},
                                         DefaultCase{"P1|100|20;x", "20%"}, DefaultCase{"BY|N|Y;x", "yes"},
                                         DefaultCase{"BY|N|Y ;x", "yes"}, DefaultCase{"BY|N|;x", "no"},
                                         DefaultCase{"BY|N|y;x", "no"}, DefaultCase{"BY|N|Y~8410", "no"},
                                         DefaultCase{"TT|F|T;x", "true"}, DefaultCase{"TT|F|F;x", "false"},
                                         DefaultCase{"L2999|3034|3034;x", "SCUD - SCUD launcher"},
                                         DefaultCase{"L2100|2226|2100;x", "DOG - Attack dog"},
                                         DefaultCase{"L2999|3034|2999;x", ""},  // no string for 2999 in this table
                                         DefaultCase{"M14000|14015|14006,14007;x", "weap,dome"},
                                         DefaultCase{"M14000|14015| 14006 ;x", "weap"},
                                         DefaultCase{"M14000|14015|;x", ""},
                                         DefaultCase{"K0|100|10,ARMOR,2.0;x", "10,ARMOR,2.0"},
                                         DefaultCase{"V.|.| 100% 50% 60% 25% 25%;x", " 100% 50% 60% 25% 25%"},
                                         DefaultCase{"CHeading", ""}, DefaultCase{"Z1|2|3;x", ""}));

TEST(KeyKind, TakenFromTheLetterOnce) {
    const struct {
        const char* text;
        KeyKind kind;
    } cases[] = {
        {"I0|.|1;x", KeyKind::Integer},
        {"R0|.|1;x", KeyKind::Real},
        {"BY|N|Y;x", KeyKind::YesNo},
        {"TT|F|T;x", KeyKind::TrueFalse},
        {"P0|100|5;x", KeyKind::Percent},
        {"K0|9|1,A;x", KeyKind::CratePowerup},
        {"V.|.|1;x", KeyKind::Verses},
        {"L1|2|1;x", KeyKind::OneOfList},
        {"M1|2|;x", KeyKind::ManyOfList},
        {"CHeading", KeyKind::Heading},
        {"Z1|2|3;x", KeyKind::Unknown},
        {"i0|.|1;x", KeyKind::Unknown},
        {"", KeyKind::None},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseDescriptor(c.text, Table()).kind, c.kind) << c.text;
    EXPECT_FALSE(IsValueKind(KeyKind::Heading));
    EXPECT_FALSE(IsValueKind(KeyKind::Unknown));
    EXPECT_TRUE(IsValueKind(KeyKind::ManyOfList));
}

TEST(FormatListEntry, ShowsNameAndLabel) {
    EXPECT_EQ(FormatListEntry("DOG=Attack dog|21200|3", true), "DOG - Attack dog");
    EXPECT_EQ(FormatListEntry("DOG=Attack dog|21200|3", false), "DOG - Attack dog|21200|3");
    EXPECT_EQ(FormatListEntry("Allies,Soviet=both", true), "Allies,Soviet - both");
    EXPECT_EQ(FormatListEntry("none=No Prequisited Required", false), "none - No Prequisited Required");
    EXPECT_EQ(FormatListEntry("ARMOR", true), "ARMOR");
    EXPECT_EQ(FormatListEntry("ZSU-23=Anti-aircraft multiple cannon", true), "ZSU-23 - Anti-aircraft multiple cannon");
}

TEST(SplitOptionCaption, TakesCaptionBeforeBang) {
    const auto split = SplitOptionCaption("Cash!A nice chunk o' coin");
    ASSERT_TRUE(split);
    EXPECT_EQ(split->caption, "Cash");
    EXPECT_EQ(split->help, "A nice chunk o' coin");
    EXPECT_FALSE(SplitOptionCaption("Extra squad of random infantry"));

    const Descriptor d = ParseDescriptor("K0|100|20,NONE; Extra squad of random infantry", Table());
    EXPECT_EQ(d.helpText, "Extra squad of random infantry");
}

TEST(Bounds, DotMeansNoBoundAndNumbersKeepLow16Bits) {
    EXPECT_EQ(ReadLowerBound("."), -32767);
    EXPECT_EQ(ReadUpperBound("."), 32767);
    EXPECT_EQ(ReadUpperBound(".300"), 0);
    EXPECT_EQ(ReadUpperBound(". "), 0);
    EXPECT_EQ(ReadUpperBound(""), 0);
    EXPECT_EQ(ReadLowerBound("-1"), -1);
    EXPECT_EQ(ReadUpperBound("65535"), -1);
    EXPECT_EQ(ReadUpperBound("40000"), 40000 - 65536);
}

TEST(DefaultValueForFile, GivesTheGamesForm) {
    const struct {
        const char* text;
        std::optional<std::string> value;
    } cases[] = {
        {"BY|N|Y;x", "yes"},
        {"BY|N|N;x", "no"},
        {"BY|N|;x", std::nullopt},
        {"TT|F|F;x", "false"},
        {"P1|100|20;x", "20%"},
        {"L2999|3034|3034;x", "SCUD"},
        {"L2100|2226|2100;x", "DOG"},
        {"L3110|3112|3112;x", "Allies,Soviet"},
        {"L2999|3034|2999;x", std::nullopt},
        {"M14000|14015|14006,14007;x", "weap,dome"},
        // The game splits Verses at commas only.
        {"V.|.| 100% 50% 60% 25% 25%;x", "100%,50%,60%,25%,25%"},
        {"V.|.|100%,50%,60%,25%,25%;x", "100%,50%,60%,25%,25%"},
        {"V.|.|100% 0% 0% 0% 0;x", "100%,0%,0%,0%,100%"},  // the fifth lacks its "%": the shown completion
        {"K0|100|10,ARMOR,2.0;x", "10,ARMOR,2.0"},
        {"I0|.|;x", std::nullopt},
        {"CHeading", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DefaultValueForFile(ParseDescriptor(c.text, Table()), Table()), c.value) << c.text;
}

}  // namespace
}  // namespace morvane
