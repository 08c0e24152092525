// The balance commands' output formats and their errors; the numbers themselves are held by
// CombatTest.
#include <gtest/gtest.h>

#include <sstream>

#include "TempDir.h"
#include "cli/CliCommand.h"
#include "platform/FileAccess.h"

namespace morvane::cli {
namespace {

constexpr const char* kRules =
    "[General]\nMinDamage=1\nMaxDamage=1000\n"
    "[90mm]\nDamage=25\nROF=50\nWarhead=AP\n"
    "[AP]\nVerses=30%,75%,75%,100%,50%\n"
    "[2TNK]\nPrimary=90mm\nStrength=400\nArmor=heavy\nCost=800\nOwner=allies\n"
    "[3TNK]\nPrimary=90mm\nSecondary=90mm\nStrength=400\nArmor=heavy\nCost=950\nName=Big \"Bertha\"\n";

class BalanceCli : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(platform::ReplaceFileAtomically(m_path, kRules), 0); }

    struct Run {
        int code;
        std::string out;
        std::string err;
    };
    Run Cli(std::vector<std::string> args) {
        for (std::string& arg : args)
            if (arg == "RULES")
                arg = m_path;
            else if (arg == "MISSING")
                arg = m_dir.File("missing.ini");
        std::ostringstream out, err;
        const int code = RunCli(args, out, err);
        return {code, out.str(), err.str()};
    }

    test::TempDir m_dir;
    std::string m_path = m_dir.File("rules.ini");
};

TEST_F(BalanceCli, DamagePrintsEveryArmour) {
    // 18 shots a minute (900 / 50); 25 x 30% = 7.4997 -> 7, x 75% = 18.75 -> 19, x 50% = 12.5 -> 13.
    const Run run = Cli({"damage", "RULES", "90mm"});
    EXPECT_EQ(run.code, kExitOk) << run.err;
    EXPECT_EQ(run.out, "none\t7\t126\nwood\t19\t342\nlight\t19\t342\nheavy\t25\t450\nconcrete\t13\t234\n");
}

TEST_F(BalanceCli, CombatNamesTheWeaponAndTheNumbers) {
    // A two-shooter: 16 hits, 15 waits of 3, 50, 3, ...: 374 ticks = 24.93 s; 1800 / 53 shots a minute.
    const Run run = Cli({"combat", "RULES", "3TNK", "2TNK"});
    EXPECT_EQ(run.code, kExitOk) << run.err;
    EXPECT_EQ(run.out.substr(0, run.out.find("attacker-cost")),
              "weapon: 90mm (Primary)\ndamage-per-hit: 25\nhits-to-kill: 16\nseconds-to-kill: 24.93\n"
              "shots-per-minute: 33.96\n");
    // 950 / 400; 950 x 24.9333; 800 / 400.
    EXPECT_NE(run.out.find("attacker-cost-per-strength: 2.38\n"), std::string::npos);
    EXPECT_NE(run.out.find("attacker-cost-seconds-to-kill: 23686.67\n"), std::string::npos);
    EXPECT_NE(run.out.find("target-cost-per-strength: 2\n"), std::string::npos);
    EXPECT_NE(run.out.find("\nleft-out: range, travel time, misses,"), std::string::npos);
}

TEST_F(BalanceCli, CombatTakesModeAndCountries) {
    // England's armour forced to 0.9: 25 -> 22, 19 hits, 18 x 50 ticks = 60 s.
    const Run run = Cli({"combat", "--mode", "skirmish", "--target-country", "england", "RULES", "2tnk", "2TNK"});
    EXPECT_EQ(run.code, kExitOk) << run.err;
    EXPECT_NE(run.out.find("damage-per-hit: 22\nhits-to-kill: 19\nseconds-to-kill: 60\n"), std::string::npos)
        << run.out;
}

TEST_F(BalanceCli, NumbersComeFromTheLayersTheGamePlays) {
    // AFTRMATH.INI beside the rules file doubles the gun: 50 against heavy, 18 shots a minute.
    ASSERT_EQ(platform::ReplaceFileAtomically(m_dir.File("aftrmath.ini"), "[90mm]\nDamage=50\n"), 0);
    EXPECT_NE(Cli({"damage", "RULES", "90mm"}).out.find("heavy\t50\t900\n"), std::string::npos);
    EXPECT_NE(Cli({"damage", "--no-aftermath", "RULES", "90mm"}).out.find("heavy\t25\t450\n"), std::string::npos);
    const Run table = Cli({"table", "RULES", "weapons", "Damage"});
    EXPECT_NE(table.out.find("\n90mm,90mm,50\n"), std::string::npos) << table.out;
}

TEST_F(BalanceCli, CombatSaysNever) {
    const Run none = Cli({"combat", "RULES", "E1", "2TNK"});
    EXPECT_EQ(none.out.substr(0, none.out.find("target-cost")),
              "weapon: none\ndamage-per-hit: 0\nhits-to-kill: never\nseconds-to-kill: never\nshots-per-minute: 0\n"
              "attacker-cost-seconds-to-kill: never\n");
}

TEST_F(BalanceCli, TablePrintsCsv) {
    const Run run = Cli({"table", "RULES", "vehicles", "strength", "Owner"});
    EXPECT_EQ(run.code, kExitOk) << run.err;
    std::istringstream lines(run.out);
    std::string header, first, second, third;
    std::getline(lines, header);
    std::getline(lines, first);
    std::getline(lines, second);
    std::getline(lines, third);
    EXPECT_EQ(header, "Section,Name,Strength,Owner");
    // The game's order: 4TNK, 3TNK, 2TNK, ...; a value with a comma or a quote is quoted.
    EXPECT_EQ(first, "4TNK,Mammoth tank,0,none");
    EXPECT_EQ(second, "3TNK,\"Big \"\"Bertha\"\"\",400,none");
    EXPECT_EQ(third, "2TNK,Medium tank,400,\"Spain,Greece,England,Germany,France,Turkey,GoodGuy\"");
}

TEST_F(BalanceCli, TableDefaultColumns) {
    const Run run = Cli({"table", "RULES", "weapons"});
    EXPECT_EQ(run.code, kExitOk) << run.err;
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')), "Section,Name,Damage,ROF,Range,Burst,Warhead,Projectile,Speed");
    EXPECT_NE(run.out.find("\n90mm,90mm,25,50,"), std::string::npos) << run.out;
}

TEST_F(BalanceCli, Errors) {
    struct Case {
        std::vector<std::string> args;
        int code;
    };
    const Case cases[] = {
        {{"table", "RULES", "tanks"}, kExitUsage},
        {{"table", "RULES", "vehicles", "Damage"}, kExitNotFound},  // a weapon key
        {{"table", "RULES"}, kExitUsage},
        {{"damage", "RULES", "2TNK"}, kExitNotFound},
        {{"damage", "RULES"}, kExitUsage},
        {{"combat", "RULES", "AP", "2TNK"}, kExitNotFound},    // a warhead attacks nothing
        {{"combat", "RULES", "2TNK", "90mm"}, kExitNotFound},  // nor is a weapon a target
        {{"combat", "--attacker-country", "Narnia", "RULES", "2TNK", "2TNK"}, kExitUsage},
        {{"combat", "--mode", "coop", "RULES", "2TNK", "2TNK"}, kExitUsage},
        {{"combat", "--speed", "RULES", "2TNK", "2TNK"}, kExitUsage},
        {{"combat", "RULES", "2TNK", "2TNK", "--mode"}, kExitUsage},
        {{"damage", "MISSING", "90mm"}, 2},
    };
    for (const Case& c : cases) {
        const Run run = Cli(c.args);
        EXPECT_EQ(run.code, c.code) << c.args[0] << " " << c.args.back();
        EXPECT_TRUE(run.out.empty()) << run.out;
        EXPECT_FALSE(run.err.empty());
    }
}

}  // namespace
}  // namespace morvane::cli
