// `morvane-cli diff` with layer options: two games compared, each rules file with the files the
// game reads on top of it.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "CliRun.h"
#include "TempDir.h"
#include "cli/CliCommand.h"
#include "platform/FileAccess.h"

namespace morvane::cli {
namespace {

// Files by name; "A/..." and "B/..." sit in the two games' folders, others in a shared one.
using Files = std::map<std::string, std::string>;

struct LayeredCase {
    const char* name;
    Files files;                       // A/rules.ini and B/rules.ini are the two rules files
    std::vector<std::string> options;  // "{S}" stands for the shared folder
    int exit;
    std::vector<std::string> keys;  // the key lines; "{A}", "{B}", "{S}" stand for the folders
};

void PrintTo(const LayeredCase& c, std::ostream* out) { *out << c.name; }

class LayeredFolders {
public:
    explicit LayeredFolders(const Files& files) {
        for (const auto& [name, bytes] : files)
            EXPECT_EQ(platform::ReplaceFileAtomically(Path(name), bytes), 0) << name;
    }
    std::string Path(const std::string& name) const {
        if (name.rfind("A/", 0) == 0) return m_a.File(name.substr(2));
        if (name.rfind("B/", 0) == 0) return m_b.File(name.substr(2));
        return m_shared.File(name);
    }
    std::string Expand(std::string text) const {
        for (const auto& [mark, folder] : {std::pair{"{A}", &m_a}, {"{B}", &m_b}, {"{S}", &m_shared}})
            for (std::size_t at = text.find(mark); at != std::string::npos; at = text.find(mark))
                text.replace(at, 3, folder->File(""));
        return text;
    }

private:
    test::TempDir m_a, m_b, m_shared;
};

// The key lines of diff's output: the lines before the first blank line, when keys differ.
std::vector<std::string> KeyLinesOf(const std::string& out) {
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line) && !line.empty();) lines.push_back(line);
    if (!lines.empty() && lines.front() == "The game plays both files the same.") lines.clear();
    return lines;
}

class LayeredDiff : public testing::TestWithParam<LayeredCase> {};

TEST_P(LayeredDiff, ComparesWhatBothGamesPlay) {
    const LayeredCase& c = GetParam();
    const LayeredFolders folders(c.files);
    std::vector<std::string> args{"diff"};
    for (const std::string& option : c.options) args.push_back(folders.Expand(option));
    args.push_back(folders.Path("A/rules.ini"));
    args.push_back(folders.Path("B/rules.ini"));
    const CliRun run = Cli(args);
    EXPECT_EQ(run.code, c.exit) << run.out << run.err;
    std::vector<std::string> expected;
    for (const std::string& line : c.keys) expected.push_back(folders.Expand(line));
    EXPECT_EQ(KeyLinesOf(run.out), expected) << run.out;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LayeredDiff,
    testing::Values(
        LayeredCase{"without layer options the files beside are not read",
                    {{"A/rules.ini", "[1TNK]\nCost=900\n"},
                     {"B/rules.ini", "[1TNK]\nCost=750\n"},
                     {"B/AFTRMATH.INI", "[1TNK]\nCost=900\n"}},
                    {},
                    1,
                    {"[1TNK] Cost: 900 -> 750"}},
        LayeredCase{"an AFTRMATH.INI beside B gives what A's rules file changes",
                    {{"A/rules.ini", "[1TNK]\nCost=900\n"},
                     {"B/rules.ini", "[1TNK]\nCost=750\n"},
                     {"B/aftrmath.ini", "[1TNK]\nCost=900\n"}},
                    {"--mode", "campaign"},
                    0,
                    {}},
        LayeredCase{"each side's AFTRMATH.INI, named with its file and line",
                    {{"A/rules.ini", "[1TNK]\nCost=900\n"},
                     {"B/rules.ini", "[1TNK]\nCost=900\n"},
                     {"B/AFTRMATH.INI", "; B's\n[1TNK]\nCost=750\n"}},
                    {"--mode", "skirmish"},
                    1,
                    {"[1TNK] Cost: 900 -> 750 (aftermath {B}AFTRMATH.INI:3)"}},
        LayeredCase{"--no-aftermath leaves both out",
                    {{"A/rules.ini", "[1TNK]\nCost=900\n"},
                     {"B/rules.ini", "[1TNK]\nCost=750\n"},
                     {"B/AFTRMATH.INI", "[1TNK]\nCost=900\n"}},
                    {"--no-aftermath"},
                    1,
                    {"[1TNK] Cost: 900 -> 750"}},
        LayeredCase{"--aftermath gives both the same file",
                    {{"A/rules.ini", "[1TNK]\nCost=900\n"},
                     {"B/rules.ini", "[1TNK]\nCost=750\n"},
                     {"A/AFTRMATH.INI", "[1TNK]\nCost=1\n"},
                     {"am.ini", "[1TNK]\nCost=600\n"}},
                    {"--aftermath", "{S}am.ini"},
                    0,
                    {}},
        LayeredCase{"the forced values decide outside campaigns",
                    {{"A/rules.ini", "[England]\nArmor=1.0\n[France]\nROF=.8\n"},
                     {"B/rules.ini", "[England]\nArmor=.8\n[France]\nROF=1.0\n"}},
                    {"--mode", "skirmish"},
                    0,
                    {}},
        LayeredCase{"the forced values are not in campaigns",
                    {{"A/rules.ini", "[England]\nArmor=1.0\n"}, {"B/rules.ini", "[England]\nArmor=.8\n"}},
                    {"--mode", "campaign"},
                    1,
                    {"[England] Armor: 1.0 -> .8"}},
        LayeredCase{"MPLAYER.INI counts only outside campaigns",
                    {{"A/rules.ini", "[E1]\nCost=100\n"},
                     {"B/rules.ini", "[E1]\nCost=100\n"},
                     {"B/MPLAYER.INI", "[E1]\nCost=110\n"}},
                    {"--mode", "multiplayer"},
                    1,
                    {"[E1] Cost: 100 -> 110 (mplayer {B}MPLAYER.INI:2)"}},
        LayeredCase{"a scenario on top of both",
                    {{"A/rules.ini", "[General]\nGemValue=100\n[MultiplayerDefaults]\nMoney=5000\n"},
                     {"B/rules.ini", "[General]\nGemValue=120\n[MultiplayerDefaults]\nMoney=6000\n"},
                     {"map.mpr",
                      "[Basic]\nName=Test\n[General]\nGemValue=150\n[MultiplayerDefaults]\nMoney=1\n"
                      "[Powerups]\nMoney=80,NONE\n"}},
                    // The scenario never gives MultiplayerDefaults; its partial crate list turns
                    // the others off on both sides alike.
                    {"--scenario", "{S}map.mpr"},
                    1,
                    {"[MultiplayerDefaults] Money: 5000 -> 6000"}},
        LayeredCase{"a reset by a later layer is named",
                    {{"A/rules.ini", "[Powerups]\nUnit=20,NONE\n"},
                     {"B/rules.ini", "[Powerups]\nUnit=20,NONE\n"},
                     {"B/AFTRMATH.INI", "[Powerups]\nMoney=50,NONE\n"}},
                    {"--mode", "campaign"},
                    1,
                    {"[Powerups] Money: absent (0,NONE: not listed in [Powerups]) -> 50,NONE (aftermath "
                     "{B}AFTRMATH.INI:2)",
                     "[Powerups] Unit: 20,NONE -> 0,NONE (aftermath {B}AFTRMATH.INI:1: [Powerups] without the key)"}},
        LayeredCase{"a rate follows the rate it follows over the layers",
                    {{"A/rules.ini", "[Guard]\nRate=.1\nAARate=.1\n"},
                     {"B/rules.ini", "[Guard]\nRate=.1\nAARate=.5\n"},
                     {"B/AFTRMATH.INI", "[Guard]\nRate=.1\n"}},
                    {"--mode", "campaign"},
                    0,
                    {}},
        LayeredCase{"a rate written as 0 in a later layer follows the rate",
                    {{"A/rules.ini", "[Guard]\nRate=.1\nAARate=.1\n"},
                     {"B/rules.ini", "[Guard]\nRate=.1\nAARate=.5\n"},
                     {"B/AFTRMATH.INI", "[Guard]\nAARate=0\n"}},
                    {"--mode", "campaign"},
                    0,
                    {}}));

class LayeredDiffCommand : public testing::Test {
protected:
    LayeredFolders m_folders{{{"A/rules.ini", "[E1]\nCost=100\n"},
                              {"B/rules.ini", "[E1]\nCost=100\n"},
                              {"B/MPLAYER.INI", "[E1]\nCost=110\n"},
                              {"A/AFTRMATH.INI", "[General]\nGemValue=120\n"}}};
    std::string m_a = m_folders.Path("A/rules.ini"), m_b = m_folders.Path("B/rules.ini");
};

TEST_F(LayeredDiffCommand, SummaryNamesBothGames) {
    const CliRun run = Cli({"diff", "--mode", "skirmish", m_a, m_b});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out,
              m_folders.Expand("[General] GemValue: 120 (aftermath {A}AFTRMATH.INI:2) -> absent (110)\n"
                               "[E1] Cost: 100 -> 110 (mplayer {B}MPLAYER.INI:2)\n\n"
                               "2 keys play differently: General 1, infantry 1\n"
                               "game A: skirmish: rules {A}rules.ini, aftermath {A}AFTRMATH.INI, forced values\n"
                               "game B: skirmish: rules {B}rules.ini, forced values, mplayer {B}MPLAYER.INI\n"
                               "fingerprint A: DE2578AC  {A}rules.ini\n"
                               "fingerprint B: DE2578AC  {B}rules.ini\n"
                               "The fingerprints are the same although the two games play differently: the "
                               "game compares\nonly the rules files between players and would not notice.\n"));
}

TEST_F(LayeredDiffCommand, CsvWithLayers) {
    const CliRun run = Cli({"diff", "--csv", "--mode", "skirmish", m_a, m_b});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out, m_folders.Expand("change,section,key,a,b,note\n"
                                        "plays,General,GemValue,120 (aftermath {A}AFTRMATH.INI:2),absent (110),\n"
                                        "plays,E1,Cost,100,110 (mplayer {B}MPLAYER.INI:2),\n"
                                        "fingerprint,,,DE2578AC,DE2578AC,\n"
                                        "layer,,rules,{A}rules.ini,{B}rules.ini,skirmish\n"
                                        "layer,,aftermath,{A}AFTRMATH.INI,,skirmish\n"
                                        "layer,,forced,forced values,forced values,skirmish\n"
                                        "layer,,mplayer,,{B}MPLAYER.INI,skirmish\n"));
    // Without Aftermath the game reads no MPLAYER.INI either: both play the rules files alone.
    const CliRun off = Cli({"diff", "--csv", "--mode", "skirmish", "--no-aftermath", m_a, m_b});
    EXPECT_EQ(off.code, 0) << off.out;
}

TEST_F(LayeredDiffCommand, UsageAndUnreadableLayers) {
    EXPECT_EQ(Cli({"diff", "--text", "--mode", "skirmish", m_a, m_b}).code, kExitUsage);
    EXPECT_EQ(Cli({"diff", "--mode", "arcade", m_a, m_b}).code, kExitUsage);
    EXPECT_EQ(Cli({"diff", "--mode", "skirmish", m_a}).code, kExitUsage);
    EXPECT_EQ(Cli({"diff", "--colour", "--mode", "skirmish", m_a, m_b}).code, kExitUsage);
    const CliRun missing = Cli({"diff", "--aftermath", m_folders.Path("none.ini"), m_a, m_b});
    EXPECT_EQ(missing.code, kExitUnreadable);
    EXPECT_NE(missing.err.find("none.ini"), std::string::npos) << missing.err;
    EXPECT_EQ(Cli({"diff", "--no-mplayer", m_a, m_folders.Path("B/none.ini")}).code, kExitUnreadable);
}

}  // namespace
}  // namespace morvane::cli
