// The numbers modders balance by: a table of objects side by side, the damage of a weapon and
// the fight of one attacker against one target.
#include <cstdio>
#include <map>
#include <memory>

#include "cli/CliCommand.h"
#include "cli/LayerOptions.h"
#include "common/TextOps.h"
#include "gameview/Combat.h"
#include "gameview/GameKeys.h"
#include "gameview/ObjectTable.h"
#include "gameview/PlayedValues.h"
#include "schema/ObjectLabels.h"

namespace morvane::cli {
namespace {

namespace gv = gameview;

// The two owners of a fight: none unless named.
struct Owners {
    std::string attacker;
    std::string target;
};

bool ReadCountry(const CommandContext& context, const std::string& asked, std::string& out) {
    const gv::SectionKind* countries = gv::GameKeys::BuiltIn().Kind("country");
    if (countries != nullptr) {
        for (const std::string& name : countries->sections) {
            if (EqualsNoCase(name, asked)) {
                out = name;
                return true;
            }
        }
    }
    context.err << "morvane-cli: " << asked << " is not a country of the game\n";
    return false;
}

// Takes --attacker-country and --target-country out of the arguments.
std::optional<Owners> TakeOwners(CommandContext& context, const char* name, const char* usage) {
    Owners owners;
    std::vector<std::string> rest;
    const std::vector<std::string>& args = context.args;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const bool attacker = args[i] == "--attacker-country";
        if (!attacker && args[i] != "--target-country") {
            rest.push_back(args[i]);
            continue;
        }
        if (i + 1 >= args.size() || !ReadCountry(context, args[++i], attacker ? owners.attacker : owners.target)) {
            context.err << "usage: morvane-cli " << name << " " << usage << "\n";
            return std::nullopt;
        }
    }
    context.args = std::move(rest);
    return owners;
}

// The layers of the game as the options choose them, and the values the game plays from them.
struct PlayedRules {
    explicit PlayedRules(gamesetup::LoadedLayers loaded)
        : layers(std::move(loaded)), play(layers.stack), values(gv::GameKeys::BuiltIn(), play) {}
    gamesetup::LoadedLayers layers;
    gv::LayerStackPlay play;
    gv::PlayedValues values;
};

// Reads the layer options and the layers, the command taking `least` to `most` arguments after
// the options. Nothing on a usage error (`exit` 64) or a file that cannot be read (`exit` 2),
// the reason said on stderr.
std::unique_ptr<PlayedRules> LoadRules(CommandContext& context, const char* name, const char* usage, std::size_t least,
                                       std::size_t most, int& exit) {
    exit = kExitUsage;
    const auto choice = TakeLayerOptions(context, name, usage);
    if (!choice) return nullptr;
    if (context.args.size() < least || context.args.size() > most) {
        context.err << "usage: morvane-cli " << name << " " << usage << "\n";
        return nullptr;
    }
    auto loaded = LoadLayersOrSay(context, *choice);
    if (!loaded) {
        exit = kExitUnreadable;
        return nullptr;
    }
    return std::make_unique<PlayedRules>(std::move(*loaded));
}

// The game's spelling of a section of one of these kinds, letter case aside; nothing otherwise.
std::optional<std::string> FindSection(const std::string& asked, std::initializer_list<const char*> kinds) {
    const gv::GameKeys& keys = gv::GameKeys::BuiltIn();
    const std::string* section = keys.KindOfSection(asked) != nullptr ? &asked : keys.SectionNoCase(asked);
    if (section == nullptr) return std::nullopt;
    const gv::SectionKind* kind = keys.KindOfSection(*section);
    for (const char* wanted : kinds)
        if (kind->name == wanted) return *section;
    return std::nullopt;
}

constexpr std::initializer_list<const char*> kFighterKinds = {"infantry", "unit", "vessel", "aircraft", "building"};

// A rate or a time with at most two decimals: 18, 12.86, 0.2.
std::string Number(double value) {
    char text[48];
    std::snprintf(text, sizeof text, "%.2f", value);
    std::string shown = text;
    while (shown.back() == '0') shown.pop_back();
    if (shown.back() == '.') shown.pop_back();
    return shown == "-0" ? "0" : shown;
}

std::string Rate(const std::optional<double>& perMinute, std::int32_t times) {
    if (times == 0) return "0";
    if (!perMinute) return "unlimited";
    return Number(*perMinute * times);
}

int RunDamage(CommandContext& context) {
    const char* usage = "[LAYER OPTIONS] [--attacker-country C] [--target-country C] RULES WEAPON";
    const auto owners = TakeOwners(context, "damage", usage);
    if (!owners) return kExitUsage;
    int exit = kExitOk;
    const auto rules = LoadRules(context, "damage", usage, 2, 2, exit);
    if (!rules) return exit;
    const auto weaponSection = FindSection(context.args[1], {"weapon"});
    if (!weaponSection) {
        context.err << "morvane-cli: " << context.args[1] << " is not a weapon of the game\n";
        return kExitNotFound;
    }
    const gv::PlayedValues& values = rules->values;
    const auto weapon = values.Weapon(*weaponSection);
    const gv::CountryBiases attacker = values.Country(owners->attacker);
    const gv::CountryBiases target = values.Country(owners->target);
    // A weapon on its own fires like a unit with one shot at a time.
    const auto perMinute = gv::ShotsPerMinute(gv::ShotDelay(*weapon, attacker), false);
    for (const gv::Armour armour : gv::kArmours) {
        const std::int32_t damage = gv::DamagePerHit(*weapon, attacker, target, armour, values.Bounds());
        context.out << gv::ArmourName(armour) << '\t' << damage << '\t' << Rate(perMinute, damage) << '\n';
    }
    return kExitOk;
}

int RunCombat(CommandContext& context) {
    const char* usage = "[LAYER OPTIONS] [--attacker-country C] [--target-country C] RULES ATTACKER TARGET";
    const auto owners = TakeOwners(context, "combat", usage);
    if (!owners) return kExitUsage;
    int exit = kExitOk;
    const auto rules = LoadRules(context, "combat", usage, 3, 3, exit);
    if (!rules) return exit;
    const std::vector<std::string>& args = context.args;
    const auto attackerSection = FindSection(args[1], {"infantry", "unit", "vessel", "aircraft", "building", "weapon"});
    if (!attackerSection) {
        context.err << "morvane-cli: " << args[1] << " is no unit, structure or weapon of the game\n";
        return kExitNotFound;
    }
    const auto targetSection = FindSection(args[2], kFighterKinds);
    if (!targetSection) {
        context.err << "morvane-cli: " << args[2] << " is no unit or structure of the game\n";
        return kExitNotFound;
    }
    const gv::PlayedValues& values = rules->values;
    const gv::CountryBiases attackerCountry = values.Country(owners->attacker);
    const gv::CountryBiases targetCountry = values.Country(owners->target);
    const gv::FighterStats target = values.Fighter(*targetSection);

    gv::Engagement fight;
    std::optional<gv::FighterStats> attacker;
    if (const auto weapon = values.Weapon(*attackerSection)) {
        fight = gv::Engage(&*weapon, false, false, target, attackerCountry, targetCountry, values.Bounds());
    } else {
        attacker = values.Fighter(*attackerSection);
        fight = gv::Engage(*attacker, target, attackerCountry, targetCountry, values.Bounds());
    }

    std::string weapon = fight.weapon.empty() ? "none" : fight.weapon;
    if (attacker && !fight.weapon.empty()) weapon += fight.secondary ? " (Secondary)" : " (Primary)";
    const auto seconds = fight.Seconds();
    context.out << "weapon: " << weapon << '\n'
                << "damage-per-hit: " << fight.damagePerHit << '\n'
                << "hits-to-kill: " << (fight.hits ? std::to_string(*fight.hits) : "never") << '\n'
                << "seconds-to-kill: " << (seconds ? Number(*seconds) : "never") << '\n'
                << "shots-per-minute: "
                << (fight.weapon.empty()   ? "0"
                    : fight.shotsPerMinute ? Number(*fight.shotsPerMinute)
                                           : "unlimited")
                << '\n';
    if (attacker) {
        if (attacker->strength > 0)
            context.out << "attacker-cost-per-strength: "
                        << Number(static_cast<double>(attacker->cost) / attacker->strength) << '\n';
        context.out << "attacker-cost-seconds-to-kill: " << (seconds ? Number(attacker->cost * *seconds) : "never")
                    << '\n';
    }
    if (target.strength > 0)
        context.out << "target-cost-per-strength: " << Number(static_cast<double>(target.cost) / target.strength)
                    << '\n';
    context.out << "left-out: " << gv::kLeftOut << '\n';
    return kExitOk;
}

int RunTable(CommandContext& context) {
    const char* usage = "[LAYER OPTIONS] RULES GROUP [KEY...]";
    int exit = kExitOk;
    const auto rules = LoadRules(context, "table", usage, 2, context.args.size(), exit);
    if (!rules) return exit;
    const std::vector<std::string>& args = context.args;
    const gv::TableGroup* group = gv::FindTableGroup(args[1]);
    if (group == nullptr) {
        context.err << "morvane-cli: the groups are infantry, vehicles, ships, aircraft, structures, weapons, "
                       "projectiles and warheads, not "
                    << args[1] << "\n";
        return kExitUsage;
    }
    std::vector<std::string> keys(args.begin() + 2, args.end());
    if (keys.empty()) keys.assign(group->defaultKeys.begin(), group->defaultKeys.end());
    auto built = gv::BuildObjectTable(rules->values, *group, keys, ObjectLabels(context.catalogue));
    if (built.index() == 1) {
        context.err << "morvane-cli: " << std::get<1>(built) << "\n";
        return kExitNotFound;
    }
    const gv::ObjectTable& table = std::get<0>(built);
    context.out << "Section,Name";
    for (const std::string& key : table.keys) context.out << ',' << gv::CsvField(key);
    context.out << '\n';
    for (std::size_t row = 0; row < table.sections.size(); ++row) {
        context.out << gv::CsvField(table.sections[row]) << ',' << gv::CsvField(table.names[row]);
        for (const std::string& cell : table.cells[row]) context.out << ',' << gv::CsvField(cell);
        context.out << '\n';
    }
    return kExitOk;
}

}  // namespace

std::vector<Command> BalanceCommands() {
    return {
        {"table", "[LAYER OPTIONS] RULES GROUP [KEY...]", "print a group of objects side by side as CSV",
         "Prints the objects of GROUP as CSV: a header row Section,Name,KEY... and one row per\n"
         "object, in the game's order, with the values the game plays as `effective` prints\n"
         "them (the built-in value where no file sets one). GROUP is one of infantry,\n"
         "vehicles, ships, aircraft, structures, weapons, projectiles, warheads. Without KEY\n"
         "the group's usual columns are shown (vehicles: Cost, Strength, Armor, Speed,\n"
         "Primary, Secondary, Sight, TechLevel, Owner, Prerequisite).\n\n"
         "Exits with 1 when the game does not read a KEY for the group, 2 when RULES cannot\n"
         "be read, 64 for an unknown GROUP.\n\n" MORVANE_LAYER_OPTIONS_HELP,
         RunTable},
        {"combat", "[LAYER OPTIONS] [--attacker-country C] [--target-country C] RULES ATTACKER TARGET",
         "print how long ATTACKER takes to kill TARGET",
         "Prints NAME: VALUE lines for ATTACKER (a unit, structure or weapon) against TARGET (a\n"
         "unit or structure), hit at point blank, with the values the game plays:\n\n"
         "  weapon                 the weapon used and which one: the first that hurts the\n"
         "                         target, Primary before Secondary\n"
         "  damage-per-hit         what the target loses a hit (negative: it heals)\n"
         "  hits-to-kill           or never\n"
         "  seconds-to-kill        from the first shot to the killing one, or never\n"
         "  shots-per-minute       or unlimited when the weapon never waits\n"
         "  attacker-cost-per-strength, attacker-cost-seconds-to-kill (cost times the\n"
         "  seconds: lower is the better buy), target-cost-per-strength\n"
         "  left-out               what the numbers leave out\n\n"
         "  --attacker-country C, --target-country C   the owners (default none: no bias);\n"
         "  outside campaigns the game sets England's Armor and France's ROF to 0.9\n\n"
         "Exits with 1 when ATTACKER or TARGET is not such an object, 2 when RULES cannot be "
         "read.\n\n" MORVANE_LAYER_OPTIONS_HELP,
         RunCombat},
        {"damage", "[LAYER OPTIONS] [--attacker-country C] [--target-country C] RULES WEAPON",
         "print a weapon's damage against the five armours",
         "Prints one line for each armour (none, wood, light, heavy, concrete):\n\n"
         "  ARMOUR<TAB>DAMAGE-PER-HIT<TAB>DAMAGE-PER-MINUTE\n\n"
         "for a hit at point blank, with the values the game plays, the weapon firing one shot\n"
         "at a time. Negative numbers heal. Options as for combat; the numbers leave out what\n"
         "combat's left-out line names.\n\n"
         "Exits with 1 when WEAPON is not a weapon of the game, 2 when RULES cannot be "
         "read.\n\n" MORVANE_LAYER_OPTIONS_HELP,
         RunDamage},
    };
}

}  // namespace morvane::cli
