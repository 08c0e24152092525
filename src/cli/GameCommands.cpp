#include "cli/ArgumentReading.h"
#include "cli/CliCommand.h"
#include "cli/LayerOptions.h"
#include "cli/RulesSession.h"
#include "gameview/GameEffective.h"
#include "gameview/GameKeys.h"
#include "gameview/GameLayers.h"

namespace morvane::cli {
namespace {

int RunCheck(CommandContext& context) {
    constexpr const char* kUsage = "[LAYER OPTIONS] FILE";
    const auto choice = TakeLayerOptions(context, "check", kUsage);
    if (!choice || !ExpectArgs(context, "check", kUsage, 1)) return kExitUsage;
    const auto loaded = LoadLayersOrSay(context, *choice);
    if (!loaded) return kExitUnreadable;
    WarnOfInterruptedWrite(context, choice->rules);
    const gameview::LayerStack& stack = loaded->stack;
    bool serious = false;
    for (const gameview::LayerFinding& found : stack.CheckAll()) {
        const gameview::Finding& finding = found.finding;
        context.out << stack.Path(found.layer) << ':' << finding.line << ": " << gameview::LevelWord(finding.level)
                    << ": ";
        if (!finding.section.empty()) {
            context.out << '[' << finding.section << ']';
            if (!finding.key.empty()) context.out << ' ' << finding.key;
            context.out << ": ";
        }
        context.out << finding.message << '\n';
        serious = serious || finding.level != gameview::Level::Note;
    }
    return serious ? kExitNotFound : kExitOk;
}

int RunEffective(CommandContext& context) {
    constexpr const char* kUsage = "[LAYER OPTIONS] FILE SECTION KEY";
    const auto choice = TakeLayerOptions(context, "effective", kUsage);
    if (!choice || !ExpectArgs(context, "effective", kUsage, 3)) return kExitUsage;
    const gameview::GameKeys& keys = gameview::GameKeys::BuiltIn();
    const auto named = keys.FindNamed(context.args[1], context.args[2]);
    if (!named) {
        context.err << "morvane-cli: the game does not read " << context.args[2] << " in [" << context.args[1] << "]\n";
        return kExitNotFound;
    }
    const auto loaded = LoadLayersOrSay(context, *choice);
    if (!loaded) return kExitUnreadable;
    // Sections this version of the game never opens give nothing, whatever they hold.
    const gameview::EffectiveValue value = named->kind->read
                                               ? loaded->stack.Resolve(*named->kind, *named->key, named->section).plays
                                               : gameview::Effective(keys, *named->key, nullptr);
    context.out << value.kind << '\t' << value.value << '\n';
    return kExitOk;
}

}  // namespace

std::vector<Command> GameCommands() {
    return {
        {"check", "[LAYER OPTIONS] FILE", "show where the game reads FILE and its layers differently",
         "Reads the rules file FILE, and the files the game reads on top of it, the way the\n"
         "game's own reader does, and prints one finding a line, file by file from the bottom\n"
         "layer up, in line order:\n\n"
         "  FILE:LINE: LEVEL: [SECTION] KEY: MESSAGE\n\n"
         "The message says what the game will do with the line and how to write it instead.\n"
         "LEVEL is one of:\n"
         "  error    the game reads something other than what the line says, or does not see\n"
         "           the line at all (a wrong letter case, a line cut at 127 characters, a\n"
         "           value it cannot parse, a lost last line, a duplicate);\n"
         "  warning  the game reads the line as written, but it is probably a mistake (a\n"
         "           misspelt key, 25 where 25% was meant, a key a layer never reads, a partial\n"
         "           [Powerups] that turns crates off, a map value MPLAYER.INI overrides);\n"
         "  note     harmless: a line the game ignores (a key or section it does not read, an\n"
         "           empty value, which leaves the built-in one, a note cut at 127 characters),\n"
         "           a value a later layer overrides, a map value kept into later "
         "missions.\n\n" MORVANE_LAYER_OPTIONS_HELP
         "\nExits with 0 when there is no error or warning, 1 when there is, 2 when a file\n"
         "cannot be read.\n",
         RunCheck},
        {"effective", "[LAYER OPTIONS] FILE SECTION KEY", "print what the game plays for one key",
         "Prints one line, KIND<TAB>VALUE: what the game keeps for KEY in SECTION once it has\n"
         "read the rules file FILE and the layers on top of it (see resolve for each layer).\n"
         "  bool       true, false, or default (the first letter is none of Y T 1 N F 0); a\n"
         "             flag read as a number keeps the lowest bit of its rounded value\n"
         "  int        the number the game keeps (also from $1F and 1Fh; cut to the field's\n"
         "             16 or 8 bits, or held between 0 and 100), or default\n"
         "  fixed      the 16.16 fixed-point value with six decimals (25% gives 0.250000)\n"
         "  cells      the distance in leptons, 256 a cell, kept in 16 bits (300 cells wrap\n"
         "             round to 11264)\n"
         "  speed      the stored value from 0 to 255, or default\n"
         "  buildings  the prerequisite buildings in the game's order, or none (a building\n"
         "             numbered 32 or later sets the bit of its number less 32)\n"
         "  owners     the owning houses in the game's order, or none\n"
         "  verses     the five values against none, wood, light, heavy and concrete\n"
         "  powerup    shares, animation (or none) and the data as stored (2.0 gives 512,\n"
         "             rounded); a crate missing from a [Powerups] the file has reads 0,none\n"
         "  name       the name the game matched in its own spelling (also sounds and\n"
         "             animations), none, kept (the previous one stays), or Money\n"
         "  theme      the scenario number and the owning houses, or none\n"
         "  text       the stored text\n"
         "VALUE is absent when no file sets the key (the game keeps its built-in value): the\n"
         "key is missing, spelt in another letter case, empty, or on a last line without a\n"
         "line break.\n\n" MORVANE_LAYER_OPTIONS_HELP
         "\nExits with 1 when the game does not read KEY in SECTION at all, 2 when a file\n"
         "cannot be read.\n",
         RunEffective},
    };
}

}  // namespace morvane::cli
