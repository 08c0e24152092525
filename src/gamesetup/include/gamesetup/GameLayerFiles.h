#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "gameview/GameLayers.h"

// Which files make up one game's layers, and reading them into a layer stack.
namespace morvane::gamesetup {

// Where a layer's file comes from.
struct LayerSource {
    enum class Kind {
        Beside,  // the file of the usual name beside the rules file, in any letter case, if any
        Given,   // the path the user named
        Off,     // the layer is left out
    };
    Kind kind = Kind::Beside;
    std::string path;  // Given only
};

struct LayerChoice {
    std::string rules;
    gameview::GameMode mode = gameview::GameMode::Campaign;
    LayerSource aftermath;
    LayerSource mplayer;
    std::string scenario;  // empty: no scenario
    // The rules file as the caller has read it already (an open document's reading): the
    // stack shares it, the file is neither read nor parsed again.
    std::shared_ptr<const gameview::GameIni> rulesGame;
};

inline constexpr std::string_view kAftermathFileName = "AFTRMATH.INI";
inline constexpr std::string_view kMplayerFileName = "MPLAYER.INI";

// A regular file named `name` in the rules file's folder, its name matched without regard to
// letter case (so "aftrmath.ini" counts); nothing when there is none.
std::optional<std::string> FindBesideRules(const std::string& rulesPath, std::string_view name);

struct LoadedLayers {
    gameview::LayerStack stack;
    // The files found beside the rules file without being named, for telling the user.
    std::vector<std::string> found;
};
// A file that cannot be read.
struct UnreadableLayer {
    gameview::Layer layer = gameview::Layer::Rules;
    std::string path;
};

// Reads the files of `choice` into a stack. MPLAYER.INI is looked for and read only where the
// game reads it: outside campaigns, with Aftermath on.
std::variant<LoadedLayers, UnreadableLayer> LoadLayers(const LayerChoice& choice);

}  // namespace morvane::gamesetup
