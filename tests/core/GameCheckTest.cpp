// The check against small files, one rule a case: where the finding is and how serious.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gameview/GameCheck.h"
#include "gameview/GameKeys.h"
#include "gameview/GameValues.h"

namespace morvane::gameview {
namespace {

std::vector<Finding> Check(const std::string& text) { return CheckRulesFile(GameIni(text), GameKeys::BuiltIn()); }

std::string Describe(const std::vector<Finding>& findings) {
    std::string all;
    for (const Finding& f : findings)
        all += std::to_string(f.line) + " " + LevelWord(f.level) + " [" + f.section + "] " + f.key + ": " + f.message +
               "\n";
    return all;
}

struct CheckCase {
    const char* rule;
    std::string file;
    std::size_t line;
    Level level;
    const char* words;  // a part of the message
};

void PrintTo(const CheckCase& c, std::ostream* out) { *out << c.rule; }

class CheckRule : public testing::TestWithParam<CheckCase> {};

TEST_P(CheckRule, FindsTheLine) {
    const CheckCase& c = GetParam();
    const std::vector<Finding> findings = Check(c.file);
    ASSERT_EQ(findings.size(), 1u) << Describe(findings);
    EXPECT_EQ(findings[0].line, c.line) << Describe(findings);
    EXPECT_EQ(findings[0].level, c.level) << Describe(findings);
    EXPECT_NE(findings[0].message.find(c.words), std::string::npos) << Describe(findings);
}

const std::string kLongList = "Image=" + std::string(130, 'x') + "\n";
const std::string kLongNote = "Cost=100 ;" + std::string(130, '-') + "\n";

INSTANTIATE_TEST_SUITE_P(
    Rules, CheckRule,
    testing::Values(
        CheckCase{"section case", "[general]\nTurboBoost=1.5\n", 1, Level::Error, "Write [General]"},
        CheckCase{"key case", "[General]\nturboBoost=1.5\n", 2, Level::Error, "Write TurboBoost"},
        CheckCase{"value past the cut", "[E1]\n" + kLongList, 2, Level::Error, "first 127"},
        CheckCase{"note past the cut", "[E1]\n" + kLongNote, 2, Level::Note, "inside the note"},
        CheckCase{"last key without line break", "[General]\nTurboBoost=1.5", 2, Level::Error, "loses this last line"},
        CheckCase{"stray carriage return", "[E1]\nImage=E1X\rCost=100\n", 2, Level::Error, "carriage return"},
        CheckCase{"empty value", "[General]\nTurboBoost=\n", 2, Level::Note, "built-in 1.5"},
        CheckCase{"duplicate section", "[E1]\nCost=100\n[E1]\nCost=200\n", 3, Level::Error, "first at line 1"},
        CheckCase{"duplicate key", "[E1]\nCost=100\nCost=200\n", 3, Level::Error, "first at line 2"},
        CheckCase{"duplicate key among others", "[E1]\r\r\nCost=100\r\nSpeed=4\r\nCost=200\r\n", 4, Level::Error,
                  "first at line 2"},
        // Keys count per section: the second [E1] is a section of its own, reported as such.
        CheckCase{"same key in a repeated section", "[E1]\nCost=1\n[E2]\nCost=5\n[E1]\nCost=2\n", 5, Level::Error,
                  "first at line 1"},
        CheckCase{"misspelt key", "[CYCL]\nRepariable=no\n", 2, Level::Warning, "did you mean Repairable?"},
        CheckCase{"key two edits off at its end", "[CYCL]\nRepairablexx=no\n", 2, Level::Warning,
                  "did you mean Repairable?"},
        CheckCase{"key three edits off", "[CYCL]\nRepxxxable=no\n", 2, Level::Warning, "the line has no effect"},
        CheckCase{"shipped spelling the game does not read", "[FROG]\nInaccurate=yes\n", 2, Level::Note,
                  "Write Inaccuate=yes"},
        CheckCase{"near miss of a shipped spelling", "[FROG]\nInacurate=yes\n", 2, Level::Warning,
                  "did you mean Inaccuate?"},
        CheckCase{"key the game ignores", "[E1]\nReload=5\n", 2, Level::Warning, "no effect"},
        CheckCase{"vehicle key on infantry", "[E1]\nTracked=yes\n", 2, Level::Warning, "does not read Tracked"},
        CheckCase{"object key on a warhead", "[SA]\nPrimary=M1Carbine\n", 2, Level::Warning, "does not read Primary"},
        CheckCase{"unknown section", "[MyOwnTank]\nCost=5\n", 1, Level::Note, "no section [MyOwnTank]"},
        CheckCase{"section one edit away", "[Genral]\nTurboBoost=2\n", 1, Level::Warning, "did you mean [General]?"},
        CheckCase{"section without its blank", "[AreaGuard]\nRate=1\n", 1, Level::Warning,
                  "did you mean [Area Guard]?"},
        CheckCase{"invented object", "[XTNK]\nCost=5\n", 1, Level::Warning, "no section [XTNK]"},
        CheckCase{"header without bracket", "[E1]\nCost=1\n[E2\nSpeed=5\n", 3, Level::Error, "stay in [E1]"},
        CheckCase{"text after the header", "[E3] Cost=300\nSpeed=4\n", 1, Level::Error, "loses 'Cost=300'"},
        CheckCase{"byte-order mark", "\xEF\xBB\xBF[General]\nTurboBoost=2\n[E1]\nCost=1\n", 1, Level::Error,
                  "byte-order mark"},
        CheckCase{"distance past 16 bits", "[General]\nRadarJamRadius=300\n", 2, Level::Error,
                  "stored as 44 cells (11264 leptons)"},
        CheckCase{"weapon range wraps to 0", "[Colt45]\nRange=1280\n", 2, Level::Error, "stored as 0 cells"},
        CheckCase{"flag of 2", "[General]\nOreExplosive=2\n", 2, Level::Error, "which is off"},
        CheckCase{"flag of 1.5", "[General]\nOreExplosive=1.5\n", 2, Level::Error, "rounds to 2"},
        CheckCase{"clamped int", "[General]\nVortexSpeed=150\n", 2, Level::Error, "stored as 100"},
        CheckCase{"crate data past 32 bits", "[Powerups]\nArmor=10,ARMOR,2000.\n", 2, Level::Error, "keeps 53248"},
        CheckCase{"building past the first 32", "[E1]\nPrerequisite=barl\n", 2, Level::Error, "for APWR"},
        CheckCase{"unknown sound", "[Colt45]\nReport=BANG\n", 2, Level::Error, "without a sound"},
        CheckCase{"unknown animation", "[Colt45]\nAnim=BOOM\n", 2, Level::Error, "shows none"},
        CheckCase{"unknown crate animation", "[Powerups]\nMoney=50,CASH,2000\n", 2, Level::Error, "'CASH' names no"},
        CheckCase{"plus sign before a fixed value", "[General]\nTurboBoost=+2\n", 2, Level::Error, "reads it as 2"},
        CheckCase{"negative flag", "[General]\nOreExplosive=-1\n", 2, Level::Error, "65535"},
        CheckCase{"decimal comma", "[General]\nURepairPercent=0,2\n", 2, Level::Error, "write 0.2 with a point"},
        CheckCase{"verses blank before percent", "[HE]\nVerses=100%,50 %,60%,25%,25%\n", 2, Level::Error,
                  "against wood only up to ' '"},
        CheckCase{"verses percent after a fraction", "[HE]\nVerses=100%,.5%,60%,25%,25%\n", 2, Level::Error,
                  "against wood only up to '%'"},
        CheckCase{"verses percent with a point", "[HE]\nVerses=100%,50.5%,60%,25%,25%\n", 2, Level::Error, "as 50.5"},
        CheckCase{"theme scenario not a number", "[ThemeControl]\nBIGF226M=x,soviet\n", 2, Level::Error,
                  "scenario 'x'"},
        CheckCase{"theme owner untrimmed", "[ThemeControl]\nBIGF226M=5, soviet\n", 2, Level::Error, "loses soviet"},
        CheckCase{"theme owner unknown", "[ThemeControl]\nBIGF226M=5,Russia\n", 2, Level::Error,
                  "'Russia' names no house"},
        CheckCase{"theme second owner", "[ThemeControl]\nBIGF226M=5,soviet,allies\n", 2, Level::Warning,
                  "ignores 'allies'"},
        CheckCase{"explosion outside the sets", "[HE]\nExplosion=7\n", 2, Level::Error, "no explosion"},
        CheckCase{"infantry death outside the set", "[HE]\nInfDeath=9\n", 2, Level::Error, "death 0"},
        CheckCase{"too few weapons", "[Maximums]\nWeapon=40\n", 2, Level::Error,
                  "loses APTusk, Democharge, AirAssault"},
        CheckCase{"too few warheads", "[Maximums]\nWarhead=8\n", 2, Level::Error, "loses Mechanical"},
        CheckCase{"difficulty not read", "[Easy]\nFirePower=1\n", 1, Level::Note, "does not read [Easy]"},
        CheckCase{"line without equals", "[E1]\nCost 100\n", 2, Level::Warning, "no \"=\""},
        CheckCase{"bool first letter", "[General]\nOreGrows=on\n", 2, Level::Error, "built-in yes"},
        CheckCase{"text in an int", "[General]\nGemValue=abc\n", 2, Level::Error, "reads it as 0"},
        CheckCase{"trailing text in an int", "[General]\nGemValue=1.9\n", 2, Level::Error, "is 1"},
        CheckCase{"hexadecimal without digits", "[General]\nGemValue=$zz\n", 2, Level::Error, "built-in 110"},
        CheckCase{"whole number as fraction", "[General]\nConditionRed=25\n", 2, Level::Warning, "2500%"},
        CheckCase{"two as a fraction", "[General]\nConditionRed=2\n", 2, Level::Warning, "200%"},
        CheckCase{"percentage with a point", "[General]\nConditionRed=50.5%\n", 2, Level::Error, "50.5"},
        CheckCase{"negative fixed", "[General]\nTurboBoost=-1\n", 2, Level::Error, "65535"},
        CheckCase{"yes in a number flag", "[General]\nOreExplosive=yes\n", 2, Level::Error, "Write 1"},
        CheckCase{"untrimmed prerequisite", "[E1]\nPrerequisite=weap, dome\n", 2, Level::Error, "loses dome"},
        CheckCase{"unknown prerequisite", "[E1]\nPrerequisite=weap,lab\n", 2, Level::Error, "'lab' names no building"},
        CheckCase{"not a prerequisite building", "[E1]\nPrerequisite=weaf\n", 2, Level::Error, "first 32"},
        CheckCase{"untrimmed owner", "[E1]\nOwner=allies, soviet\n", 2, Level::Error, "loses soviet"},
        CheckCase{"multiplayer owner", "[E1]\nOwner=Multi1\n", 2, Level::Error, "multiplayer"},
        CheckCase{"unknown weapon", "[E1]\nPrimary=Laser\n", 2, Level::Error, "no weapon"},
        CheckCase{"display form", "[V2RL]\nPrimary=SCUD - SCUD launcher\n", 2, Level::Error, "write SCUD alone"},
        CheckCase{"warhead None", "[M1Carbine]\nWarhead=None\n", 2, Level::Error, "None cannot clear it"},
        CheckCase{"unknown projectile", "[M1Carbine]\nProjectile=Bullet\n", 2, Level::Error, "keeps the projectile"},
        CheckCase{"unknown armour", "[E1]\nArmor=steel\n", 2, Level::Error, "uses none"},
        CheckCase{"unknown crate bonus", "[General]\nSilverCrate=Gold\n", 2, Level::Error, "gives Money"},
        CheckCase{"infantry as crate unit", "[General]\nUnitCrateType=DOG\n", 2, Level::Error, "random vehicle"},
        CheckCase{"verses with blanks", "[HE]\nVerses=100% 50% 60% 25% 25%\n", 2, Level::Error, "only at commas"},
        CheckCase{"verses short", "[HE]\nVerses=100%,50%\n", 2, Level::Warning, "Only 2"},
        CheckCase{"verses whole numbers", "[HE]\nVerses=100,50%,60%,25%,25%\n", 2, Level::Warning, "10000%"},
        CheckCase{"crate multiplier without point", "[Powerups]\nArmor=10,ARMOR,2\n", 2, Level::Error, "2/256"},
        CheckCase{"crate money with point", "[Powerups]\nMoney=50,NONE,20.0\n", 2, Level::Warning, "times 256 (5120)"},
        CheckCase{"strength past 16 bits", "[E1]\nStrength=70000\n", 2, Level::Error, "stored as 4464"},
        CheckCase{"speed past 100", "[E1]\nSpeed=150\n", 2, Level::Error, "as 100"},
        CheckCase{"projectile ROT past 8 bits", "[Invisible]\nROT=300\n", 2, Level::Error, "stored as 44"},
        CheckCase{"above the first section", "Cost=5\n[E1]\nCost=1\n", 1, Level::Note, "above the first section"}),
    [](const testing::TestParamInfo<CheckCase>& info) {
        std::string name = info.param.rule;
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        return name;
    });

TEST(Check, ValuesTheGameReadsAsWrittenGiveNothing) {
    const std::string file =
        "; my mod\r\n[General]\r\nTurboBoost=1.5  ; faster\r\nConditionRed=25%\r\nConditionYellow=.5\r\n"
        "GemValue=$1F\r\nGoldValue=1Fh\r\nOreGrows=Yes\r\nOreExplosive=1\r\nUnitCrateType=1tnk\r\n"
        "SilverCrate=healbase\r\nBuildSpeed=2\r\n[E1]\r\nPrerequisite=barr,tent\r\nOwner=allies,soviet\r\n"
        "Primary=M1Carbine\r\nSecondary=none\r\nArmor=None\r\nSpeed=100\r\nStrength=65535\r\nReload=5\r\n"
        "[HE]\r\nVerses=90%, 75%,.5,25%,100%\r\n[Powerups]\r\nArmor=10,ARMOR,2.0\r\nMoney=50,NONE,2000\r\n"
        "Invulnerability=3,INVULBOX,1.0\r\n";
    const std::vector<Finding> findings = Check(file);
    // The only finding: a key the game ignores.
    ASSERT_EQ(findings.size(), 1u) << Describe(findings);
    EXPECT_EQ(findings[0].level, Level::Warning);
    EXPECT_EQ(findings[0].key, "Reload");
}

// Lines that look odd but lose nothing the game uses: not a word about them.
TEST(Check, QuietWhereTheGameLosesNothing) {
    const std::string blanksBeforeNote = "Cost=100" + std::string(125, ' ') + "; cheap\n";
    const std::string trailingBlanks = "Cost=100" + std::string(130, ' ') + "\n";
    const struct {
        const char* what;
        std::string file;
    } cases[] = {
        {"cut in the blanks before a note", "[E1]\n" + blanksBeforeNote},
        {"cut in trailing blanks", "[E1]\n" + trailingBlanks},
        {"CR CR LF endings", "[E1]\r\r\nCost=100\r\r\nSpeed=4\r\r\n"},
        {"empty header on a last line without a break", "[E1]\nCost=100\n[E2]"},
        {"OreExplosive=no", "[General]\nOreExplosive=no\n"},
        {"OreExplosive=false", "[General]\nOreExplosive=false\n"},
        {"a note after a header", "[General] ; the main rules\nTurboBoost=2\n"},
        {"known sound and animation in any case", "[Colt45]\nReport=gun5\nAnim=gunfire\n"},
        {"None for sound and animation", "[Colt45]\nReport=None\nAnim=none\n"},
        {"crate animation NONE and a known one", "[Powerups]\nMoney=50,NONE,2000\nArmor=10,armor,.5\n"},
        {"theme", "[ThemeControl]\nBIGF226M=5,soviet\nAWAIT=3,Spain\n"},
        {"enough weapons and warheads", "[Maximums]\nWeapon=43\nWarhead=9\n"},
        {"explosion and death in their sets", "[HE]\nExplosion=6\nInfDeath=5\n"},
        {"a comment line starting with a bracket", "[E1]\nCost=100\n"},
        {"distances just below 256 cells", "[General]\nRadarJamRadius=255\n"},
        {"one as a fraction: the whole of it", "[General]\nConditionRed=1\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(Describe(Check(c.file)), "") << c.what;
}

TEST(Check, FindingsComeInLineOrderWithTheirSection) {
    const std::vector<Finding> findings = Check("[E1]\nCost=abc\nSpeed=150\n[general]\nx=1\n[E1]\nCost=1\n");
    ASSERT_EQ(findings.size(), 4u) << Describe(findings);
    for (std::size_t i = 1; i < findings.size(); ++i) EXPECT_LE(findings[i - 1].line, findings[i].line);
    EXPECT_EQ(findings[0].section, "E1");
    EXPECT_EQ(findings[0].key, "Cost");
    EXPECT_EQ(findings[2].section, "general");
    EXPECT_TRUE(findings[2].key.empty());
}

TEST(Check, FileWithoutSections) {
    const std::vector<Finding> findings = Check("TurboBoost=1.5\n");
    ASSERT_FALSE(findings.empty());
    EXPECT_EQ(findings[0].level, Level::Error);
    EXPECT_EQ(findings[0].line, 1u);
}

// The value editor's percentage: the fixed value rounded to a whole percent, and whether "N%"
// reads exactly the same.
TEST(GameValues, PercentOfAFixedValue) {
    const struct {
        const char* text;
        std::int64_t percent;
        bool whole;
    } cases[] = {
        {"20%", 20, true},   {"020%", 20, true},    {".2", 20, true},     {"0.2", 20, true},     {"0.25", 25, true},
        {"1.05", 105, true}, {"1.5", 150, true},    {".165", 16, false},  {".166", 17, false},   {".016", 2, false},
        {"25", 2500, true},  {"50.5%", 5050, true}, {"50 %", 5000, true}, {"abc", 0, true},      {"", 0, true},
        {"150%", 150, true}, {".20", 20, true},     {".200", 20, true},   {"-1", 6553500, true},
    };
    for (const auto& c : cases) {
        const GamePercent reading = PercentOfFixed(ReadGameFixed(c.text));
        EXPECT_EQ(reading.percent, c.percent) << c.text;
        EXPECT_EQ(reading.whole, c.whole) << c.text;
    }
}

// Fixed values to the last digit the reader takes, and cells rounded to the nearest lepton.
TEST(GameValues, FractionDigitsAndLeptons) {
    const struct {
        const char* text;
        std::uint32_t fixed;
        std::uint16_t leptons;
    } cases[] = {
        {"0.000030518", 2, 0},                             // the ninth digit still counts: 30518/10^9 of 65536 is 2.0
        {"0.00003051", 1, 0},    {"1.001", 0x10041, 256},  // 65 of 65536 past one cell: under half a lepton
        {"1.002", 0x10083, 257},                           // 131 of 65536: over half a lepton, rounded up
        {"0.5", 0x8000, 128},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadGameFixed(c.text), c.fixed) << c.text;
        EXPECT_EQ(ReadGameLeptons(c.text), c.leptons) << c.text;
    }
}

TEST(GameKeysTable, ParsesAndKnowsTheGamesOrder) {
    const GameKeys& keys = GameKeys::BuiltIn();
    ASSERT_NE(keys.KindOfSection("General"), nullptr);
    EXPECT_EQ(keys.KindOfSection("general"), nullptr);
    EXPECT_EQ(*keys.SectionNoCase("general"), "General");
    EXPECT_EQ(keys.Names(Reading::Buildings).front(), "ATEK");
    EXPECT_EQ(keys.Names(Reading::Buildings)[31], "TSLA");
    EXPECT_EQ(keys.Names(Reading::Owners).size(), 20u);
    EXPECT_EQ(keys.Names(Reading::Crate).back(), "ChronalVortex");
    EXPECT_EQ(keys.IndexOfName(Reading::Weapon, "scud"), keys.IndexOfName(Reading::Weapon, "SCUD"));
    EXPECT_FALSE(keys.Kind("difficulty")->read);
    // The game's own name tables: first match counts, letter case aside.
    EXPECT_EQ(keys.Names(Reading::Sound).front(), "GIRLOKAY");
    EXPECT_EQ(keys.Names(Reading::Sound).size(), 166u);
    EXPECT_EQ(keys.IndexOfName(Reading::Anim, "samfire"), 4);
    EXPECT_EQ(keys.IndexOfName(Reading::Anim, "ANTDIE"), 86);
    EXPECT_EQ(keys.IndexOfName(Reading::Sound, "aacannon3"), -1);
}

}  // namespace
}  // namespace morvane::gameview
