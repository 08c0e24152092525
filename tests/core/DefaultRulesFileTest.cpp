#include <gtest/gtest.h>

#include "schema/CatalogueFile.h"
#include "schema/DefaultRulesFile.h"

namespace morvane {
namespace {

const std::string& RulesFile() {
    static const std::string file = MakeDefaultRulesFile(BuiltInCatalogue());
    return file;
}

std::size_t Position(const std::string& text) {
    const std::size_t at = RulesFile().find(text);
    EXPECT_NE(at, std::string::npos) << text;
    return at;
}

TEST(DefaultRulesFile, WritesValuesInTheGamesForm) {
    const char* lines[] = {
        "\r\n[General]\r\nCrateMinimum=2\r\n",
        "\r\nWaterCrateChance=20%\r\n",  // percentage
        "\r\nUnitCrateType=none\r\n",    // list entry's NAME: a random vehicle
        "\r\nChronoKillCargo=yes\r\n",   // yes/no
        "\r\n[V2RL]\r\nPrerequisite=weap,dome\r\nPrimary=SCUD\r\nSecondary=None\r\n",
        "\r\nArmor=Light\r\n",
        "\r\nOwner=Soviet\r\n",
        "\r\n[E1]\r\n",
        "\r\nOwner=Allies,Soviet\r\n",
        "\r\n[SA]\r\nSpread=3\r\n",
        "\r\nVerses=100%,50%,60%,25%,25%\r\n",  // verses, split at commas as the game splits them
        "\r\nOreExplosive=0\r\n",               // a number to the game, not yes/no
        "\r\n[Flamer]\r\n",
        "\r\nProjectile=Fireball\r\n",
        "\r\n[Maximums]\r\nPlayers=8\r\n",
        "\r\n[ThemeControl]\r\nBIGF226M=1,Soviet\r\n",
        "\r\n[MISS]\r\n",
        "\r\nCapturable=true\r\n",
        "\r\n[Powerups]\r\nArmor=10,ARMOR,2.0\r\n",
        "\r\n[USSR]\r\nFirepower=1.0\r\n",
    };
    for (const char* line : lines) Position(line);
    EXPECT_EQ(RulesFile().find("\n\n"), std::string::npos) << "every line ends with CR LF";
    const std::size_t v2rl = Position("[V2RL]");
    const std::string section = RulesFile().substr(v2rl, RulesFile().find("\r\n[", v2rl) - v2rl);
    EXPECT_EQ(section.find("Passengers="), std::string::npos) << "keys without default are left out";
    EXPECT_NE(section.find("Ammo=1\r\n"), std::string::npos);
    // The shipped spellings the game never reads stay out of a file Morvane makes.
    EXPECT_EQ(RulesFile().find("GameSpeeBias="), std::string::npos);
    EXPECT_EQ(RulesFile().find("Inaccurate="), std::string::npos);
    EXPECT_NE(RulesFile().find("\r\nGameSpeedBias=1\r\n"), std::string::npos);
}

TEST(DefaultRulesFile, FollowsTheTreeOrder) {
    // General groups in tree order: Map Controls (list 207) before Computer Controls (206).
    EXPECT_LT(Position("AllyReveal="), Position("CurleyShuffle="));
    // Countries sorted, difficulties not.
    EXPECT_LT(Position("[England]"), Position("[France]"));
    EXPECT_LT(Position("[Ukraine]"), Position("[USSR]"));
    EXPECT_LT(Position("[Easy]"), Position("[Normal]"));
    EXPECT_LT(Position("[Normal]"), Position("[Difficult]"));
    EXPECT_EQ(RulesFile().find("[Hard]"), std::string::npos);
    // The expansion's objects join their groups: the chrono tank among the land vehicles (before
    // the aircraft), the shock trooper among the infantry (after the ships, before the civilians).
    EXPECT_LT(Position("[CTNK]"), Position("[BADR]"));
    EXPECT_LT(Position("[SS]"), Position("[SHOK]"));
    EXPECT_LT(Position("[SHOK]"), Position("[EINSTEIN]"));
    // Objects sorted by label within their group: "Heavy tank" (3TNK) before "Light tank" (1TNK).
    EXPECT_LT(Position("[3TNK]"), Position("[1TNK]"));
    // Units before structures before weapons; Powerups last.
    EXPECT_LT(Position("[V2RL]"), Position("[FACT]"));
    EXPECT_LT(Position("[FACT]"), Position("[Colt45]"));
    EXPECT_GT(Position("[Powerups]"), Position("[Sleep]"));
}

TEST(DefaultRulesFile, EachSectionOnce) {
    for (const char* section : {"[General]", "[E1]", "[Powerups]", "[Area Guard]"}) {
        const std::size_t first = Position(section);
        EXPECT_EQ(RulesFile().find(section, first + 1), std::string::npos) << section;
    }
}

}  // namespace
}  // namespace morvane
