#include "cli/ArgumentReading.h"
#include "cli/CliCommand.h"
#include "cli/LayerOptions.h"
#include "gameview/GameLayers.h"

namespace morvane::cli {
namespace {

int RunResolve(CommandContext& context) {
    constexpr const char* kUsage = "[LAYER OPTIONS] RULES SECTION KEY";
    const auto choice = TakeLayerOptions(context, "resolve", kUsage);
    if (!choice || !ExpectArgs(context, "resolve", kUsage, 3)) return kExitUsage;
    const gameview::GameKeys& keys = gameview::GameKeys::BuiltIn();
    const auto named = keys.FindNamed(context.args[1], context.args[2]);
    if (!named || !named->kind->read) {
        context.err << "morvane-cli: the game never reads " << context.args[2] << " in [" << context.args[1] << "]\n";
        return kExitNotFound;
    }
    const auto loaded = LoadLayersOrSay(context, *choice);
    if (!loaded) return kExitUnreadable;
    const gameview::KeyResolution resolution = loaded->stack.Resolve(*named->kind, *named->key, named->section);
    for (const gameview::LayerValue& value : resolution.layers) {
        context.out << gameview::LayerWord(value.layer) << '\t';
        if (!value.file.empty())
            context.out << value.file << ':' << value.line;
        else
            context.out << '-';
        const bool sets = value.layer == gameview::Layer::BuiltIn || value.action != gameview::LayerAction::None;
        context.out << '\t' << (sets ? value.text : "-") << '\n';
    }
    context.out << "plays\t" << resolution.plays.kind << '\t' << resolution.plays.value << '\t'
                << gameview::LayerWord(resolution.winner) << '\n';
    return kExitOk;
}

}  // namespace

std::vector<Command> LayerCommands() {
    return {
        {"resolve", "[LAYER OPTIONS] RULES SECTION KEY", "show which file's value of a key the game plays",
         "The game reads several files one on top of the other: its built-in values, the rules\n"
         "file RULES, AFTRMATH.INI, the scenario's rules sections, values it forces outside\n"
         "campaigns (England's armour and France's rate of fire at 0.9, ore growth from the\n"
         "game's options), then MPLAYER.INI in skirmish and multiplayer games. Prints one line\n"
         "a layer, from the bottom up:\n\n"
         "  LAYER<TAB>WHERE<TAB>VALUE\n\n"
         "  LAYER  built-in, rules, aftermath, scenario, forced or mplayer\n"
         "  WHERE  FILE:LINE of the entry, or - ; when a file has the section but not the key\n"
         "         and the game resets the key there (crates in [Powerups], land types, Verses,\n"
         "         AARate, Incoming, NewUnitsEnabled), the line of the section's header\n"
         "  VALUE  the text the layer gives, or - when the layer does not set the key (it lacks\n"
         "         it, the game does not read that section from it, or it is not in play)\n\n"
         "then one line for what the game plays:\n\n"
         "  plays<TAB>KIND<TAB>VALUE<TAB>LAYER\n\n"
         "KIND and VALUE as effective prints them (absent: the built-in value), LAYER the layer\n"
         "that decides it. A layer whose text makes the game keep the earlier value (a bool\n"
         "that starts with another letter, an unknown warhead) decides nothing.\n\n" MORVANE_LAYER_OPTIONS_HELP
         "\nExits with 1 when the game never reads KEY in SECTION, 2 when a file cannot be read.\n",
         RunResolve},
    };
}

}  // namespace morvane::cli
