// The game's layers of files: which one decides each value, and the findings across them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gameview/GameLayers.h"

namespace morvane::gameview {
namespace {

// A stack built from small texts, one a layer; an empty text leaves the layer out.
struct Files {
    Files(std::string r, std::string a = "", std::string s = "", std::string m = "")
        : rules(std::move(r)), aftermath(std::move(a)), scenario(std::move(s)), mplayer(std::move(m)) {}
    std::string rules;
    std::string aftermath;
    std::string scenario;
    std::string mplayer;
};

LayerStack Stack(const Files& files, GameMode mode = GameMode::Campaign) {
    LayerStack stack;
    stack.SetMode(mode);
    stack.SetFile(Layer::Rules, "RULES.INI", files.rules);
    if (!files.aftermath.empty()) stack.SetFile(Layer::Aftermath, "AFTRMATH.INI", files.aftermath);
    if (!files.scenario.empty()) stack.SetFile(Layer::Scenario, "map.mpr", files.scenario);
    if (!files.mplayer.empty()) stack.SetFile(Layer::Mplayer, "MPLAYER.INI", files.mplayer);
    return stack;
}

// What the game plays, as "KIND VALUE LAYER".
std::string Plays(const LayerStack& stack, const char* section, const char* key) {
    const auto resolution = stack.Resolve(section, key);
    if (!resolution) return "never read";
    return resolution->plays.kind + " " + resolution->plays.value + " " + LayerWord(resolution->winner);
}

struct PlaysCase {
    const char* what;
    Files files;
    GameMode mode;
    const char* section;
    const char* key;
    const char* plays;
};

void PrintTo(const PlaysCase& c, std::ostream* out) { *out << c.what; }

class LayerPlays : public testing::TestWithParam<PlaysCase> {};

TEST_P(LayerPlays, TheRightLayerDecides) {
    const PlaysCase& c = GetParam();
    EXPECT_EQ(Plays(Stack(c.files, c.mode), c.section, c.key), c.plays);
}

constexpr GameMode kCampaign = GameMode::Campaign;
constexpr GameMode kSkirmish = GameMode::Skirmish;
constexpr GameMode kMultiplayer = GameMode::Multiplayer;

INSTANTIATE_TEST_SUITE_P(
    Rules, LayerPlays,
    testing::Values(
        // A later file changes only what it names.
        PlaysCase{
            "later file wins", {"[E1]\nCost=100\n", "[E1]\nCost=120\n"}, kCampaign, "E1", "Cost", "int 120 aftermath"},
        PlaysCase{"later file without the key",
                  {"[E1]\nCost=100\n", "[E1]\nSpeed=5\n"},
                  kCampaign,
                  "E1",
                  "Cost",
                  "int 100 rules"},
        PlaysCase{"no file sets it", {"[E1]\nSpeed=5\n"}, kCampaign, "E1", "Cost", "int absent built-in"},
        PlaysCase{"an empty value is absent",
                  {"[E1]\nCost=100\n", "[E1]\nCost=\nSpeed=5\n"},
                  kCampaign,
                  "E1",
                  "Cost",
                  "int 100 rules"},
        PlaysCase{
            "names match exactly", {"[E1]\nCost=100\n", "[e1]\ncost=120\n"}, kCampaign, "E1", "Cost", "int 100 rules"},
        PlaysCase{"the first section of a name with entries",
                  {"[E1]\nCost=100\n", "[E1]\n[E1]\nCost=130\n[E1]\nCost=140\n"},
                  kCampaign,
                  "E1",
                  "Cost",
                  "int 130 aftermath"},
        // A text the reader cannot use keeps the value below it.
        PlaysCase{"a bool of another letter keeps",
                  {"[General]\nOreGrows=no\n", "[General]\nOreGrows=off\n"},
                  kCampaign,
                  "General",
                  "OreGrows",
                  "bool false rules"},
        PlaysCase{"a bool of another letter over the built-in",
                  {"[General]\nOreGrows=on\n"},
                  kCampaign,
                  "General",
                  "OreGrows",
                  "bool default built-in"},
        PlaysCase{"an unknown warhead keeps",
                  {"[M1Carbine]\nWarhead=AP\n", "[M1Carbine]\nWarhead=None\n"},
                  kCampaign,
                  "M1Carbine",
                  "Warhead",
                  "name AP rules"},
        PlaysCase{"an unknown weapon is none",
                  {"[E1]\nPrimary=M1Carbine\n", "[E1]\nPrimary=Laser\n"},
                  kCampaign,
                  "E1",
                  "Primary",
                  "name none aftermath"},
        // Keys reset when a later file has their section.
        PlaysCase{"an unlisted crate is off",
                  {"[Powerups]\nSquad=20,NONE\n", "", "[Powerups]\nMoney=10,NONE\n"},
                  kCampaign,
                  "Powerups",
                  "Squad",
                  "powerup 0,none,0 scenario"},
        PlaysCase{"an unlisted crate keeps its data",
                  {"[Powerups]\nArmor=10,ARMOR,2.0\n", "[Powerups]\nMoney=1,NONE\n"},
                  kCampaign,
                  "Powerups",
                  "Armor",
                  "powerup 0,none,512 aftermath"},
        PlaysCase{"a crate of two fields keeps its data",
                  {"[Powerups]\nMoney=50,NONE,2000\n", "", "[Powerups]\nMoney=80,NONE\n"},
                  kCampaign,
                  "Powerups",
                  "Money",
                  "powerup 80,none,2000 scenario"},
        PlaysCase{"a partial rules [Powerups] turns the built-in crates off",
                  {"[Powerups]\nMoney=50,NONE\n"},
                  kCampaign,
                  "Powerups",
                  "Squad",
                  "powerup 0,none,0 rules"},
        PlaysCase{"no [Powerups] anywhere",
                  {"[General]\nGemValue=1\n"},
                  kCampaign,
                  "Powerups",
                  "Squad",
                  "powerup absent built-in"},
        PlaysCase{"land keys reset",
                  {"[Clear]\nFoot=50%\n", "[Clear]\nTrack=60%\n"},
                  kCampaign,
                  "Clear",
                  "Foot",
                  "fixed 1.000000 aftermath"},
        PlaysCase{"land buildable resets",
                  {"[Clear]\nBuildable=yes\n", "", "[Clear]\nFoot=1\n"},
                  kCampaign,
                  "Clear",
                  "Buildable",
                  "bool false scenario"},
        PlaysCase{"Verses reset",
                  {"[HE]\nVerses=90%,75%,60%,25%,100%\n", "[HE]\nSpread=3\n"},
                  kCampaign,
                  "HE",
                  "Verses",
                  "verses 1.000000,1.000000,1.000000,1.000000,1.000000 aftermath"},
        PlaysCase{"other warhead keys do not reset",
                  {"[HE]\nSpread=6\n", "[HE]\nVerses=100%,100%,100%,100%,100%\n"},
                  kCampaign,
                  "HE",
                  "Spread",
                  "int 6 rules"},
        PlaysCase{"AARate resets",
                  {"[Guard]\nRate=1\nAARate=.5\n", "", "[Guard]\nRate=2\n"},
                  kCampaign,
                  "Guard",
                  "AARate",
                  "fixed 0.000000 scenario"},
        PlaysCase{"Incoming resets",
                  {"[General]\nIncoming=10\n", "[General]\nGemValue=2\n"},
                  kCampaign,
                  "General",
                  "Incoming",
                  "speed 0 aftermath"},
        PlaysCase{"NewUnitsEnabled resets",
                  {"[Aftermath]\nNewUnitsEnabled=1\n", "", "[Aftermath]\nMTankDistance=3\n"},
                  kCampaign,
                  "Aftermath",
                  "NewUnitsEnabled",
                  "int 0 scenario"},
        PlaysCase{"a section without entries resets nothing",
                  {"[Clear]\nFoot=50%\n", "[Clear]\n; none\n"},
                  kCampaign,
                  "Clear",
                  "Foot",
                  "fixed 0.500000 rules"},
        // Reader sets: [MultiplayerDefaults] and [Maximums] only at program start.
        PlaysCase{"MultiplayerDefaults from AFTRMATH.INI",
                  {"[MultiplayerDefaults]\nMoney=5000\n", "[MultiplayerDefaults]\nMoney=6000\n"},
                  kCampaign,
                  "MultiplayerDefaults",
                  "Money",
                  "int 6000 aftermath"},
        PlaysCase{"MultiplayerDefaults not from a scenario",
                  {"[MultiplayerDefaults]\nMoney=5000\n", "", "[MultiplayerDefaults]\nMoney=9000\n"},
                  kSkirmish,
                  "MultiplayerDefaults",
                  "Money",
                  "int 5000 rules"},
        PlaysCase{"Maximums not from MPLAYER.INI",
                  {"[Maximums]\nPlayers=8\n", "", "", "[Maximums]\nPlayers=6\n"},
                  kMultiplayer,
                  "Maximums",
                  "Players",
                  "int 8 rules"},
        // Forced values and MPLAYER.INI only outside campaigns, in that order.
        PlaysCase{"no forced value in a campaign",
                  {"[France]\nROF=1.2\n"},
                  kCampaign,
                  "France",
                  "ROF",
                  "fixed 1.199997 rules"},
        PlaysCase{"France's forced rate of fire",
                  {"[France]\nROF=1.2\n", "[France]\nROF=1.3\n", "[France]\nROF=1.4\n"},
                  kSkirmish,
                  "France",
                  "ROF",
                  "fixed 0.899994 forced"},
        PlaysCase{"England's forced armour",
                  {"[England]\nArmor=1.2\n"},
                  kMultiplayer,
                  "England",
                  "Armor",
                  "fixed 0.899994 forced"},
        PlaysCase{"only England's armour is forced",
                  {"[England]\nROF=1.2\n"},
                  kSkirmish,
                  "England",
                  "ROF",
                  "fixed 1.199997 rules"},
        PlaysCase{"ore growth from the game's options",
                  {"[General]\nOreGrows=no\n", "", "[General]\nOreSpreads=no\n"},
                  kSkirmish,
                  "General",
                  "OreSpreads",
                  "bool option forced"},
        PlaysCase{"MPLAYER.INI after the forced values",
                  {"[England]\nArmor=1.2\n", "", "", "[England]\nArmor=1.1\n"},
                  kSkirmish,
                  "England",
                  "Armor",
                  "fixed 1.099991 mplayer"},
        PlaysCase{"MPLAYER.INI after the map",
                  {"[E1]\nCost=100\n", "", "[E1]\nCost=120\n", "[E1]\nCost=110\n"},
                  kSkirmish,
                  "E1",
                  "Cost",
                  "int 110 mplayer"},
        PlaysCase{"no MPLAYER.INI in a campaign",
                  {"[E1]\nCost=100\n", "", "[E1]\nCost=120\n", "[E1]\nCost=110\n"},
                  kCampaign,
                  "E1",
                  "Cost",
                  "int 120 scenario"},
        // Never read at all.
        PlaysCase{"difficulty sections", {"[Easy]\nFirePower=2\n"}, kCampaign, "Easy", "FirePower", "never read"},
        PlaysCase{"a key the game has not", {"[E1]\nReload=2\n"}, kCampaign, "E1", "Reload", "never read"}));

TEST(LayerStack, LayerRowsSayWhereEachValueComesFrom) {
    const LayerStack stack =
        Stack({"[General]\nGemValue=100\n[Clear]\nFoot=90%\n", "\n[General]\nGemValue=110\n", "[Clear]\nTrack=1\n"},
              GameMode::Campaign);
    const auto gem = stack.Resolve("General", "GemValue");
    ASSERT_TRUE(gem);
    EXPECT_EQ(gem->At(Layer::BuiltIn).text, "110");
    EXPECT_EQ(gem->At(Layer::Rules).file, "RULES.INI");
    EXPECT_EQ(gem->At(Layer::Rules).line, 2u);
    EXPECT_EQ(gem->At(Layer::Aftermath).line, 3u);
    EXPECT_EQ(gem->At(Layer::Scenario).action, LayerAction::None);
    EXPECT_EQ(gem->At(Layer::Forced).action, LayerAction::None);

    // The land table starts zero-filled; a reset points at the section's header.
    const auto foot = stack.Resolve("Clear", "Foot");
    ASSERT_TRUE(foot);
    EXPECT_EQ(foot->At(Layer::BuiltIn).text, "0");
    EXPECT_EQ(foot->At(Layer::Scenario).action, LayerAction::Resets);
    EXPECT_EQ(foot->At(Layer::Scenario).line, 1u);
    EXPECT_EQ(foot->At(Layer::Scenario).text, "1");
}

TEST(LayerStack, WithoutAftermathNeitherAftermathNorMplayerCount) {
    LayerStack stack = Stack({"[E1]\nCost=100\n", "[E1]\nCost=120\n", "", "[E1]\nCost=110\n"}, GameMode::Skirmish);
    EXPECT_EQ(Plays(stack, "E1", "Cost"), "int 110 mplayer");
    stack.SetAftermath(false);
    EXPECT_FALSE(stack.InPlay(Layer::Aftermath));
    EXPECT_FALSE(stack.InPlay(Layer::Mplayer));
    EXPECT_EQ(Plays(stack, "E1", "Cost"), "int 100 rules");
}

// The findings across layers, as "layer:line:level:start of the message".
std::vector<std::string> Findings(const LayerStack& stack, bool all = false) {
    std::vector<std::string> lines;
    for (const LayerFinding& found : all ? stack.CheckAll() : stack.CheckLayers())
        lines.push_back(std::string(LayerWord(found.layer)) + ":" + std::to_string(found.finding.line) + ":" +
                        LevelWord(found.finding.level) + ":" + found.finding.message);
    return lines;
}

bool Has(const std::vector<std::string>& findings, const std::string& start) {
    for (const std::string& finding : findings)
        if (finding.rfind(start, 0) == 0) return true;
    return false;
}

std::string Joined(const std::vector<std::string>& findings) {
    std::string text;
    for (const std::string& finding : findings) text += finding + "\n";
    return text;
}

TEST(LayerCheck, OverriddenValuesNameTheWinner) {
    const auto findings = Findings(
        Stack({"[E1]\nCost=100\nCrushable=no\n[France]\nROF=1.1\n", "[E1]\nCost=120\n", "[E1]\nCrushable=maybe\n"},
              GameMode::Skirmish));
    EXPECT_TRUE(Has(findings, "rules:2:note:Overridden: AFTRMATH.INI line 2 sets Cost=120")) << Joined(findings);
    EXPECT_TRUE(Has(findings, "rules:5:note:Overridden in skirmish and multiplayer games")) << Joined(findings);
    const auto overridden = Stack({"[E1]\nCost=100\n", "[E1]\nCost=120\n"}).CheckLayers();
    ASSERT_EQ(overridden.size(), 1u);
    EXPECT_EQ(overridden[0].overriddenBy, Layer::Aftermath);
    // A text that keeps the earlier value overrides nothing.
    EXPECT_FALSE(Has(findings, "rules:3:")) << Joined(findings);
}

TEST(LayerCheck, KeysALayerNeverReads) {
    const auto findings = Findings(Stack({"[General]\nGemValue=1\n", "[MultiplayerDefaults]\nMoney=1\n",
                                          "[MultiplayerDefaults]\nMoney=2\n", "[Maximums]\nPlayers=6\n"},
                                         GameMode::Multiplayer));
    EXPECT_FALSE(Has(findings, "aftermath:")) << Joined(findings);
    EXPECT_TRUE(Has(findings, "scenario:2:warning:The game reads [MultiplayerDefaults] only from")) << Joined(findings);
    EXPECT_TRUE(Has(findings, "mplayer:2:warning:The game reads [Maximums] only from")) << Joined(findings);
}

TEST(LayerCheck, PartialPowerupsListTheCratesTurnedOff) {
    std::string all = "[Powerups]\n";
    for (const GameKey& crate : GameKeys::BuiltIn().Kind("Powerups")->keys) all += crate.name + "=5,NONE\n";
    // Crates already off below the layer are not turned off by it.
    const auto findings = Findings(
        Stack({all, "", "[Powerups]\nMoney=10,NONE\nUnit=10,NONE\n", "[Powerups]\nMoney=10,NONE\nSquad=3,NONE\n"},
              GameMode::Skirmish));
    ASSERT_TRUE(Has(findings, "scenario:1:warning:[Powerups] lists 2 of the 18 crates")) << Joined(findings);
    EXPECT_TRUE(Has(findings,
                    "mplayer:1:warning:[Powerups] lists 2 of the 18 crates, and the game turns off every "
                    "crate it does not list: Unit. "))
        << Joined(findings);
    EXPECT_FALSE(Has(findings, "rules:1:warning")) << Joined(findings);
}

TEST(LayerCheck, MapValuesOverriddenByMplayerOrKeptAfterwards) {
    const Files files{"[E1]\nCost=100\n[Powerups]\nMoney=1,NONE\n", "[General]\nGemValue=1\n",
                      "[E1]\nCost=120\nSight=3\n[General]\nGemValue=2\nGoldValue=3\n[Powerups]\nMoney=2,NONE\n",
                      "[E1]\nCost=110\n"};
    const auto skirmish = Findings(Stack(files, GameMode::Skirmish));
    EXPECT_TRUE(Has(skirmish, "scenario:2:warning:MPLAYER.INI is read after the map")) << Joined(skirmish);
    const auto campaign = Findings(Stack(files, GameMode::Campaign));
    EXPECT_FALSE(Has(campaign, "scenario:2:warning")) << Joined(campaign);
    // Kept into the missions that follow: only what neither file below names (a section that
    // resets the key names it too).
    for (const auto& findings : {skirmish, campaign}) {
        EXPECT_TRUE(Has(findings, "scenario:3:note:Neither RULES.INI nor AFTRMATH.INI sets Sight in [E1]"))
            << Joined(findings);
        EXPECT_TRUE(Has(findings, "scenario:6:note:Neither RULES.INI nor AFTRMATH.INI sets GoldValue"))
            << Joined(findings);
        EXPECT_FALSE(Has(findings, "scenario:2:note")) << Joined(findings);
        EXPECT_FALSE(Has(findings, "scenario:5:note")) << Joined(findings);
        EXPECT_FALSE(Has(findings, "scenario:8:note")) << Joined(findings);
    }
}

TEST(LayerCheck, AScenariosMapSectionsAreLeftAlone) {
    const auto findings = Findings(Stack({"[E1]\nCost=100\n", "",
                                          "[Basic]\nName=Harbour\n[Map]\nWidth=40\n[England]\nCredits=50\nArmor=1.1\n"
                                          "[E1]\nReload=3\n[general]\nGemValue=1\n"}),
                                   true);
    EXPECT_FALSE(Has(findings, "scenario:1:")) << Joined(findings);
    EXPECT_FALSE(Has(findings, "scenario:5:")) << Joined(findings);
    // What is a rules section, or meant as one, is checked as in any rules file.
    EXPECT_TRUE(Has(findings, "scenario:9:")) << Joined(findings);
    EXPECT_TRUE(Has(findings, "scenario:10:error:")) << Joined(findings);
}

}  // namespace
}  // namespace morvane::gameview
