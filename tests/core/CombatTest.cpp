// The numbers of a fight against cases worked out by hand from the game's rules of one shot:
// every "int x fixed" rounds half up, and a percentage is stored truncated to 1/65536
// (30% is 19660/65536 = 0.29999, 0.9 is 58982/65536 = 0.89999).
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "gameview/Combat.h"
#include "gameview/GameLayers.h"
#include "gameview/PlayedValues.h"

namespace morvane::gameview {
namespace {

TEST(Combat, TimesFixedRoundsHalfUpAndKeepsSixteenBits) {
    struct Case {
        std::int32_t value;
        std::uint32_t fixed;
        std::int32_t expected;
    };
    const Case cases[] = {
        {5, 32768, 3},              // 2.5 rounds up
        {3, 32768, 2},              // 1.5 rounds up
        {1, 16384, 0},              // 0.25 rounds down
        {25, 19660, 7},             // 25 x 30%: 7.4997, not 7.5
        {25, 58982, 22},            // 25 x 0.9: 22.4997
        {50, 58982, 45},            // 44.9997
        {100, 98304, 150},          // 150%
        {70000, 65536, 4464},       // the whole part is kept in 16 bits
        {-1, 65536, 65535},         // and a negative number wraps into it
        {1000, 100u << 16, 34464},  // 100000 does not fit the product's 16 whole bits
    };
    for (const Case& c : cases) EXPECT_EQ(TimesFixed(c.value, c.fixed), c.expected) << c.value << " x " << c.fixed;
}

TEST(Combat, ShotsPerMinute) {
    EXPECT_DOUBLE_EQ(*ShotsPerMinute(50, false), 18.0);        // 900 / 50
    EXPECT_DOUBLE_EQ(*ShotsPerMinute(50, true), 1800.0 / 53);  // two shots per 3 + 50 ticks
    EXPECT_DOUBLE_EQ(*ShotsPerMinute(0, true), 600.0);
    EXPECT_FALSE(ShotsPerMinute(0, false).has_value());  // never waits: no rate to give
}

// A small rules file: sections of keys, with a case's changes laid over them.
using Sections = std::map<std::string, std::map<std::string, std::string>>;

const Sections kBase = {
    {"General", {{"MinDamage", "1"}, {"MaxDamage", "1000"}}},
    {"90mm", {{"Damage", "25"}, {"ROF", "50"}, {"Warhead", "AP"}}},
    {"M60mg", {{"Damage", "15"}, {"ROF", "20"}, {"Warhead", "SA"}}},
    {"Heal", {{"Damage", "-50"}, {"ROF", "80"}, {"Warhead", "Organic"}}},
    {"GoodWrench", {{"Damage", "-30"}, {"ROF", "80"}, {"Warhead", "Mechanical"}}},
    {"DogJaw", {{"Damage", "100"}, {"ROF", "10"}, {"Warhead", "Organic"}}},
    {"AP", {{"Verses", "30%,75%,75%,100%,50%"}}},
    {"SA", {{"Verses", "100%,50%,50%,25%,25%"}}},
    {"Organic", {{"Verses", "100%,0%,0%,0%,0%"}}},
    {"2TNK", {{"Primary", "90mm"}, {"Strength", "400"}, {"Armor", "heavy"}, {"Cost", "800"}}},
    {"3TNK", {{"Primary", "90mm"}, {"Secondary", "90mm"}, {"Strength", "400"}, {"Armor", "heavy"}}},
    {"JEEP", {{"Primary", "90mm"}, {"Secondary", "M60mg"}, {"Strength", "150"}, {"Armor", "light"}}},
    {"E1", {{"Strength", "50"}, {"Armor", "none"}}},
    {"E2", {{"Primary", "DogJaw"}, {"Strength", "50"}}},
    {"E3", {{"Strength", "300"}, {"Armor", "none"}}},
    {"MEDI", {{"Primary", "Heal"}, {"Strength", "80"}}},
    {"MECH", {{"Primary", "GoodWrench"}, {"Strength", "80"}}},
    {"DOG", {{"Primary", "DogJaw"}, {"IsCanine", "yes"}, {"Strength", "12"}}},
};

std::string RulesText(const std::vector<std::string>& changes) {
    Sections sections = kBase;
    for (const std::string& change : changes) {
        // "Section Key=Value"
        const std::size_t blank = change.find(' ');
        const std::size_t equals = change.find('=');
        sections[change.substr(0, blank)][change.substr(blank + 1, equals - blank - 1)] = change.substr(equals + 1);
    }
    std::string text;
    for (const auto& [name, keys] : sections) {
        text += "[" + name + "]\n";
        for (const auto& [key, value] : keys) text += key + "=" + value + "\n";
    }
    return text;
}

struct FightCase {
    const char* what;
    std::vector<std::string> changes;
    const char* attacker;  // a unit or a weapon
    const char* target;
    GameMode mode = GameMode::Campaign;
    const char* attackerCountry = "";
    const char* targetCountry = "";
    const char* weapon;
    std::int32_t damagePerHit;
    std::int64_t hits;   // -1: never
    std::int64_t ticks;  // -1: never
};

void PrintTo(const FightCase& c, std::ostream* out) { *out << c.what; }

class Fight : public testing::TestWithParam<FightCase> {};

TEST_P(Fight, ComesToTheHandWorkedNumbers) {
    const FightCase& c = GetParam();
    LayerStack stack;
    stack.SetFile(Layer::Rules, "rules.ini", RulesText(c.changes));
    stack.SetMode(c.mode);
    const LayerStackPlay play(stack);
    const PlayedValues values(GameKeys::BuiltIn(), play);
    const FighterStats target = values.Fighter(c.target);
    const CountryBiases attackerCountry = values.Country(c.attackerCountry);
    const CountryBiases targetCountry = values.Country(c.targetCountry);
    Engagement fight;
    if (const auto weapon = values.Weapon(c.attacker))
        fight = Engage(&*weapon, false, false, target, attackerCountry, targetCountry, values.Bounds());
    else
        fight = Engage(values.Fighter(c.attacker), target, attackerCountry, targetCountry, values.Bounds());
    EXPECT_EQ(fight.weapon, c.weapon);
    EXPECT_EQ(fight.damagePerHit, c.damagePerHit);
    EXPECT_EQ(fight.hits.value_or(-1), c.hits);
    EXPECT_EQ(fight.ticks.value_or(-1), c.ticks);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Fight,
    testing::Values(
        // 400 / 25 = 16 hits, 15 waits of 50 ticks.
        FightCase{"one shot at a time", {}, "2TNK", "2TNK", GameMode::Campaign, "", "", "90mm", 25, 16, 750},
        // 30% is 0.29999: 25 x 30% = 7.4997 -> 7; 50 / 7 -> 8 hits.
        FightCase{"a stored percentage rounds down", {}, "2TNK", "E1", GameMode::Campaign, "", "", "90mm", 7, 8, 350},
        // The waits run 3, 50, 3, 50, ...: 15 waits = 8 x 3 + 7 x 50.
        FightCase{
            "two-shooter: the same weapon twice", {}, "3TNK", "2TNK", GameMode::Campaign, "", "", "90mm", 25, 16, 374},
        FightCase{
            "two-shooter: a burst", {"90mm Burst=2"}, "2TNK", "2TNK", GameMode::Campaign, "", "", "90mm", 25, 16, 374},
        // A weapon alone fires one shot at a time even with a burst.
        FightCase{
            "a weapon on its own", {"90mm Burst=2"}, "90mm", "2TNK", GameMode::Campaign, "", "", "90mm", 25, 16, 750},
        // 25 x 150% = 37.5 -> 38; 400 / 38 -> 11 hits.
        FightCase{"the attacker's firepower",
                  {"USSR Firepower=150%"},
                  "2TNK",
                  "2TNK",
                  GameMode::Campaign,
                  "USSR",
                  "",
                  "90mm",
                  38,
                  11,
                  500},
        // 3 x 50% = 1.5 -> 2, 2 x 50% = 1, 1 x 50% = 0.5 -> 1 (3 x 12.5% in one step would be 0).
        FightCase{"each bias rounds on its own",
                  {"90mm Damage=3", "USSR Firepower=50%", "Greece Armor=50%", "AP Verses=30%,75%,75%,50%,50%",
                   "General MinDamage=0"},
                  "2TNK",
                  "2TNK",
                  GameMode::Campaign,
                  "USSR",
                  "Greece",
                  "90mm",
                  1,
                  400,
                  19950},
        // 50 x 0.8 (52428/65536) = 39.9994 -> 40 ticks.
        FightCase{"the attacker's rate of fire",
                  {"USSR ROF=.8"},
                  "2TNK",
                  "2TNK",
                  GameMode::Campaign,
                  "USSR",
                  "",
                  "90mm",
                  25,
                  16,
                  600},
        // 25 x 120% = 29.99997 -> 30; 400 / 30 -> 14 hits.
        FightCase{"the target's armour in a campaign",
                  {"England Armor=120%"},
                  "2TNK",
                  "2TNK",
                  GameMode::Campaign,
                  "",
                  "England",
                  "90mm",
                  30,
                  14,
                  650},
        // Skirmish: 0.9 whatever the file says; 25 x 0.9 = 22.4997 -> 22; 400 / 22 -> 19 hits.
        FightCase{"skirmish forces England's armour",
                  {"England Armor=120%"},
                  "2TNK",
                  "2TNK",
                  GameMode::Skirmish,
                  "",
                  "England",
                  "90mm",
                  22,
                  19,
                  900},
        FightCase{
            "multiplayer forces it too", {}, "2TNK", "2TNK", GameMode::Multiplayer, "", "England", "90mm", 22, 19, 900},
        // 50 x 0.9 = 44.9997 -> 45 ticks.
        FightCase{"skirmish forces France's rate of fire",
                  {"France ROF=.8"},
                  "2TNK",
                  "2TNK",
                  GameMode::Skirmish,
                  "France",
                  "",
                  "90mm",
                  25,
                  16,
                  675},
        FightCase{"the forced values spare other countries",
                  {"USSR Armor=120%"},
                  "2TNK",
                  "2TNK",
                  GameMode::Skirmish,
                  "",
                  "USSR",
                  "90mm",
                  30,
                  14,
                  650},
        // 2 x 30% = 0.6 -> 1, raised to 5; 50 / 5 = 10 hits.
        FightCase{"MinDamage raises a hit that does something",
                  {"90mm Damage=2", "General MinDamage=5"},
                  "2TNK",
                  "E1",
                  GameMode::Campaign,
                  "",
                  "",
                  "90mm",
                  5,
                  10,
                  450},
        // 1 x 30% = 0.3 -> 0: nothing to raise.
        FightCase{"MinDamage leaves a hit that rounds to nothing",
                  {"90mm Damage=1", "General MinDamage=5"},
                  "2TNK",
                  "E1",
                  GameMode::Campaign,
                  "",
                  "",
                  "90mm",
                  0,
                  -1,
                  -1},
        FightCase{"bounds as far as an int goes",
                  {"General MinDamage=2147483647", "General MaxDamage=2147483647"},
                  "2TNK",
                  "2TNK",
                  GameMode::Campaign,
                  "",
                  "",
                  "90mm",
                  2147483647,
                  1,
                  0},
        FightCase{"MaxDamage caps a hit",
                  {"General MaxDamage=20"},
                  "2TNK",
                  "2TNK",
                  GameMode::Campaign,
                  "",
                  "",
                  "90mm",
                  20,
                  20,
                  950},
        FightCase{"a zero Verses never kills",
                  {"AP Verses=30%,75%,75%,0%,50%", "General MinDamage=5"},
                  "2TNK",
                  "2TNK",
                  GameMode::Campaign,
                  "",
                  "",
                  "90mm",
                  0,
                  -1,
                  -1},
        FightCase{"missing Verses values are 0",
                  {"AP Verses=30%,75%"},
                  "2TNK",
                  "2TNK",
                  GameMode::Campaign,
                  "",
                  "",
                  "90mm",
                  0,
                  -1,
                  -1},
        // The primary does nothing to what has no armour: the M60mg's 15 a hit, 50 / 15 -> 4 hits of 20 ticks.
        FightCase{"the secondary when the primary cannot hurt",
                  {"AP Verses=0%,75%,75%,100%,50%"},
                  "JEEP",
                  "E1",
                  GameMode::Campaign,
                  "",
                  "",
                  "M60mg",
                  15,
                  4,
                  60},
        FightCase{"the primary when neither hurts",
                  {"AP Verses=0%,75%,75%,100%,50%", "SA Verses=0%,0%,0%,0%,0%"},
                  "JEEP",
                  "E1",
                  GameMode::Campaign,
                  "",
                  "",
                  "90mm",
                  0,
                  -1,
                  -1},
        // A heal takes no bias, no Verses and no bounds.
        FightCase{"healing the unarmoured",
                  {"USSR Firepower=150%", "Organic Verses=50%,0%,0%,0%,0%", "General MaxDamage=20"},
                  "MEDI",
                  "E1",
                  GameMode::Campaign,
                  "USSR",
                  "",
                  "Heal",
                  -50,
                  -1,
                  -1},
        FightCase{"healing reaches no armour", {}, "MEDI", "2TNK", GameMode::Campaign, "", "", "Heal", 0, -1, -1},
        FightCase{"a mechanic mends armour", {}, "MECH", "2TNK", GameMode::Campaign, "", "", "GoodWrench", -30, -1, -1},
        FightCase{
            "a mechanic leaves the unarmoured", {}, "MECH", "E1", GameMode::Campaign, "", "", "GoodWrench", 0, -1, -1},
        FightCase{"a dog's bite kills outright", {}, "DOG", "E3", GameMode::Campaign, "", "", "DogJaw", 300, 1, 0},
        // The same jaw without the dog: 300 / 100 = 3 hits of 10 ticks.
        FightCase{"the jaw alone", {}, "E2", "E3", GameMode::Campaign, "", "", "DogJaw", 100, 3, 20},
        FightCase{"a dog cannot bite what its jaw cannot hurt",
                  {},
                  "DOG",
                  "2TNK",
                  GameMode::Campaign,
                  "",
                  "",
                  "DogJaw",
                  0,
                  -1,
                  -1},
        // 65561 keeps 25 in 16 bits.
        FightCase{"damage kept in 16 bits",
                  {"90mm Damage=65561"},
                  "2TNK",
                  "2TNK",
                  GameMode::Campaign,
                  "",
                  "",
                  "90mm",
                  25,
                  16,
                  750},
        // 70000 is kept as 4464: 4464 / 25 -> 179 hits.
        FightCase{"strength kept in 16 bits",
                  {"E3 Strength=70000", "E3 Armor=heavy"},
                  "2TNK",
                  "E3",
                  GameMode::Campaign,
                  "",
                  "",
                  "90mm",
                  25,
                  179,
                  8900},
        // An unknown warhead keeps the weapon's previous one: none.
        FightCase{"a weapon without a warhead",
                  {"90mm Warhead=Bogus"},
                  "2TNK",
                  "2TNK",
                  GameMode::Campaign,
                  "",
                  "",
                  "90mm",
                  0,
                  -1,
                  -1},
        FightCase{"no weapon at all", {}, "E1", "2TNK", GameMode::Campaign, "", "", "", 0, -1, -1}));

}  // namespace
}  // namespace morvane::gameview
