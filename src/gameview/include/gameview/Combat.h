#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

// The numbers a fight comes to, computed the way the game computes one shot and the wait
// between shots: every multiplication of a whole number by a multiplier goes through the game's
// 16.16 fixed point, and every value is the one the game keeps.
namespace morvane::gameview {

inline constexpr std::uint32_t kFixedOne = 0x10000;  // 1.0 in 16.16 fixed point
inline constexpr int kTicksPerSecond = 15;
inline constexpr int kTicksPerMinute = 900;
inline constexpr int kTwoShooterPause = 3;  // ticks between a two-shooter's first and second shot

// A whole number times a 16.16 fixed-point multiplier as the game does it: the number becomes a
// fixed-point value with that whole part (16 bits: larger numbers and negative ones wrap), the
// product keeps 16 fraction bits and 16 whole bits, and the result is rounded half up.
// 5 x 50% = 3, 3 x 50% = 2, 1 x 25% = 0.
std::int32_t TimesFixed(std::int32_t value, std::uint32_t fixed);

// The armours, in the order of a warhead's Verses.
enum class Armour { None, Wood, Light, Heavy, Concrete };
inline constexpr std::array<Armour, 5> kArmours = {Armour::None, Armour::Wood, Armour::Light, Armour::Heavy,
                                                   Armour::Concrete};
const char* ArmourName(Armour armour);  // "none", "wood", ...

struct WarheadStats {
    std::string name;
    std::array<std::uint32_t, 5> verses{kFixedOne, kFixedOne, kFixedOne, kFixedOne, kFixedOne};
    std::int32_t spread = 1;
    bool mechanical = false;  // heals what has armour, instead of what has none
};

struct WeaponStats {
    std::string name;
    std::int32_t damage = 0;  // negative: the weapon heals
    std::int32_t rof = 0;     // ticks between shots
    std::int32_t burst = 1;
    std::optional<WarheadStats> warhead;  // none: the weapon does nothing
};

// What a country changes: firepower of its units' shots, the armour of its units (a multiplier
// on the damage they take), and the wait between its units' shots.
struct CountryBiases {
    std::uint32_t firepower = kFixedOne;
    std::uint32_t armour = kFixedOne;
    std::uint32_t rof = kFixedOne;
};

// The [General] bounds of one hit.
struct DamageBounds {
    std::int32_t minDamage = 1;
    std::int32_t maxDamage = 1000;
};

// A unit, ship, aircraft, infantry or building as a fighter and as a target.
struct FighterStats {
    std::string section;
    std::optional<WeaponStats> primary;
    std::optional<WeaponStats> secondary;
    Armour armour = Armour::None;
    std::uint16_t strength = 0;
    std::int32_t cost = 0;
    bool canine = false;  // its bite kills whatever it hurts
};

// A shooter: waits 3 ticks after the first of each pair of shots when its primary and secondary
// weapon are the same, or its primary fires bursts.
bool IsTwoShooter(const FighterStats& fighter);

// The damage of one hit at point blank, from the weapon's damage to what the target loses:
// the attacker's firepower, the target's armour bias, the warhead against the armour, the
// bounds of [General]. Negative: the hit heals.
std::int32_t DamagePerHit(const WeaponStats& weapon, const CountryBiases& attacker, const CountryBiases& target,
                          Armour armour, const DamageBounds& bounds);

// The ticks after a shot before the next one: the weapon's rate of fire times the country's bias.
std::int32_t ShotDelay(const WeaponStats& weapon, const CountryBiases& attacker);

// Shots a minute; nothing when the shooter never waits (every tick would be a shot without end).
std::optional<double> ShotsPerMinute(std::int32_t delay, bool twoShooter);

// One attacker against one target.
struct Engagement {
    std::string weapon;                 // the name of the weapon used; empty when the attacker has none
    bool secondary = false;             // the attacker's secondary weapon is the one used
    std::int32_t damagePerHit = 0;      // after the special cases (a dog's bite)
    std::optional<std::int64_t> hits;   // nothing: the weapon never kills the target
    std::optional<std::int64_t> ticks;  // from the first shot to the killing one
    std::int32_t delay = 0;
    bool twoShooter = false;
    std::optional<double> shotsPerMinute;

    std::optional<double> Seconds() const;
};

// The hits and time `weapon`, fired by a shooter with these properties, needs to kill `target`.
Engagement Engage(const WeaponStats* weapon, bool twoShooter, bool canine, const FighterStats& target,
                  const CountryBiases& attacker, const CountryBiases& targetCountry, const DamageBounds& bounds);

// The attacker's first weapon that hurts the target, primary before secondary; when neither does,
// the primary (or the secondary when there is no primary) with the numbers of a weapon that never
// kills.
Engagement Engage(const FighterStats& attacker, const FighterStats& target, const CountryBiases& attackerCountry,
                  const CountryBiases& targetCountry, const DamageBounds& bounds);

// What these numbers leave out, in one line.
extern const char* const kLeftOut;

}  // namespace morvane::gameview
