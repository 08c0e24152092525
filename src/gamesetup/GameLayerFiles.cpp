#include "gamesetup/GameLayerFiles.h"

#include "platform/FileAccess.h"
#include "platform/FileLookup.h"
#include "platform/FolderListing.h"

namespace morvane::gamesetup {
namespace {

std::string FolderOfRules(const std::string& rulesPath) {
#ifdef _WIN32
    const std::size_t slash = rulesPath.find_last_of("/\\");
#else
    const std::size_t slash = rulesPath.find_last_of('/');
#endif
    if (slash == std::string::npos) return "";
    return slash == 0 ? rulesPath.substr(0, 1) : rulesPath.substr(0, slash);
}

}  // namespace

std::optional<std::string> FindBesideRules(const std::string& rulesPath, std::string_view name) {
    return platform::FindRegularFileNoCase(platform::JoinPath(FolderOfRules(rulesPath), name));
}

std::variant<LoadedLayers, UnreadableLayer> LoadLayers(const LayerChoice& choice) {
    using gameview::Layer;
    LoadedLayers loaded;
    gameview::LayerStack& stack = loaded.stack;
    stack.SetMode(choice.mode);
    stack.SetAftermath(choice.aftermath.kind != LayerSource::Kind::Off);

    // Each returns the path that cannot be read, if any.
    const auto read = [&stack](Layer layer, const std::string& path) -> std::optional<std::string> {
        const auto bytes = platform::ReadFileBytes(path);
        if (!bytes) return path;
        stack.SetFile(layer, path, *bytes);
        return std::nullopt;
    };
    const auto take = [&](Layer layer, const LayerSource& source, std::string_view name) -> std::optional<std::string> {
        if (source.kind == LayerSource::Kind::Off) return std::nullopt;
        if (source.kind == LayerSource::Kind::Given) return read(layer, source.path);
        const std::optional<std::string> beside = FindBesideRules(choice.rules, name);
        if (!beside) return std::nullopt;
        loaded.found.push_back(*beside);
        return read(layer, *beside);
    };

    if (choice.rulesGame != nullptr)
        stack.SetFile(Layer::Rules, choice.rules, choice.rulesGame);
    else if (auto failed = read(Layer::Rules, choice.rules))
        return UnreadableLayer{Layer::Rules, *failed};
    if (auto failed = take(Layer::Aftermath, choice.aftermath, kAftermathFileName))
        return UnreadableLayer{Layer::Aftermath, *failed};
    if (!choice.scenario.empty())
        if (auto failed = read(Layer::Scenario, choice.scenario)) return UnreadableLayer{Layer::Scenario, *failed};
    if (choice.mode != gameview::GameMode::Campaign && stack.Aftermath())
        if (auto failed = take(Layer::Mplayer, choice.mplayer, kMplayerFileName))
            return UnreadableLayer{Layer::Mplayer, *failed};
    return loaded;
}

}  // namespace morvane::gamesetup
