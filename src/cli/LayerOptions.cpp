#include "cli/LayerOptions.h"

#include <algorithm>

#include "cli/ArgumentReading.h"
#include "platform/FileAccess.h"

namespace morvane::cli {

std::optional<gamesetup::LayerChoice> TakeLayerOptions(CommandContext& context, const char* name, const char* usage,
                                                       std::initializer_list<std::string_view> passOn, bool* anyGiven) {
    using Kind = gamesetup::LayerSource::Kind;
    gamesetup::LayerChoice choice;
    std::vector<std::string> rest;
    const auto fail = [&context, name, usage](const std::string& why) {
        context.err << "morvane-cli " << name << ": " << why << "\nusage: morvane-cli " << name << " " << usage << "\n";
        return std::nullopt;
    };
    // A layer named twice, or named and left out, is a contradiction rather than a choice.
    bool modeGiven = false;
    const auto source = [&](gamesetup::LayerSource& layer, Kind kind, std::string path) {
        if (layer.kind != Kind::Beside) return false;
        layer = {kind, std::move(path)};
        return true;
    };
    const std::vector<std::string>& args = context.args;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) != 0 || std::find(passOn.begin(), passOn.end(), arg) != passOn.end()) {
            rest.push_back(arg);
            continue;
        }
        const bool takesValue = arg == "--mode" || arg == "--aftermath" || arg == "--mplayer" || arg == "--scenario";
        if (takesValue && i + 1 >= args.size()) return fail(arg + " needs a value");
        if (arg == "--mode") {
            const auto mode = gameview::GameModeFromWord(args[++i]);
            if (!mode) return fail("unknown mode " + args[i] + " (campaign, skirmish or multiplayer)");
            if (modeGiven) return fail("--mode is given twice");
            modeGiven = true;
            choice.mode = *mode;
        } else if (arg == "--aftermath" || arg == "--no-aftermath") {
            const bool given = arg == "--aftermath";
            if (!source(choice.aftermath, given ? Kind::Given : Kind::Off, given ? args[++i] : std::string()))
                return fail("AFTRMATH.INI is chosen twice");
        } else if (arg == "--mplayer" || arg == "--no-mplayer") {
            const bool given = arg == "--mplayer";
            if (!source(choice.mplayer, given ? Kind::Given : Kind::Off, given ? args[++i] : std::string()))
                return fail("MPLAYER.INI is chosen twice");
        } else if (arg == "--scenario") {
            if (!choice.scenario.empty()) return fail("--scenario is given twice");
            choice.scenario = args[++i];
            if (choice.scenario.empty()) return fail("--scenario needs a file");
        } else {
            return fail("unknown option " + arg);
        }
    }
    if (anyGiven != nullptr) *anyGiven = rest.size() != args.size();
    context.args = std::move(rest);
    if (!context.args.empty()) choice.rules = context.args.front();
    return choice;
}

std::optional<gamesetup::LoadedLayers> LoadLayersOrSay(const CommandContext& context,
                                                       const gamesetup::LayerChoice& choice) {
    auto loaded = gamesetup::LoadLayers(choice);
    if (auto* failed = std::get_if<gamesetup::UnreadableLayer>(&loaded)) {
        // The failed read is the last one made: its reason is still recorded.
        context.err << "morvane-cli: " << platform::DescribeReadFailure(platform::LastFileFailure().error, failed->path)
                    << "\n";
        return std::nullopt;
    }
    return std::move(std::get<gamesetup::LoadedLayers>(loaded));
}

}  // namespace morvane::cli
