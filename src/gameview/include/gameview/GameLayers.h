#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gameview/Finding.h"
#include "gameview/GameEffective.h"
#include "gameview/GameIni.h"
#include "gameview/GameKeys.h"

// The files the game reads one on top of the other, and which of them decides each value.
//
// At program start the game reads the rules file and then, with Aftermath installed,
// AFTRMATH.INI, each through its whole rules reader. At every scenario start it reads both again
// and then the scenario (map) file through a smaller reader set that skips
// [MultiplayerDefaults] and [Maximums]. Outside campaign missions a few values are then set in
// code whatever the files say, and in skirmish and multiplayer games with Aftermath rules
// MPLAYER.INI is read last, through the scenario's reader set.
//
// Most keys change only when a later file names them. A few are reset whenever the later file
// has their section at all: every crate a [Powerups] does not list, land-type keys, warhead
// Verses, mission AARate, [General] Incoming and [Aftermath] NewUnitsEnabled.
namespace morvane::gameview {

// The layers from the bottom up.
enum class Layer { BuiltIn, Rules, Aftermath, Scenario, Forced, Mplayer };
inline constexpr std::size_t kLayerCount = 6;
inline constexpr std::array<Layer, kLayerCount> kAllLayers = {Layer::BuiltIn,  Layer::Rules,  Layer::Aftermath,
                                                              Layer::Scenario, Layer::Forced, Layer::Mplayer};

// "built-in", "rules", "aftermath", "scenario", "forced", "mplayer".
const char* LayerWord(Layer layer);
// The layers that are files of their own.
bool IsFileLayer(Layer layer);

enum class GameMode { Campaign, Skirmish, Multiplayer };
const char* GameModeWord(GameMode mode);  // "campaign", "skirmish", "multiplayer"
std::optional<GameMode> GameModeFromWord(std::string_view word);

// What one layer does to one key.
enum class LayerAction {
    None,    // the layer leaves the key alone (not in it, not read from it, or not in play)
    Sets,    // an entry of the layer's file names the key
    Resets,  // the layer has the key's section without the key, and the game resets the key
    Forces,  // the game sets the value in code
};

struct LayerValue {
    Layer layer = Layer::BuiltIn;
    LayerAction action = LayerAction::None;
    std::string file;      // the layer's file path; empty for the built-in and forced layers
    std::size_t line = 0;  // the entry's line, or for a reset the section header's line
    std::string text;      // the value the layer gives, as text
    // False when the layer names the key but its text makes the game keep the earlier value (a
    // bool that starts with another letter, an unknown warhead, ...).
    bool decides = false;
};

struct KeyResolution {
    std::string section;  // the section and key as the game spells them
    const SectionKind* kind = nullptr;
    const GameKey* key = nullptr;
    std::array<LayerValue, kLayerCount> layers{};
    Layer winner = Layer::BuiltIn;
    // What the game keeps, as `effective` prints it: "absent" when no file decides.
    EffectiveValue plays;

    const LayerValue& At(Layer layer) const { return layers[static_cast<std::size_t>(layer)]; }
};

// A finding of the check across layers, on a line of one layer's file.
struct LayerFinding {
    Layer layer = Layer::Rules;
    Finding finding;
    // Set when the finding says a later layer decides the line's value: that layer.
    std::optional<Layer> overriddenBy;
};

class LayerStack {
public:
    explicit LayerStack(const GameKeys& keys = GameKeys::BuiltIn());
    ~LayerStack();
    LayerStack(LayerStack&&) noexcept;
    LayerStack& operator=(LayerStack&&) noexcept;

    const GameKeys& Keys() const { return *m_keys; }

    void SetMode(GameMode mode) { m_mode = mode; }
    GameMode Mode() const { return m_mode; }
    // Whether the game runs with Aftermath: AFTRMATH.INI is read, and MPLAYER.INI outside
    // campaigns. On by default, also when no AFTRMATH.INI file is known (the game may have its
    // own copy inside its archives).
    void SetAftermath(bool on) { m_aftermath = on; }
    bool Aftermath() const { return m_aftermath; }

    // Gives a file layer (rules, aftermath, scenario, mplayer) its file; `path` names it in
    // findings and answers.
    void SetFile(Layer layer, std::string path, std::string_view bytes);
    // The same for a file read already: the reading is shared, not made again.
    void SetFile(Layer layer, std::string path, std::shared_ptr<const GameIni> ini);
    void ClearFile(Layer layer);
    // The file of a file layer, or nullptr.
    const GameIni* Ini(Layer layer) const;
    const std::string& Path(Layer layer) const;

    // Whether the layer takes part in the game as set up (a file layer also needs its file).
    bool InPlay(Layer layer) const;
    // Whether the game reads sections of this kind from the layer's file.
    static bool Reads(Layer layer, const SectionKind& kind);

    // Whether the layer, as set up, gives the key a value: sets it, resets it or forces it.
    bool Touches(Layer layer, const SectionKind& kind, const GameKey& key, std::string_view section) const;

    // Which layer decides SECTION KEY (exact names, as the game matches them) and what each
    // layer gives; nothing when the game never reads the key.
    std::optional<KeyResolution> Resolve(std::string_view section, std::string_view key) const;
    // The same for a key of the table, counting only the layers up to `last`: what a layer
    // inherits from those below it.
    KeyResolution Resolve(const SectionKind& kind, const GameKey& key, std::string_view section,
                          Layer last = Layer::Mplayer) const;

    // The findings across layers, for every file in play: values overridden by a later layer,
    // keys a layer never reads, partial [Powerups], a map's values MPLAYER.INI overrides, a map's
    // values kept into the missions that follow. Ordered by layer, then line.
    std::vector<LayerFinding> CheckLayers() const;
    // Every file in play checked on its own (a scenario's map sections left alone), with the
    // findings across layers: what `check` prints.
    std::vector<LayerFinding> CheckAll() const;

private:
    struct FileLayer;
    const FileLayer* File(Layer layer) const;
    bool IsMapFinding(const Finding& finding) const;

    const GameKeys* m_keys;
    GameMode m_mode = GameMode::Campaign;
    bool m_aftermath = true;
    std::array<std::unique_ptr<FileLayer>, kLayerCount> m_files;
};

}  // namespace morvane::gameview
