// The numbers modders balance by: a table of objects side by side, the damage of a weapon and
// the fight of one attacker against one target.
#include <cstdio>
#include <map>
#include <memory>

#include "cli/CliCommand.h"
#include "common/TextOps.h"
#include "gameview/Combat.h"
#include "gameview/GameIni.h"
#include "gameview/GameKeys.h"
#include "gameview/ObjectTable.h"
#include "gameview/PlayedValues.h"
#include "platform/FileAccess.h"
#include "schema/CatalogueLayout.h"
#include "schema/CatalogueWalks.h"

namespace morvane::cli {
namespace {

namespace gv = gameview;

constexpr int kExitUnreadable = 2;

// The options and the plain arguments of one command line.
struct BalanceArgs {
    gv::PlayMode mode = gv::PlayMode::Campaign;
    std::string attackerCountry;
    std::string targetCountry;
    std::vector<std::string> plain;
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

// Reads the options; `countries` says whether the command takes the two country options.
std::optional<BalanceArgs> ReadBalanceArgs(const CommandContext& context, const char* name, const char* usage,
                                           bool countries, std::size_t least, std::size_t most) {
    BalanceArgs result;
    const std::vector<std::string>& args = context.args;
    const auto usageError = [&]() -> std::optional<BalanceArgs> {
        context.err << "usage: morvane-cli " << name << " " << usage << "\n";
        return std::nullopt;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) != 0) {
            result.plain.push_back(arg);
            continue;
        }
        const bool takesValue =
            arg == "--mode" || (countries && (arg == "--attacker-country" || arg == "--target-country"));
        if (!takesValue) {
            context.err << "morvane-cli: unknown option " << arg << "\n";
            return usageError();
        }
        if (i + 1 >= args.size()) {
            context.err << "morvane-cli: " << arg << " needs a value\n";
            return usageError();
        }
        const std::string& value = args[++i];
        if (arg == "--mode") {
            if (value == "campaign")
                result.mode = gv::PlayMode::Campaign;
            else if (value == "skirmish")
                result.mode = gv::PlayMode::Skirmish;
            else if (value == "multiplayer")
                result.mode = gv::PlayMode::Multiplayer;
            else {
                context.err << "morvane-cli: the mode is campaign, skirmish or multiplayer, not " << value << "\n";
                return usageError();
            }
        } else if (!ReadCountry(context, value,
                                arg == "--attacker-country" ? result.attackerCountry : result.targetCountry)) {
            return usageError();
        }
    }
    if (result.plain.size() < least || result.plain.size() > most) return usageError();
    return result;
}

// The rules file as the game reads it, and the values the game plays from it.
struct PlayedRules {
    PlayedRules(std::string bytes, gv::PlayMode mode)
        : ini(bytes), play(ini, mode), values(gv::GameKeys::BuiltIn(), play) {}
    gv::GameIni ini;
    gv::RulesFilePlay play;
    gv::PlayedValues values;
};

std::unique_ptr<PlayedRules> LoadRules(const CommandContext& context, const BalanceArgs& args) {
    const std::string& path = args.plain[0];
    auto bytes = platform::ReadFileBytes(path);
    if (!bytes) {
        context.err << "morvane-cli: cannot read " << path << "\n";
        return nullptr;
    }
    return std::make_unique<PlayedRules>(std::move(*bytes), args.mode);
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
    const char* usage = "[--mode MODE] [--attacker-country C] [--target-country C] RULES WEAPON";
    const auto args = ReadBalanceArgs(context, "damage", usage, true, 2, 2);
    if (!args) return kExitUsage;
    const auto weaponSection = FindSection(args->plain[1], {"weapon"});
    if (!weaponSection) {
        context.err << "morvane-cli: " << args->plain[1] << " is not a weapon of the game\n";
        return kExitNotFound;
    }
    const auto rules = LoadRules(context, *args);
    if (!rules) return kExitUnreadable;
    const gv::PlayedValues& values = rules->values;
    const auto weapon = values.Weapon(*weaponSection);
    const gv::CountryBiases attacker = values.Country(args->attackerCountry);
    const gv::CountryBiases target = values.Country(args->targetCountry);
    // A weapon on its own fires like a unit with one shot at a time.
    const auto perMinute = gv::ShotsPerMinute(gv::ShotDelay(*weapon, attacker), false);
    for (const gv::Armour armour : gv::kArmours) {
        const std::int32_t damage = gv::DamagePerHit(*weapon, attacker, target, armour, values.Bounds());
        context.out << gv::ArmourName(armour) << '\t' << damage << '\t' << Rate(perMinute, damage) << '\n';
    }
    return kExitOk;
}

int RunCombat(CommandContext& context) {
    const char* usage = "[--mode MODE] [--attacker-country C] [--target-country C] RULES ATTACKER TARGET";
    const auto args = ReadBalanceArgs(context, "combat", usage, true, 3, 3);
    if (!args) return kExitUsage;
    const auto attackerSection =
        FindSection(args->plain[1], {"infantry", "unit", "vessel", "aircraft", "building", "weapon"});
    if (!attackerSection) {
        context.err << "morvane-cli: " << args->plain[1] << " is no unit, structure or weapon of the game\n";
        return kExitNotFound;
    }
    const auto targetSection = FindSection(args->plain[2], kFighterKinds);
    if (!targetSection) {
        context.err << "morvane-cli: " << args->plain[2] << " is no unit or structure of the game\n";
        return kExitNotFound;
    }
    const auto rules = LoadRules(context, *args);
    if (!rules) return kExitUnreadable;
    const gv::PlayedValues& values = rules->values;
    const gv::CountryBiases attackerCountry = values.Country(args->attackerCountry);
    const gv::CountryBiases targetCountry = values.Country(args->targetCountry);
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

// The labels the catalogue gives the game's objects ("Heavy tank"), by section.
std::map<std::string, std::string> ObjectLabels(const StringTable& catalogue) {
    std::map<std::string, std::string> labels;
    const auto walk = [&](std::uint16_t first, std::uint16_t last) {
        for (std::uint32_t id = first; first != 0 && id <= last; ++id) {
            const auto text = catalogue.Find(static_cast<std::uint16_t>(id));
            if (!text) continue;
            if (const auto entry = ParseObjectListEntry(*text))
                labels.emplace(entry->section, std::string(Trim(entry->label)));
        }
    };
    for (const auto& group : layout::kUnitGroups) {
        walk(group.firstId, group.lastId);
        walk(group.moreFirstId, group.moreLastId);
    }
    for (const auto& group : layout::kStructureGroups) {
        walk(group.firstId, group.lastId);
        walk(group.moreFirstId, group.moreLastId);
    }
    for (const auto& category : layout::kObjectCategories) walk(category.firstId, category.lastId);
    return labels;
}

int RunTable(CommandContext& context) {
    const char* usage = "[--mode MODE] RULES GROUP [KEY...]";
    const auto args = ReadBalanceArgs(context, "table", usage, false, 2, static_cast<std::size_t>(-1));
    if (!args) return kExitUsage;
    const gv::TableGroup* group = gv::FindTableGroup(args->plain[1]);
    if (group == nullptr) {
        context.err << "morvane-cli: the groups are infantry, vehicles, ships, aircraft, structures, weapons, "
                       "projectiles and warheads, not "
                    << args->plain[1] << "\n";
        return kExitUsage;
    }
    std::vector<std::string> keys(args->plain.begin() + 2, args->plain.end());
    if (keys.empty()) keys.assign(group->defaultKeys.begin(), group->defaultKeys.end());
    const auto rules = LoadRules(context, *args);
    if (!rules) return kExitUnreadable;
    auto built = gv::BuildObjectTable(rules->values, *group, keys);
    if (built.index() == 1) {
        context.err << "morvane-cli: " << std::get<1>(built) << "\n";
        return kExitNotFound;
    }
    const gv::ObjectTable& table = std::get<0>(built);
    const std::map<std::string, std::string> labels = ObjectLabels(context.catalogue);

    context.out << "Section,Name";
    for (const std::string& key : table.keys) context.out << ',' << gv::CsvField(key);
    context.out << '\n';
    for (std::size_t row = 0; row < table.sections.size(); ++row) {
        const std::string& section = table.sections[row];
        // The name the game shows: the file's own when it sets one, else the object's label.
        std::string name;
        if (rules->values.Key(section, "Name") != nullptr) {
            const auto texts = rules->play.Texts(section, "Name");
            if (!texts.empty()) name = texts.back();
        }
        if (name.empty()) {
            const auto label = labels.find(section);
            if (label != labels.end()) name = label->second;
        }
        context.out << gv::CsvField(section) << ',' << gv::CsvField(name);
        for (const std::string& cell : table.cells[row]) context.out << ',' << gv::CsvField(cell);
        context.out << '\n';
    }
    return kExitOk;
}

}  // namespace

std::vector<Command> BalanceCommands() {
    return {
        {"table", "[--mode MODE] RULES GROUP [KEY...]", "print a group of objects side by side as CSV",
         "Prints the objects of GROUP as CSV: a header row Section,Name,KEY... and one row per\n"
         "object, in the game's order, with the values the game plays as `effective` prints\n"
         "them (the built-in value where no file sets one). GROUP is one of infantry,\n"
         "vehicles, ships, aircraft, structures, weapons, projectiles, warheads. Without KEY\n"
         "the group's usual columns are shown (vehicles: Cost, Strength, Armor, Speed,\n"
         "Primary, Secondary, Sight, TechLevel, Owner, Prerequisite).\n\n"
         "  --mode campaign|skirmish|multiplayer   the kind of game (default campaign);\n"
         "         outside campaigns England's Armor and France's ROF are 0.9\n\n"
         "Exits with 1 when the game does not read a KEY for the group, 2 when RULES cannot\n"
         "be read, 64 for an unknown GROUP.\n",
         RunTable},
        {"combat", "[--mode MODE] [--attacker-country C] [--target-country C] RULES ATTACKER TARGET",
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
         "  --mode campaign|skirmish|multiplayer   the kind of game (default campaign);\n"
         "         outside campaigns England's Armor and France's ROF are 0.9\n"
         "  --attacker-country C, --target-country C   the owners (default none: no bias)\n\n"
         "Exits with 1 when ATTACKER or TARGET is not such an object, 2 when RULES cannot be read.\n",
         RunCombat},
        {"damage", "[--mode MODE] [--attacker-country C] [--target-country C] RULES WEAPON",
         "print a weapon's damage against the five armours",
         "Prints one line for each armour (none, wood, light, heavy, concrete):\n\n"
         "  ARMOUR<TAB>DAMAGE-PER-HIT<TAB>DAMAGE-PER-MINUTE\n\n"
         "for a hit at point blank, with the values the game plays, the weapon firing one shot\n"
         "at a time. Negative numbers heal. Options as for combat; the numbers leave out what\n"
         "combat's left-out line names.\n\n"
         "Exits with 1 when WEAPON is not a weapon of the game, 2 when RULES cannot be read.\n",
         RunDamage},
    };
}

}  // namespace morvane::cli
