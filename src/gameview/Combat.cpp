#include "gameview/Combat.h"

#include <algorithm>

namespace morvane::gameview {

const char* const kLeftOut =
    "range, travel time, misses, veterancy, crates, objects the game makes immune, a building's "
    "ammunition, the firing habits of infantry, vehicles and aircraft, and cost biases";

std::int32_t TimesFixed(std::int32_t value, std::uint32_t fixed) {
    const std::uint64_t whole = static_cast<std::uint16_t>(value);
    const auto product = static_cast<std::uint32_t>(((whole << 16) * fixed) >> 16);
    return static_cast<std::int32_t>((static_cast<std::uint64_t>(product) + 0x8000u) >> 16);
}

const char* ArmourName(Armour armour) {
    switch (armour) {
        case Armour::None:
            return "none";
        case Armour::Wood:
            return "wood";
        case Armour::Light:
            return "light";
        case Armour::Heavy:
            return "heavy";
        case Armour::Concrete:
            return "concrete";
    }
    return "none";
}

bool IsTwoShooter(const FighterStats& fighter) {
    if (!fighter.primary) return false;
    if (fighter.secondary && fighter.secondary->name == fighter.primary->name) return true;
    return fighter.primary->burst > 1;
}

std::int32_t DamagePerHit(const WeaponStats& weapon, const CountryBiases& attacker, const CountryBiases& target,
                          Armour armour, const DamageBounds& bounds) {
    std::int32_t damage = weapon.damage;
    // The shooter: its own bias (1 without crates or veterancy), then its country's firepower.
    if (damage > 0) damage = TimesFixed(TimesFixed(damage, kFixedOne), attacker.firepower);
    // The target: its own armour bias (1), then its country's.
    if (damage > 0) damage = TimesFixed(TimesFixed(damage, kFixedOne), target.armour);

    if (damage == 0 || !weapon.warhead) return 0;
    const WarheadStats& warhead = *weapon.warhead;
    if (damage < 0) {
        // A heal takes no bias and no bounds; it reaches only what its warhead mends.
        const bool bare = armour == Armour::None;
        return (warhead.mechanical ? !bare : bare) ? damage : 0;
    }
    damage = TimesFixed(damage, warhead.verses[static_cast<std::size_t>(armour)]);
    // At point blank the distance divides nothing and is below a quarter of the spread, so a
    // hit that does anything does at least the minimum.
    if (damage != 0) damage = std::max(damage, bounds.minDamage);
    return std::min(damage, bounds.maxDamage);
}

std::int32_t ShotDelay(const WeaponStats& weapon, const CountryBiases& attacker) {
    return TimesFixed(weapon.rof, attacker.rof);
}

std::optional<double> ShotsPerMinute(std::int32_t delay, bool twoShooter) {
    if (twoShooter) return 2.0 * kTicksPerMinute / (kTwoShooterPause + delay);
    if (delay <= 0) return std::nullopt;
    return static_cast<double>(kTicksPerMinute) / delay;
}

std::optional<double> Engagement::Seconds() const {
    if (!ticks) return std::nullopt;
    return static_cast<double>(*ticks) / kTicksPerSecond;
}

Engagement Engage(const WeaponStats* weapon, bool twoShooter, bool canine, const FighterStats& target,
                  const CountryBiases& attacker, const CountryBiases& targetCountry, const DamageBounds& bounds) {
    Engagement result;
    result.twoShooter = twoShooter;
    if (weapon == nullptr) return result;
    result.weapon = weapon->name;
    result.damagePerHit = DamagePerHit(*weapon, attacker, targetCountry, target.armour, bounds);
    // A dog's bite that hurts at all takes the target's whole strength.
    if (canine && result.damagePerHit > 0 && target.strength > 0) result.damagePerHit = target.strength;
    result.delay = ShotDelay(*weapon, attacker);
    result.shotsPerMinute = ShotsPerMinute(result.delay, twoShooter);
    if (result.damagePerHit <= 0) return result;

    const std::int64_t damage = result.damagePerHit;  // MinDamage may raise it as far as an int goes
    const std::int64_t hits = (target.strength + damage - 1) / damage;
    result.hits = hits;
    // The waits before the killing shot: D each for a one-shot unit; 3, D, 3, D, ... for a
    // two-shooter.
    const std::int64_t waits = std::max<std::int64_t>(hits - 1, 0);
    result.ticks = twoShooter ? (waits + 1) / 2 * kTwoShooterPause + waits / 2 * result.delay : waits * result.delay;
    return result;
}

Engagement Engage(const FighterStats& attacker, const FighterStats& target, const CountryBiases& attackerCountry,
                  const CountryBiases& targetCountry, const DamageBounds& bounds) {
    const bool twoShooter = IsTwoShooter(attacker);
    const auto engage = [&](const WeaponStats& weapon, bool secondary) {
        Engagement result =
            Engage(&weapon, twoShooter, attacker.canine, target, attackerCountry, targetCountry, bounds);
        result.secondary = secondary;
        return result;
    };
    std::optional<Engagement> fallback;
    if (attacker.primary) {
        Engagement primary = engage(*attacker.primary, false);
        if (primary.damagePerHit > 0) return primary;
        fallback = std::move(primary);
    }
    if (attacker.secondary) {
        Engagement secondary = engage(*attacker.secondary, true);
        if (secondary.damagePerHit > 0 || !fallback) return secondary;
    }
    if (fallback) return *fallback;
    Engagement none;
    none.twoShooter = twoShooter;
    return none;
}

}  // namespace morvane::gameview
