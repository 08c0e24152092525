// `resolve`, and the layer options of `check` and `effective`, on the project's layer fixtures:
// a rules file, AFTRMATH.INI, MPLAYER.INI and a map with its own map sections.
#include <gtest/gtest.h>

#include <sstream>

#include "CliRun.h"
#include "SystemOnly.h"
#include "TempDir.h"
#include "cli/CliCommand.h"
#include "platform/FileAccess.h"

namespace morvane::cli {
namespace {

// The fixtures copied into a fresh folder, each under the name given.
class LayerFolder {
public:
    LayerFolder(const std::string& rules = "RULES.INI", const std::string& aftermath = "AFTRMATH.INI",
                const std::string& mplayer = "MPLAYER.INI") {
        Copy("RULES.INI", rules);
        if (!aftermath.empty()) Copy("AFTRMATH.INI", aftermath);
        if (!mplayer.empty()) Copy("MPLAYER.INI", mplayer);
        Copy("harbour.mpr", "harbour.mpr");
        m_rules = m_dir.File(rules);
    }
    std::string File(const std::string& name) const { return m_dir.File(name); }
    const std::string& Rules() const { return m_rules; }

private:
    void Copy(const std::string& fixture, const std::string& name) {
        const auto bytes = platform::ReadFileBytes(std::string(MORVANE_LAYER_FIXTURES) + "/" + fixture);
        ASSERT_TRUE(bytes) << fixture;
        ASSERT_EQ(platform::ReplaceFileAtomically(m_dir.File(name), *bytes), 0);
    }
    test::TempDir m_dir;
    std::string m_rules;
};

TEST(ResolveCommand, OneLinePerLayerThenWhatThePlays) {
    const LayerFolder folder;
    const std::string rules = folder.Rules(), aftermath = folder.File("AFTRMATH.INI");
    const std::string scenario = folder.File("harbour.mpr"), mplayer = folder.File("MPLAYER.INI");

    CliRun run = Cli({"resolve", rules, "General", "GemValue"});
    EXPECT_EQ(run.code, kExitOk) << run.err;
    EXPECT_EQ(run.out,
              "built-in\t-\t110\n"
              "rules\t" +
                  rules +
                  ":5\t100\n"
                  "aftermath\t" +
                  aftermath +
                  ":4\t110\n"
                  "scenario\t-\t-\n"
                  "forced\t-\t-\n"
                  "mplayer\t-\t-\n"
                  "plays\tint\t110\taftermath\n");

    run = Cli({"resolve", "--mode", "skirmish", "--scenario", scenario, rules, "General", "GemValue"});
    EXPECT_EQ(run.out,
              "built-in\t-\t110\n"
              "rules\t" +
                  rules +
                  ":5\t100\n"
                  "aftermath\t" +
                  aftermath +
                  ":4\t110\n"
                  "scenario\t" +
                  scenario +
                  ":20\t150\n"
                  "forced\t-\t-\n"
                  "mplayer\t" +
                  mplayer +
                  ":4\t200\n"
                  "plays\tint\t200\tmplayer\n");

    // A partial [Powerups]: the crate it leaves out is reset at its header.
    run = Cli({"resolve", "--scenario", scenario, rules, "Powerups", "Squad"});
    EXPECT_EQ(run.out,
              "built-in\t-\t20,none,0\n"
              "rules\t" +
                  rules +
                  ":26\t20,NONE\n"
                  "aftermath\t-\t-\n"
                  "scenario\t" +
                  scenario +
                  ":27\t0,NONE\n"
                  "forced\t-\t-\n"
                  "mplayer\t-\t-\n"
                  "plays\tpowerup\t0,none,0\tscenario\n");
}

struct PlaysCase {
    std::vector<std::string> options;  // "MAP" and "MPLAYER" stand for the fixtures' paths
    const char* section;
    const char* key;
    const char* plays;  // the last line without "plays\t"
};

TEST(ResolveCommand, TheLayerOptionsChooseTheGame) {
    const LayerFolder folder;
    const std::vector<PlaysCase> cases = {
        {{}, "France", "ROF", "fixed\t1.000000\trules"},
        {{"--mode", "skirmish"}, "France", "ROF", "fixed\t0.899994\tforced"},
        {{"--mode", "multiplayer"}, "France", "ROF", "fixed\t0.899994\tforced"},
        {{"--mode", "skirmish"}, "England", "Armor", "fixed\t1.099991\tmplayer"},
        {{"--mode", "skirmish", "--no-mplayer"}, "England", "Armor", "fixed\t0.899994\tforced"},
        {{"--mode", "skirmish", "--no-aftermath"}, "England", "Armor", "fixed\t0.899994\tforced"},
        {{"--no-aftermath"}, "General", "GemValue", "int\t100\trules"},
        {{"--scenario", "MAP"}, "E1", "Cost", "int\t120\tscenario"},
        {{"--scenario", "MAP", "--mode", "skirmish"}, "E1", "Cost", "int\t110\tmplayer"},
        {{"--scenario", "MAP", "--mode", "skirmish", "--mplayer", "MAP"}, "E1", "Cost", "int\t120\tmplayer"},
        {{"--scenario", "MAP"}, "General", "OreGrows", "bool\tfalse\tscenario"},
        {{"--scenario", "MAP", "--mode", "skirmish"}, "General", "OreGrows", "bool\toption\tforced"},
        {{"--scenario", "MAP", "--mode", "skirmish"}, "MultiplayerDefaults", "Money", "int\t6000\taftermath"},
        {{"--scenario", "MAP"}, "Powerups", "Money", "powerup\t80,none,2000\tscenario"},
        {{"--scenario", "MAP"}, "HE", "Verses", "verses\t1.000000,1.000000,1.000000,1.000000,1.000000\tscenario"},
        {{}, "General", "Incoming", "speed\t0\taftermath"},
        {{"--no-aftermath"}, "general", "incoming", "speed\t25\trules"},
    };
    for (const PlaysCase& c : cases) {
        std::vector<std::string> args = {"resolve"};
        for (const std::string& option : c.options)
            args.push_back(option == "MAP" ? folder.File("harbour.mpr") : option);
        args.insert(args.end(), {folder.Rules(), c.section, c.key});
        const CliRun run = Cli(args);
        std::string options;
        for (const std::string& option : c.options) options += option + " ";
        EXPECT_EQ(run.code, kExitOk) << options << run.err;
        const std::size_t last = run.out.rfind("plays\t");
        ASSERT_NE(last, std::string::npos) << options;
        EXPECT_EQ(run.out.substr(last + 6), std::string(c.plays) + "\n") << options << c.section << " " << c.key;
    }
}

TEST(ResolveCommand, LayersBesideTheRulesFileInAnyLetterCase) {
    const LayerFolder folder("rules.ini", "aftrmath.ini", "Mplayer.Ini");
    const CliRun run = Cli({"resolve", "--mode", "multiplayer", folder.Rules(), "General", "GemValue"});
    // Elsewhere the folder is searched and the file named as it is spelled there; Windows opens
    // the name asked for in any letter case and the path keeps that spelling.
    const std::string aftermath = test::kWindows ? "AFTRMATH.INI" : "aftrmath.ini";
    const std::string mplayer = test::kWindows ? "MPLAYER.INI" : "Mplayer.Ini";
    EXPECT_NE(run.out.find("aftermath\t" + folder.File(aftermath) + ":4\t110\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("mplayer\t" + folder.File(mplayer) + ":4\t200\n"), std::string::npos) << run.out;

    const LayerFolder alone("RULES.INI", "", "");
    const CliRun bare = Cli({"resolve", "--mode", "skirmish", alone.Rules(), "General", "GemValue"});
    EXPECT_NE(bare.out.find("aftermath\t-\t-\n"), std::string::npos) << bare.out;
    EXPECT_NE(bare.out.find("plays\tint\t100\trules\n"), std::string::npos) << bare.out;
}

TEST(ResolveCommand, BadUsageUnreadKeysAndUnreadableFiles) {
    const LayerFolder folder;
    const std::string rules = folder.Rules();
    const std::vector<std::vector<std::string>> usage = {
        {"resolve", rules, "General"},
        {"resolve", "--mode", "siege", rules, "General", "GemValue"},
        {"resolve", rules, "General", "GemValue", "--mode"},
        {"resolve", "--aftermath", "a.ini", "--no-aftermath", rules, "General", "GemValue"},
        {"resolve", "--mplayer", "a.ini", "--mplayer", "b.ini", rules, "General", "GemValue"},
        {"resolve", "--turbo", rules, "General", "GemValue"},
        {"check", "--scenario", folder.File("harbour.mpr")},
        {"effective", "--no-mplayer", rules, "E1"},
    };
    for (const auto& args : usage) {
        const CliRun run = Cli(args);
        EXPECT_EQ(run.code, kExitUsage) << args[1];
        EXPECT_NE(run.err.find("usage: morvane-cli " + args[0]), std::string::npos) << run.err;
    }
    for (const auto& [section, key] : {std::pair{"E1", "Reload"}, {"Easy", "FirePower"}, {"Map", "Width"}}) {
        const CliRun run = Cli({"resolve", rules, section, key});
        EXPECT_EQ(run.code, kExitNotFound) << section;
        EXPECT_NE(run.err.find("never reads"), std::string::npos);
    }
    const CliRun missing = Cli({"resolve", "--scenario", folder.File("none.mpr"), rules, "E1", "Cost"});
    EXPECT_EQ(missing.code, 2);
    EXPECT_NE(missing.err.find("cannot read " + folder.File("none.mpr")), std::string::npos);
    EXPECT_EQ(Cli({"resolve", "--help"}).code, kExitOk);
}

TEST(EffectiveCommand, PrintsWhatTheGamePlaysOverTheLayers) {
    const LayerFolder folder;
    EXPECT_EQ(Cli({"effective", folder.Rules(), "1TNK", "Cost"}).out, "int\t750\n");
    EXPECT_EQ(Cli({"effective", "--no-aftermath", folder.Rules(), "1TNK", "Cost"}).out, "int\t700\n");
    EXPECT_EQ(
        Cli({"effective", "--scenario", folder.File("harbour.mpr"), "--mode", "skirmish", folder.Rules(), "E1", "Cost"})
            .out,
        "int\t110\n");
}

TEST(CheckCommand, FindingsAcrossTheLayersAtTheLinesTheyName) {
    const LayerFolder folder;
    const std::string rules = folder.Rules(), aftermath = folder.File("AFTRMATH.INI");
    const std::string scenario = folder.File("harbour.mpr"), mplayer = folder.File("MPLAYER.INI");

    CliRun run = Cli({"check", rules});
    EXPECT_EQ(run.code, kExitOk);
    EXPECT_EQ(
        run.out.rfind(rules + ":5: note: [General] GemValue: Overridden: AFTRMATH.INI line 4 sets GemValue=110", 0), 0u)
        << run.out;
    EXPECT_EQ(run.out.find(mplayer), std::string::npos) << "MPLAYER.INI is no layer of a campaign";

    run = Cli({"check", "--mode", "skirmish", "--scenario", scenario, rules});
    EXPECT_EQ(run.code, kExitNotFound);
    for (const std::string& line : {
             rules + ":49: note: [France] ROF: Overridden in skirmish and multiplayer games",
             scenario + ":20: warning: [General] GemValue: MPLAYER.INI is read after the map",
             scenario + ":25: warning: [MultiplayerDefaults] Money: The game reads [MultiplayerDefaults] only from",
             scenario + ":27: warning: [Powerups]: [Powerups] lists 3 of the 18 crates",
             scenario + ":34: note: [E1] Sight: Neither RULES.INI nor AFTRMATH.INI sets Sight in [E1]",
             mplayer + ":10: warning: [Maximums] Players: The game reads [Maximums] only from",
         })
        EXPECT_NE(run.out.find("\n" + line), std::string::npos) << line << "\n" << run.out;
    // The layers in order, bottom up; nothing about the map's own sections.
    EXPECT_LT(run.out.find(rules + ":"), run.out.find(aftermath + ":"));
    EXPECT_LT(run.out.find(aftermath + ":"), run.out.find(scenario + ":"));
    EXPECT_LT(run.out.find(scenario + ":"), run.out.find(mplayer + ":"));
    EXPECT_EQ(run.out.find("[Basic]"), std::string::npos);
    EXPECT_EQ(run.out.find("Credits"), std::string::npos);
}

}  // namespace
}  // namespace morvane::cli
