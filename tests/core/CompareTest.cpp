// What the game plays differently in two rules files, through `morvane-cli diff`. The
// fingerprints in the expected outputs come from the independent script described in
// FingerprintTest.cpp.
#include <gtest/gtest.h>

#include <sstream>

#include "CliRun.h"
#include "TempDir.h"
#include "cli/CliCommand.h"
#include "compare/RulesDiff.h"
#include "gameview/GameKeys.h"
#include "platform/FileAccess.h"

namespace morvane::compare {
namespace {

struct DiffCase {
    const char* name;
    std::string a;
    std::string b;
    std::vector<std::string> expected;  // "[SECTION] KEY: A -> B", in order
};

void PrintTo(const DiffCase& c, std::ostream* out) { *out << c.name; }

std::vector<std::string> KeyLines(const RulesDiff& diff) {
    std::vector<std::string> lines;
    for (const KeyDifference& key : diff.keys)
        lines.push_back("[" + key.section + "] " + key.key + ": " + key.a + " -> " + key.b);
    return lines;
}

class Diff : public testing::TestWithParam<DiffCase> {};

TEST_P(Diff, ListsWhatPlaysDifferently) {
    const DiffCase& c = GetParam();
    const RulesDiff diff = DiffRules(gameview::GameKeys::BuiltIn(), c.a, c.b, false);
    EXPECT_EQ(KeyLines(diff), c.expected);
    // The other way round, the same keys differ.
    EXPECT_EQ(DiffRules(gameview::GameKeys::BuiltIn(), c.b, c.a, false).keys.size(), c.expected.size());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Diff,
    testing::Values(
        DiffCase{
            "formatting only",
            "[General]\nCurleyShuffle=yes\nBuildSpeed=.8\n\n[E1]\nCost=100\n",
            "; a note\r\n[E1]\r\nCost = 100 ; cheap\r\n[General] ; x\r\n\tBuildSpeed=.8\r\n\r\nCurleyShuffle=yes\r\n",
            {}},
        DiffCase{
            "a changed value", "[E1]\nCost=100\nSight=4\n", "[E1]\nCost=200\nSight=4\n", {"[E1] Cost: 100 -> 200"}},
        DiffCase{
            "a key in one file only", "[E1]\nCost=100\nSight=4\n", "[E1]\nCost=100\n", {"[E1] Sight: 4 -> absent (0)"}},
        DiffCase{
            "a section in one file only", "[General]\nBuildSpeed=.8\n", "", {"[General] BuildSpeed: .8 -> absent (1)"}},
        DiffCase{"written differently, read the same",
                 "[General]\nConditionRed=25%\nCurleyShuffle=yes\nGemValue=$1F\n[E1]\nStrength=70000\n"
                 "Primary=m1carbine\nImage=e1\n[Invisible]\nImage=NONE\n",
                 "[General]\nConditionRed=.25\nCurleyShuffle=Yo\nGemValue=31\n[E1]\nStrength=4464\n"
                 "Primary=M1Carbine\nImage=E1\n[Invisible]\nImage=none\n",
                 {}},
        DiffCase{"the built-in value written out",
                 "[General]\nConditionRed=25%\nCurleyShuffle=no\n",
                 "[General]\nBuildSpeed=1\n",
                 {}},
        DiffCase{"a value the game cannot read keeps the built-in one",
                 "[General]\nCurleyShuffle=on\n",
                 "[General]\nCurleyShuffle=no\n",
                 {}},
        DiffCase{"the same number written as a percent and as a whole number",
                 "[General]\nConditionRed=25%\n",
                 "[General]\nConditionRed=25\n",
                 {"[General] ConditionRed: 25% -> 25"}},
        DiffCase{"a key in another letter case is not read",
                 "[General]\nConditionRed=50%\n",
                 "[General]\nconditionred=50%\n",
                 {"[General] ConditionRed: 50% -> absent (0.25)"}},
        DiffCase{"a section in another letter case is not read",
                 "[E1]\nCost=100\n",
                 "[e1]\nCost=100\n",
                 {"[E1] Cost: 100 -> absent (0)"}},
        DiffCase{"a duplicate the game hides", "[E1]\nCost=100\n", "[E1]\nCost=100\nCost=100\n", {}},
        DiffCase{"a duplicate that leaves the choice open",
                 "[E1]\nCost=100\n",
                 "[E1]\nCost=100\nCost=200\n",
                 {"[E1] Cost: 100 -> 100 or 200 (duplicates: the game takes one)"}},
        // The game finds one of the two sections; the other one's keys are invisible.
        DiffCase{"duplicate sections are not merged",
                 "[E1]\nCost=100\nSight=4\n",
                 "[E1]\nCost=100\n[E1]\nSight=4\n",
                 {"[E1] Sight: 4 -> absent (0) or 4 (duplicates: the game takes one)",
                  "[E1] Cost: 100 -> 100 or absent (0) (duplicates: the game takes one)"}},
        DiffCase{"sections and keys the game does not read",
                 "[General]\nBuildSpeed=1\n",
                 "[General]\nBuildSpeed=1\nNoSuchKey=5\n[XTNK]\nCost=5\n[Easy]\nFirePower=2\n",
                 {}},
        DiffCase{"in the game's order",
                 "[E1]\nCost=1\n[General]\nBuildSpeed=2\n[1TNK]\nCost=1\n",
                 "[1TNK]\nCost=2\n[General]\nBuildSpeed=3\n[E1]\nCost=2\n",
                 {"[General] BuildSpeed: 2 -> 3", "[1TNK] Cost: 1 -> 2", "[E1] Cost: 1 -> 2"}},
        DiffCase{"a rate that follows another", "[Guard]\nRate=.1\n", "[Guard]\nRate=.1\nAARate=.1\n", {}},
        DiffCase{"a following rate written as 0 follows too",
                 "[Guard]\nRate=2\nAARate=0\n",
                 "[Guard]\nRate=2\nAARate=2\n",
                 {}},
        DiffCase{"a following rate written as 0 follows its rate's change",
                 "[Guard]\nRate=2\nAARate=0\n",
                 "[Guard]\nRate=3\nAARate=0\n",
                 {"[Guard] Rate: 2 -> 3", "[Guard] AARate: 0 (the same as Rate: 2) -> 0 (the same as Rate: 3)"}},
        DiffCase{"a terrain without its section is impassable",
                 "[Clear]\nFoot=100%\nTrack=1\nWheel=1\nFloat=0\n",
                 "",
                 {"[Clear] Foot: 100% -> absent (0: no [Clear] section)",
                  "[Clear] Track: 1 -> absent (0: no [Clear] section)",
                  "[Clear] Wheel: 1 -> absent (0: no [Clear] section)"}},
        DiffCase{"a present crate list turns the others off",
                 "[Powerups]\nMoney=50,none\nUnit=20,none\n",
                 "[Powerups]\nMoney=50,NONE,0\n",
                 {"[Powerups] Unit: 20,none -> absent (0,NONE: not listed in [Powerups])"}}));

using cli::Cli;
using cli::CliRun;

class DiffCommand : public testing::Test {
protected:
    std::string Write(const std::string& name, const std::string& bytes) {
        const std::string path = m_dir.File(name);
        EXPECT_EQ(platform::ReplaceFileAtomically(path, bytes), 0);
        return path;
    }
    test::TempDir m_dir;
};

TEST_F(DiffCommand, PrintsTheKeysAndASummary) {
    const std::string a = Write("a.ini", "[General]\nBuildSpeed=.8\n[E1]\nCost=100\n[1TNK]\nCost=700\n");
    const std::string b = Write("b.ini", "[General]\nBuildSpeed=.8\n[E1]\nCost=150\n[1TNK]\nCost=750\nSight=5\n");
    const CliRun run = Cli({"diff", a, b});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out,
              "[1TNK] Sight: absent (0) -> 5\n"
              "[1TNK] Cost: 700 -> 750\n"
              "[E1] Cost: 100 -> 150\n\n"
              "3 keys play differently: unit 2, infantry 1\n"
              "fingerprint A: 7DDAB0F7  " +
                  a +
                  "\n"
                  "fingerprint B: C30907E9  " +
                  b + "\n");
}

TEST_F(DiffCommand, WarnsWhenOnlyTheFingerprintsDiffer) {
    const std::string a = Write("a.ini", "[General]\nBuildSpeed=.8\nCurleyShuffle=yes\n");
    const std::string b = Write("b.ini", "[General]\nCurleyShuffle=yes\nBuildSpeed=.8\n");
    const CliRun run = Cli({"diff", a, b});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out.rfind("The game plays both files the same.\n", 0), 0u) << run.out;
    EXPECT_NE(run.out.find("The fingerprints differ although the game plays both files the same"), std::string::npos);
    const CliRun same = Cli({"diff", a, a});
    EXPECT_EQ(same.code, 0);
    EXPECT_EQ(same.out.find("fingerprints differ"), std::string::npos);
}

TEST_F(DiffCommand, TextListsTheLinesThatChangeNothing) {
    const std::string a = Write("a.ini", "[General]\nBuildSpeed=.8\nConditionRed=25%\n[E1]\nCost=100\n");
    const std::string b = Write("b.ini",
                                "; new note\n[General]\nBuildSpeed=.8 ; faster\nConditionRed=.25\nbuildspeed=3\n"
                                "[E1]\nCost=200\nCost=200\nSomething=1\n");
    const CliRun run = Cli({"diff", "--text", a, b});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out.substr(0, run.out.find("\n\n") + 1),
              "[E1] Cost: 100 -> 200\n"
              "same play, A:2: BuildSpeed=.8  (written differently, read the same)\n"
              "same play, A:3: ConditionRed=25%  (written differently, read the same)\n"
              "same play, B:1: ; new note  (a note)\n"
              "same play, B:3: BuildSpeed=.8 ; faster  (written differently, read the same)\n"
              "same play, B:4: ConditionRed=.25  (written differently, read the same)\n"
              "same play, B:5: buildspeed=3  (a letter case the game does not read)\n"
              "same play, B:9: Something=1  (a key the game does not read)\n");
}

TEST_F(DiffCommand, CsvQuotesWhatNeedsIt) {
    const std::string a = Write("a.ini", "[E1]\nPrerequisite=barr,tent\n");
    const std::string b = Write("b.ini", "[E1]\nPrerequisite=tent\n");
    const CliRun run = Cli({"diff", a, b, "--csv"});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out,
              "change,section,key,a,b,note\n"
              "plays,E1,Prerequisite,\"barr,tent\",tent,\n"
              "fingerprint,,,30F187F2,D8EFF958,\n");
}

TEST_F(DiffCommand, ExitCodes) {
    const std::string a = Write("a.ini", "[E1]\nCost=100\n");
    EXPECT_EQ(Cli({"diff", a, m_dir.File("missing.ini")}).code, 2);
    EXPECT_EQ(Cli({"diff", m_dir.File("missing.ini"), a}).code, 2);
    EXPECT_EQ(Cli({"diff", a, m_dir.File("")}).code, 2);  // a folder
    EXPECT_EQ(Cli({"diff", a}).code, cli::kExitUsage);
    EXPECT_EQ(Cli({"diff", a, a, "--colour"}).code, cli::kExitUsage);
}

}  // namespace
}  // namespace morvane::compare
