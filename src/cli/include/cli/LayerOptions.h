#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "cli/CliCommand.h"
#include "gamesetup/GameLayerFiles.h"
#include "gameview/GameKeys.h"

namespace morvane::cli {

// The options that choose a game's layers, as the help texts of resolve, check and effective
// list them (a literal, so that it joins the rest of each help text).
#define MORVANE_LAYER_OPTIONS_HELP                                                             \
    "Layer options (AFTRMATH.INI and MPLAYER.INI beside the rules file, in any letter case,\n" \
    "are taken unless an option says otherwise):\n"                                            \
    "  --mode campaign|skirmish|multiplayer   the kind of game (default campaign)\n"           \
    "  --aftermath FILE    use FILE as AFTRMATH.INI\n"                                         \
    "  --no-aftermath      a game without Aftermath (no AFTRMATH.INI, no MPLAYER.INI)\n"       \
    "  --mplayer FILE      use FILE as MPLAYER.INI (read only outside campaigns)\n"            \
    "  --no-mplayer        leave MPLAYER.INI out\n"                                            \
    "  --scenario FILE     the scenario or map file whose rules sections the game reads\n"

// Takes the layer options out of the command's arguments, leaving the others in order; the rules
// file is then the first argument left. Options named in `passOn` are the command's own and stay
// among the arguments. Nothing, with a message on stderr, when an option is unknown, lacks its
// value or contradicts another. `anyGiven`, when asked for, tells whether any layer option was there.
std::optional<gamesetup::LayerChoice> TakeLayerOptions(CommandContext& context, const char* name, const char* usage,
                                                       std::initializer_list<std::string_view> passOn = {},
                                                       bool* anyGiven = nullptr);

// Reads the layers; on a file that cannot be read, says so on stderr and gives nothing.
std::optional<gamesetup::LoadedLayers> LoadLayersOrSay(const CommandContext& context,
                                                       const gamesetup::LayerChoice& choice);

// kExitUnreadable (CliCommand.h) is the exit code when a layer cannot be read.

}  // namespace morvane::cli
