// What the game makes of one entry, for each kind of value, through `morvane-cli effective`.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

#include "TempDir.h"
#include "cli/CliCommand.h"
#include "gameview/GameIni.h"
#include "gameview/GameKeys.h"
#include "gameview/GameReading.h"
#include "platform/FileAccess.h"

namespace morvane::cli {
namespace {

struct EffectiveCase {
    std::string file;
    const char* section;
    const char* key;
    const char* expected;  // KIND<TAB>VALUE
};

void PrintTo(const EffectiveCase& c, std::ostream* out) { *out << c.section << ' ' << c.key << " from " << c.file; }

class Effective : public testing::TestWithParam<EffectiveCase> {};

TEST_P(Effective, PrintsWhatTheGameReads) {
    const EffectiveCase& c = GetParam();
    test::TempDir dir;
    const std::string path = dir.File("rules.ini");
    ASSERT_EQ(platform::ReplaceFileAtomically(path, c.file), 0);
    std::ostringstream out, err;
    EXPECT_EQ(RunCli({"effective", path, c.section, c.key}, out, err), kExitOk) << err.str();
    EXPECT_EQ(out.str(), std::string(c.expected) + "\n") << c.file;
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, Effective,
    testing::Values(EffectiveCase{"[General]\nOreGrows=yes\n", "General", "OreGrows", "bool\ttrue"},
                    EffectiveCase{"[General]\nOreGrows=False\n", "General", "OreGrows", "bool\tfalse"},
                    EffectiveCase{"[General]\nOreGrows=on\n", "General", "OreGrows", "bool\tdefault"},
                    EffectiveCase{"[General]\nGemValue=$1F\n", "General", "GemValue", "int\t31"},
                    EffectiveCase{"[General]\nGemValue=10h\n", "General", "GemValue", "int\t16"},
                    EffectiveCase{"[General]\nGemValue=12abc\n", "General", "GemValue", "int\t12"},
                    EffectiveCase{"[General]\nGemValue=abc\n", "General", "GemValue", "int\t0"},
                    EffectiveCase{"[General]\nGemValue=-5\n", "General", "GemValue", "int\t-5"},
                    EffectiveCase{"[General]\nGemValue=$zz\n", "General", "GemValue", "int\tdefault"},
                    EffectiveCase{"[E1]\nStrength=70000\n", "E1", "Strength", "int\t4464"},
                    EffectiveCase{"[General]\nConditionRed=25%\n", "General", "ConditionRed", "fixed\t0.250000"},
                    EffectiveCase{"[General]\nConditionRed=.25\n", "General", "ConditionRed", "fixed\t0.250000"},
                    EffectiveCase{"[General]\nConditionRed=25\n", "General", "ConditionRed", "fixed\t25.000000"},
                    EffectiveCase{"[General]\nConditionRed=50.5%\n", "General", "ConditionRed", "fixed\t50.500000"},
                    EffectiveCase{"[General]\nTurboBoost=-1\n", "General", "TurboBoost", "fixed\t65535.000000"},
                    EffectiveCase{"[General]\nOreExplosive=yes\n", "General", "OreExplosive", "bool\tfalse"},
                    EffectiveCase{"[General]\nCrateRadius=2.5\n", "General", "CrateRadius", "cells\t640"},
                    EffectiveCase{"[General]\nCrateRadius=150%\n", "General", "CrateRadius", "cells\t384"},
                    EffectiveCase{"[E1]\nSpeed=50\n", "E1", "Speed", "speed\t128"},
                    EffectiveCase{"[E1]\nSpeed=150\n", "E1", "Speed", "speed\t255"},
                    EffectiveCase{"[E1]\nSpeed=-5\n", "E1", "Speed", "speed\t0"},
                    EffectiveCase{"[E1]\nPrerequisite=dome,weap\n", "E1", "Prerequisite", "buildings\tWEAP,DOME"},
                    EffectiveCase{"[E1]\nPrerequisite=weap, dome\n", "E1", "Prerequisite", "buildings\tWEAP"},
                    EffectiveCase{"[E1]\nPrerequisite=none\n", "E1", "Prerequisite", "buildings\tnone"},
                    EffectiveCase{"[E1]\nOwner=allies\n", "E1", "Owner",
                                  "owners\tSpain,Greece,England,Germany,France,Turkey,GoodGuy"},
                    EffectiveCase{"[E1]\nOwner=soviet,Spain\n", "E1", "Owner", "owners\tSpain,USSR,Ukraine,BadGuy"},
                    EffectiveCase{"[E1]\nOwner=Spain, soviet\n", "E1", "Owner", "owners\tSpain"},
                    EffectiveCase{"[HE]\nVerses=100%,50%,.5,25%,1\n", "HE", "Verses",
                                  "verses\t1.000000,0.500000,0.500000,0.250000,1.000000"},
                    EffectiveCase{"[HE]\nVerses=90% 75% 60% 25% 25%\n", "HE", "Verses",
                                  "verses\t0.899994,0.000000,0.000000,0.000000,0.000000"},
                    EffectiveCase{"[Powerups]\nArmor=10,ARMOR,2.0\n", "Powerups", "Armor", "powerup\t10,ARMOR,512"},
                    EffectiveCase{"[Powerups]\nArmor=10,ARMOR,2\n", "Powerups", "Armor", "powerup\t10,ARMOR,2"},
                    EffectiveCase{"[Powerups]\nMoney=50,NONE,2000\n", "Powerups", "Money", "powerup\t50,none,2000"},
                    EffectiveCase{"[E1]\nPrimary=m1carbine\n", "E1", "Primary", "name\tM1Carbine"},
                    EffectiveCase{"[E1]\nPrimary=Laser\n", "E1", "Primary", "name\tnone"},
                    EffectiveCase{"[M1Carbine]\nWarhead=None\n", "M1Carbine", "Warhead", "name\tkept"},
                    EffectiveCase{"[M1Carbine]\nWarhead=ap\n", "M1Carbine", "Warhead", "name\tAP"},
                    EffectiveCase{"[General]\nSilverCrate=Gold\n", "General", "SilverCrate", "name\tMoney"},
                    EffectiveCase{"[General]\nUnitCrateType=DOG\n", "General", "UnitCrateType", "name\tnone"},
                    EffectiveCase{"[E1]\nArmor=Heavy - Heavy\n", "E1", "Armor", "name\tnone"},
                    EffectiveCase{"[E1]\nImage=E1X  ; note\n", "E1", "Image", "text\tE1X"},
                    EffectiveCase{"[General]\nBuildSpeed=1\n", "General", "TurboBoost", "fixed\tabsent"},
                    EffectiveCase{"[General]\nturboboost=2\n", "General", "TurboBoost", "fixed\tabsent"},
                    EffectiveCase{"[general]\nTurboBoost=2\n", "General", "TurboBoost", "fixed\tabsent"},
                    EffectiveCase{"[General]\nTurboBoost=\n", "General", "TurboBoost", "fixed\tabsent"},
                    EffectiveCase{"[General]\nTurboBoost=2", "General", "TurboBoost", "fixed\tabsent"},
                    EffectiveCase{"[Easy]\nFirePower=2\n", "Easy", "FirePower", "fixed\tabsent"},
                    EffectiveCase{"[General]\nTurboBoost=2\n", "general", "turboboost", "fixed\t2.000000"}));

// What the field keeps after reading, and the fallback of every name the game looks up.
INSTANTIATE_TEST_SUITE_P(
    KeptValues, Effective,
    testing::Values(EffectiveCase{"[General]\nRadarJamRadius=300\n", "General", "RadarJamRadius", "cells\t11264"},
                    EffectiveCase{"[Colt45]\nRange=1280\n", "Colt45", "Range", "cells\t0"},
                    EffectiveCase{"[Colt45]\nRange=255.999\n", "Colt45", "Range", "cells\t0"},
                    EffectiveCase{"[General]\nOreExplosive=2\n", "General", "OreExplosive", "bool\tfalse"},
                    EffectiveCase{"[General]\nOreExplosive=1.5\n", "General", "OreExplosive", "bool\tfalse"},
                    EffectiveCase{"[General]\nOreExplosive=3\n", "General", "OreExplosive", "bool\ttrue"},
                    EffectiveCase{"[General]\nOreExplosive=.5\n", "General", "OreExplosive", "bool\ttrue"},
                    EffectiveCase{"[General]\nOreExplosive=.49\n", "General", "OreExplosive", "bool\tfalse"},
                    EffectiveCase{"[General]\nOreExplosive=100%\n", "General", "OreExplosive", "bool\ttrue"},
                    EffectiveCase{"[General]\nVortexSpeed=150\n", "General", "VortexSpeed", "int\t100"},
                    EffectiveCase{"[General]\nVortexSpeed=-5\n", "General", "VortexSpeed", "int\t0"},
                    EffectiveCase{"[General]\nVortexSpeed=$20\n", "General", "VortexSpeed", "int\t32"},
                    EffectiveCase{"[Invisible]\nROT=300\n", "Invisible", "ROT", "int\t44"},
                    EffectiveCase{"[E1]\nStrength=-1\n", "E1", "Strength", "int\t65535"},
                    EffectiveCase{"[Powerups]\nArmor=10,ARMOR,.3\n", "Powerups", "Armor", "powerup\t10,ARMOR,77"},
                    EffectiveCase{"[Powerups]\nArmor=10,ARMOR,50%\n", "Powerups", "Armor", "powerup\t10,ARMOR,128"},
                    EffectiveCase{"[Powerups]\nArmor=10,ARMOR,2000.\n", "Powerups", "Armor", "powerup\t10,ARMOR,53248"},
                    EffectiveCase{"[Powerups]\nMoney=50,dollar,2000\n", "Powerups", "Money", "powerup\t50,DOLLAR,2000"},
                    EffectiveCase{"[Powerups]\nMoney=50,CASH,2000\n", "Powerups", "Money", "powerup\t50,none,2000"},
                    EffectiveCase{"[Powerups]\nMoney=50,DOLLAR\n", "Powerups", "Money", "powerup\t50,DOLLAR,0"},
                    EffectiveCase{"[Powerups]\nMoney=50,DOLLAR\n", "Powerups", "Armor", "powerup\t0,none,0"},
                    EffectiveCase{"[Powerups]\nMoney=\nArmor=1,ARMOR,1.0\n", "Powerups", "Money", "powerup\t0,none,0"},
                    EffectiveCase{"[General]\nGemValue=1\n", "Powerups", "Money", "powerup\tabsent"},
                    EffectiveCase{"[E1]\nPrerequisite=weaf\n", "E1", "Prerequisite", "buildings\tATEK"},
                    EffectiveCase{"[E1]\nPrerequisite=barl,weap\n", "E1", "Prerequisite", "buildings\tWEAP,APWR"},
                    EffectiveCase{"[Colt45]\nReport=gun5\n", "Colt45", "Report", "name\tGUN5"},
                    EffectiveCase{"[Colt45]\nReport=AACANNON3\n", "Colt45", "Report", "name\tnone"},
                    EffectiveCase{"[Colt45]\nAnim=samfire\n", "Colt45", "Anim", "name\tSAMFIRE"},
                    EffectiveCase{"[Colt45]\nAnim=BOOM\n", "Colt45", "Anim", "name\tnone"},
                    EffectiveCase{"[Colt45]\nAnim=None\n", "Colt45", "Anim", "name\tnone"},
                    EffectiveCase{"[General]\nURepairPercent=0,2\n", "General", "URepairPercent", "fixed\t0.000000"},
                    EffectiveCase{"[HE]\nVerses=100%,50 %,.5%,50.5%,25%\n", "HE", "Verses",
                                  "verses\t1.000000,50.000000,0.500000,50.500000,0.250000"},
                    EffectiveCase{"[ThemeControl]\nBIGF226M=5,soviet\n", "ThemeControl", "BIGF226M",
                                  "theme\t5,USSR,Ukraine,BadGuy"},
                    EffectiveCase{"[ThemeControl]\nBIGF226M=5, soviet\n", "ThemeControl", "BIGF226M", "theme\t5,none"},
                    EffectiveCase{"[ThemeControl]\nBIGF226M=x,Spain,soviet\n", "ThemeControl", "BIGF226M",
                                  "theme\t0,Spain"},
                    EffectiveCase{"[HE]\nExplosion=9\n", "HE", "Explosion", "int\t9"},
                    EffectiveCase{"\xEF\xBB\xBF[General]\nTurboBoost=2\n", "General", "TurboBoost", "fixed\tabsent"},
                    EffectiveCase{"[E3] Cost=300\n", "E3", "Cost", "int\tabsent"}));

TEST(EffectiveCommand, KeyTheGameDoesNotReadAndUnreadableFile) {
    test::TempDir dir;
    const std::string path = dir.File("rules.ini");
    ASSERT_EQ(platform::ReplaceFileAtomically(path, "[E1]\nReload=5\n"), 0);
    std::ostringstream out, err;
    EXPECT_EQ(RunCli({"effective", path, "E1", "Reload"}, out, err), kExitNotFound);
    EXPECT_NE(err.str().find("does not read Reload"), std::string::npos);
    EXPECT_EQ(RunCli({"effective", dir.File("none.ini"), "E1", "Cost"}, out, err), 2);
    EXPECT_EQ(RunCli({"effective", path, "E1"}, out, err), kExitUsage);
}

TEST(CheckCommand, PrintsFindingsAndExitsByTheWorstLevel) {
    test::TempDir dir;
    const std::string path = dir.File("rules.ini");
    const auto run = [&path](const std::string& file, std::string& out) {
        EXPECT_EQ(platform::ReplaceFileAtomically(path, file), 0);
        std::ostringstream stream, err;
        const int code = RunCli({"check", path}, stream, err);
        out = stream.str();
        return code;
    };
    std::string out;
    EXPECT_EQ(run("[General]\r\nTurboBoost=1.5\r\n", out), kExitOk);
    EXPECT_EQ(out, "");
    EXPECT_EQ(run("[E1]\r\nName=Rifleman\r\n[MyOwnTank]\r\nCost=5\r\n", out), kExitOk);
    EXPECT_EQ(out, path +
                       ":3: note: [MyOwnTank]: The game has no section [MyOwnTank] and ignores it; it cannot make "
                       "new objects from the rules file.\n");
    EXPECT_EQ(run("[E1]\r\nReload=5\r\n", out), kExitNotFound);
    EXPECT_EQ(out, path + ":2: warning: [E1] Reload: The game does not read Reload in [E1]; the line has no effect.\n");
    EXPECT_EQ(run("[E1]\nCost=100\n[MyOwnTank]\nCost=1\n[E1]\nSpeed=200\n", out), kExitNotFound);
    EXPECT_EQ(out.rfind(path + ":3: note: [MyOwnTank]: ", 0), 0u) << out;
    EXPECT_NE(out.find("\n" + path + ":5: error: [E1]: [E1] appears again"), std::string::npos) << out;
    EXPECT_NE(out.find("\n" + path + ":6: error: [E1] Speed: "), std::string::npos) << out;

    std::ostringstream stream, err;
    EXPECT_EQ(RunCli({"check", dir.File("none.ini")}, stream, err), 2);
    EXPECT_NE(err.str().find("cannot read"), std::string::npos);
    EXPECT_EQ(RunCli({"check", "--help"}, stream, err), kExitOk);
    EXPECT_NE(stream.str().find("warning"), std::string::npos);
}

// The value editor's line in words, for the kinds whose words differ from the command line's.
TEST(GameReading, SaysWhatTheGameReadsInWords) {
    const gameview::GameKeys& keys = gameview::GameKeys::BuiltIn();
    const auto words = [&keys](const std::string& file, const char* section, const char* key) {
        return gameview::DescribeGameReading(keys, gameview::GameIni(file), section, key);
    };
    EXPECT_EQ(words("[General]\nConditionRed=25%\n", "General", "ConditionRed"), "The game reads: 25% (0.25)");
    EXPECT_EQ(words("[General]\n", "General", "TurboBoost"), "Not in the file: the game uses its built-in 1.5.");
    EXPECT_EQ(words("[E1]\nPrerequisite=weap, dome\n", "E1", "Prerequisite")
                  .rfind("The game reads: WEAP - ' dome' names no building", 0),
              0u);
    EXPECT_EQ(words("[General]\nturboboost=2\n", "General", "TurboBoost"),
              "The file spells the key turboboost, and the game matches names exactly; it uses its built-in 1.5.");
    EXPECT_EQ(words("[General]\nTurboBoost=\n", "General", "TurboBoost"),
              "The value is empty, so the game ignores the line; it uses its built-in 1.5.");
    EXPECT_EQ(words("[General]\nCrateRadius=2.5\n", "General", "CrateRadius"),
              "The game reads: 2.5 cells (640 leptons)");
    EXPECT_EQ(words("[E1]\nReload=5\n", "E1", "Reload"), "The game does not read Reload in [E1].");
    EXPECT_EQ(words("[Easy]\nFirePower=1\n", "Easy", "Firepower"),
              "This version of the game does not read [Easy]; the value has no effect.");
    EXPECT_EQ(words("[General]\nRadarJamRadius=300\n", "General", "RadarJamRadius")
                  .rfind("The game reads: 44 cells (11264 leptons) - ", 0),
              0u);
    EXPECT_EQ(words("[General]\nOreExplosive=2\n", "General", "OreExplosive").rfind("The game reads: off - ", 0), 0u);
    EXPECT_EQ(words("[Colt45]\nReport=BANG\n", "Colt45", "Report").rfind("The game reads: no sound - ", 0), 0u);
    EXPECT_EQ(words("[Powerups]\nMoney=50,DOLLAR\n", "Powerups", "Armor"),
              "The game reads: 0 shares, no animation, data 0 - [Powerups] does not list this crate, so the game "
              "reads 0,NONE and the crate never appears.");
    EXPECT_EQ(words("[HE]\nVerses=100%,50%,60%,25%,25%\n", "HE", "Verses"),
              "The game reads: none 100%, wood 50%, light 60%, heavy 25%, concrete 25%");
}

}  // namespace
}  // namespace morvane::cli

namespace morvane::gameview {
namespace {

// The game finds a key in the first section of that exact name that holds any entry; a later
// section of the name is not searched, an earlier empty one is passed over.
TEST(GameIniFind, FirstSectionOfTheExactNameWithEntries) {
    const GameIni ini(
        "[E1]\n; nothing\n[e1]\nCost=1\n[B]\nCost=2\n[E1]\nSpeed=4\nCost=3\n[E1]\nCost=5\nStrength=9\n[A]\n");
    ASSERT_NE(ini.Find("E1", "Cost"), nullptr);
    EXPECT_EQ(ini.Find("E1", "Cost")->line, 9u);
    EXPECT_EQ(ini.Find("E1", "Strength"), nullptr);  // only in the third [E1]
    EXPECT_EQ(ini.Find("e1", "Cost")->value, "1");
    EXPECT_EQ(ini.Find("E1", "cost"), nullptr);
    EXPECT_TRUE(ini.HasSection("B"));
    EXPECT_FALSE(ini.HasSection("A"));  // no entries
    EXPECT_FALSE(ini.HasSection("C"));
    EXPECT_FALSE(GameIni("").HasSection("E1"));
}

// The lines, entries and sections hold views into text the reading keeps itself: they stay
// right after the caller's bytes are gone, in copies, and after moves.
TEST(GameIniText, OutlivesTheCallersBytesInCopiesAndMoves) {
    auto bytes = std::make_unique<std::string>(
        "[General]\r\nName=a value longer than any small string\r\n[E1]\r\nImage=E1X\rCost=100\r\nSpeed=4\r\n");
    std::optional<GameIni> first(std::in_place, *bytes);
    std::fill(bytes->begin(), bytes->end(), '#');
    bytes.reset();
    const GameIni copy = *first;
    GameIni moved = std::move(*first);
    first.reset();
    for (const GameIni* ini : {&copy, static_cast<const GameIni*>(&moved)}) {
        ASSERT_EQ(ini->Lines().size(), 5u);
        EXPECT_EQ(ini->Lines()[1].value, "a value longer than any small string");
        EXPECT_EQ(ini->Lines()[2].header, "E1");
        ASSERT_NE(ini->Find("General", "Name"), nullptr);
        EXPECT_EQ(ini->Find("General", "Name")->value, "a value longer than any small string");
        ASSERT_EQ(ini->Sections().size(), 2u);
        EXPECT_EQ(ini->Sections()[1].name, "E1");
        ASSERT_EQ(ini->Sections()[1].entries.size(), 2u);
        EXPECT_EQ(ini->Sections()[1].entries[1].key, "Speed");
    }
}

// A carriage return inside a line joins the text after it to the line: the game reads the line
// without its returns. Several such lines, short and long, each keep their own text.
TEST(GameIniText, LinesWithStrayReturnsAreReadWithoutThem) {
    const std::string longValue(200, 'v');
    const GameIni ini("[E1]\nImage=E1X\rCost=100\r\nA\r=\r1\n\r\rStrength=\r" + longValue +
                      "\r\r\nSpeed=4\r\n[E2]\r\r\nCost=5\n");
    ASSERT_EQ(ini.Lines().size(), 7u);
    const GameLine& joined = ini.Lines()[1];
    EXPECT_TRUE(joined.strayReturn);
    EXPECT_EQ(joined.key, "Image");
    EXPECT_EQ(joined.value, "E1XCost=100");
    EXPECT_EQ(joined.length, 17u);
    EXPECT_EQ(ini.Lines()[2].key, "A");
    EXPECT_EQ(ini.Lines()[2].value, "1");
    EXPECT_TRUE(ini.Lines()[3].strayReturn);
    EXPECT_TRUE(ini.Lines()[3].cutBeforeNote);
    EXPECT_EQ(ini.Lines()[3].value, std::string(118, 'v'));  // 127 characters kept
    EXPECT_FALSE(ini.Lines()[4].strayReturn);                // returns only at the end
    EXPECT_FALSE(ini.Lines()[5].strayReturn);
    EXPECT_EQ(ini.Lines()[5].header, "E2");
    ASSERT_NE(ini.Find("E1", "Image"), nullptr);
    EXPECT_EQ(ini.Find("E1", "Image")->value, "E1XCost=100");
    EXPECT_EQ(ini.Find("E1", "Strength")->line, 4u);
    EXPECT_EQ(ini.Find("E2", "Cost")->value, "5");
}

}  // namespace
}  // namespace morvane::gameview
