#include "gameview/GameLayers.h"

#include <algorithm>
#include <unordered_map>

#include "common/TextOps.h"
#include "gameview/GameCheck.h"
#include "gameview/GameValues.h"

namespace morvane::gameview {

// One file of the stack, read the game's way, with the sections and entries the game finds.
struct LayerStack::FileLayer {
    FileLayer(std::string filePath, std::shared_ptr<const GameIni> reading)
        : path(std::move(filePath)), held(std::move(reading)), ini(*held) {
        const std::size_t slash = path.find_last_of("/\\");
        name = slash == std::string::npos ? path : path.substr(slash + 1);
        for (const GameSection& section : ini.Sections()) {
            // The game finds one section of a name; GameIni::Find takes the first with entries.
            if (!section.entries.empty()) sections.emplace(section.name, &section);
        }
    }

    const GameSection* Section(std::string_view sectionName) const {
        const auto found = sections.find(sectionName);
        return found == sections.end() ? nullptr : found->second;
    }
    // The first entry of the key, the one GameIni::Find gives.
    static const GameEntry* Entry(const GameSection& section, std::string_view key) {
        for (const GameEntry& entry : section.entries)
            if (entry.key == key) return &entry;
        return nullptr;
    }

    std::string path;
    std::string name;                     // the file name without its folder, for messages
    std::shared_ptr<const GameIni> held;  // shared with whoever read the file
    const GameIni& ini;
    NameMap<const GameSection*> sections;
};

namespace {

std::size_t IndexOf(Layer layer) { return static_cast<std::size_t>(layer); }

// The value a key takes when a later file has its section but not the key; nothing for the
// keys that keep their earlier value.
std::optional<std::string> ResetText(const SectionKind& kind, const GameKey& key) {
    if (kind.name == "Powerups") return std::string("0,NONE");
    if (kind.name == "land") return key.builtIn;
    if (kind.name == "warhead" && key.name == "Verses") return key.builtIn;
    if (kind.name == "mission" && key.name == "AARate") return std::string("0");
    if (kind.name == "General" && key.name == "Incoming") return std::string("0");
    if (kind.name == "Aftermath" && key.name == "NewUnitsEnabled") return std::string("0");
    return std::nullopt;
}

// The value before any file: the land table starts zero-filled (no speed, not buildable); every
// other key starts at its built-in value.
std::string InitialText(const SectionKind& kind, const GameKey& key) {
    if (kind.name == "land") return key.reading == Reading::Bool ? "no" : "0";
    return key.builtIn;
}

// The values the game sets in code outside campaign missions, whatever the files say.
struct ForcedValue {
    std::string_view section;
    std::string_view key;
    std::string_view text;   // shown as the layer's value
    std::string_view plays;  // what the game keeps, when the text is not a value the reader reads
};
constexpr ForcedValue kForced[] = {
    {"England", "Armor", "0.9", ""},
    {"France", "ROF", "0.9", ""},
    {"General", "OreGrows", "the game's option", "option"},
    {"General", "OreSpreads", "the game's option", "option"},
};

const ForcedValue* ForcedFor(std::string_view section, std::string_view key) {
    for (const ForcedValue& forced : kForced)
        if (forced.section == section && forced.key == key) return &forced;
    return nullptr;
}

// Whether an effective value means the game kept what it had.
void SortByLine(std::vector<LayerFinding>& findings) {
    std::stable_sort(findings.begin(), findings.end(),
                     [](const LayerFinding& a, const LayerFinding& b) { return a.finding.line < b.finding.line; });
}

bool KeepsEarlier(const std::string& value) { return value == "default" || value == "kept"; }

std::int32_t SharesOf(const KeyResolution& resolution) {
    if (resolution.plays.value == "absent") return ReadGamePowerup(resolution.key->builtIn).shares;
    return ReadGamePowerup(resolution.plays.value).shares;
}

}  // namespace

const char* LayerWord(Layer layer) {
    switch (layer) {
        case Layer::BuiltIn:
            return "built-in";
        case Layer::Rules:
            return "rules";
        case Layer::Aftermath:
            return "aftermath";
        case Layer::Scenario:
            return "scenario";
        case Layer::Forced:
            return "forced";
        case Layer::Mplayer:
            return "mplayer";
    }
    return "built-in";
}

bool IsFileLayer(Layer layer) { return layer != Layer::BuiltIn && layer != Layer::Forced; }

const char* GameModeWord(GameMode mode) {
    switch (mode) {
        case GameMode::Campaign:
            return "campaign";
        case GameMode::Skirmish:
            return "skirmish";
        case GameMode::Multiplayer:
            return "multiplayer";
    }
    return "campaign";
}

std::optional<GameMode> GameModeFromWord(std::string_view word) {
    for (GameMode mode : {GameMode::Campaign, GameMode::Skirmish, GameMode::Multiplayer})
        if (word == GameModeWord(mode)) return mode;
    return std::nullopt;
}

LayerStack::LayerStack(const GameKeys& keys) : m_keys(&keys) {}
LayerStack::~LayerStack() = default;
LayerStack::LayerStack(LayerStack&&) noexcept = default;
LayerStack& LayerStack::operator=(LayerStack&&) noexcept = default;

void LayerStack::SetFile(Layer layer, std::string path, std::string_view bytes) {
    if (!IsFileLayer(layer)) return;
    SetFile(layer, std::move(path), std::make_shared<const GameIni>(bytes));
}

void LayerStack::SetFile(Layer layer, std::string path, std::shared_ptr<const GameIni> ini) {
    if (!IsFileLayer(layer) || ini == nullptr) return;
    m_files[IndexOf(layer)] = std::make_unique<FileLayer>(std::move(path), std::move(ini));
}

void LayerStack::ClearFile(Layer layer) { m_files[IndexOf(layer)].reset(); }

const LayerStack::FileLayer* LayerStack::File(Layer layer) const { return m_files[IndexOf(layer)].get(); }

const GameIni* LayerStack::Ini(Layer layer) const {
    const FileLayer* file = File(layer);
    return file == nullptr ? nullptr : &file->ini;
}

const std::string& LayerStack::Path(Layer layer) const {
    static const std::string kNone;
    const FileLayer* file = File(layer);
    return file == nullptr ? kNone : file->path;
}

bool LayerStack::InPlay(Layer layer) const {
    switch (layer) {
        case Layer::BuiltIn:
            return true;
        case Layer::Rules:
        case Layer::Scenario:
            return File(layer) != nullptr;
        case Layer::Aftermath:
            return m_aftermath && File(layer) != nullptr;
        case Layer::Forced:
            return m_mode != GameMode::Campaign;
        case Layer::Mplayer:
            return m_mode != GameMode::Campaign && m_aftermath && File(layer) != nullptr;
    }
    return false;
}

bool LayerStack::Reads(Layer layer, const SectionKind& kind) {
    if (!kind.read) return false;
    // The scenario's reader set: the rules reader less the two sections read only at program
    // start.
    if (layer == Layer::Scenario || layer == Layer::Mplayer)
        return kind.name != "MultiplayerDefaults" && kind.name != "Maximums";
    return layer == Layer::Rules || layer == Layer::Aftermath;
}

bool LayerStack::Touches(Layer layer, const SectionKind& kind, const GameKey& key, std::string_view section) const {
    if (layer == Layer::BuiltIn || !InPlay(layer)) return false;
    if (layer == Layer::Forced) return ForcedFor(section, key.name) != nullptr;
    if (!Reads(layer, kind)) return false;
    const GameSection* found = File(layer)->Section(section);
    return found != nullptr && (ResetText(kind, key) || FileLayer::Entry(*found, key.name) != nullptr);
}

std::optional<KeyResolution> LayerStack::Resolve(std::string_view section, std::string_view key) const {
    const SectionKind* kind = m_keys->KindOfSection(section);
    if (kind == nullptr || !kind->read) return std::nullopt;
    const GameKey* found = GameKeys::FindKey(*kind, key);
    if (found == nullptr) return std::nullopt;
    return Resolve(*kind, *found, section, Layer::Mplayer);
}

KeyResolution LayerStack::Resolve(const SectionKind& kind, const GameKey& key, std::string_view section,
                                  Layer last) const {
    KeyResolution result;
    result.section = std::string(section);
    result.kind = &kind;
    result.key = &key;
    result.plays = Effective(*m_keys, key, nullptr);
    for (Layer layer : kAllLayers) result.layers[IndexOf(layer)].layer = layer;
    LayerValue& builtIn = result.layers[IndexOf(Layer::BuiltIn)];
    builtIn.text = InitialText(kind, key);
    builtIn.decides = true;

    const bool powerup = key.reading == Reading::Powerup;
    std::int64_t powerupData = powerup ? ReadGamePowerup(key.builtIn).data : 0;
    const std::optional<std::string> reset = ResetText(kind, key);

    for (Layer layer : kAllLayers) {
        if (layer == Layer::BuiltIn) continue;
        if (IndexOf(layer) > IndexOf(last)) break;
        if (!InPlay(layer)) continue;
        LayerValue& value = result.layers[IndexOf(layer)];
        if (layer == Layer::Forced) {
            const ForcedValue* forced = ForcedFor(section, key.name);
            if (forced == nullptr) continue;
            value.action = LayerAction::Forces;
            value.text = std::string(forced->text);
            value.decides = true;
            result.winner = layer;
            if (!forced->plays.empty()) {
                result.plays.value = std::string(forced->plays);
            } else {
                const GameEntry entry{key.name, value.text, 0};
                result.plays = Effective(*m_keys, key, &entry);
            }
            continue;
        }
        if (!Reads(layer, kind)) continue;
        const FileLayer& file = *File(layer);
        const GameSection* found = file.Section(section);
        if (found == nullptr) continue;
        if (const GameEntry* entry = FileLayer::Entry(*found, key.name)) {
            value.action = LayerAction::Sets;
            value.line = entry->line;
            value.text = entry->value;
        } else if (reset) {
            value.action = LayerAction::Resets;
            value.line = found->line;
            value.text = *reset;
        } else {
            continue;
        }
        value.file = file.path;
        const GameEntry entry{key.name, value.text, value.line};
        EffectiveValue effective = Effective(*m_keys, key, &entry);
        if (powerup) {
            // A crate line without a third field keeps the data it had.
            const GamePowerup read = ReadGamePowerup(value.text);
            if (read.hasData) powerupData = read.data;
            effective.value = effective.value.substr(0, effective.value.rfind(',') + 1) + std::to_string(powerupData);
        }
        value.decides = !KeepsEarlier(effective.value);
        if (value.decides) {
            result.winner = layer;
            result.plays = std::move(effective);
        } else if (result.plays.value == "absent") {
            // The built-in value stays; say why, as for a single file.
            result.plays = std::move(effective);
        }
    }
    return result;
}

namespace {

class LayerChecker {
public:
    explicit LayerChecker(const LayerStack& stack) : m_stack(stack), m_keys(stack.Keys()) {}

    std::vector<LayerFinding> Run(Layer layer) {
        m_layer = layer;
        const GameIni& ini = *m_stack.Ini(layer);
        std::unordered_map<std::string_view, bool> seen;
        for (const GameSection& section : ini.Sections()) {
            if (section.entries.empty() || !seen.emplace(section.name, true).second) continue;
            const SectionKind* kind = m_keys.KindOfSection(section.name);
            if (kind == nullptr || !kind->read) continue;
            if (!LayerStack::Reads(layer, *kind)) {
                NeverRead(section);
                continue;
            }
            if (kind->name == "Powerups") PartialPowerups(section, *kind);
            std::unordered_map<std::string_view, bool> seenKeys;
            for (const GameEntry& entry : section.entries) {
                if (!seenKeys.emplace(entry.key, true).second) continue;
                const GameKey* key = GameKeys::FindKey(*kind, entry.key);
                if (key != nullptr) Entry(section, entry, *kind, *key);
            }
        }
        return std::move(m_findings);
    }

private:
    void Add(std::size_t line, Level level, std::string_view section, std::string_view key, std::string message,
             std::optional<Layer> overriddenBy = std::nullopt) {
        m_findings.push_back(
            {m_layer, {line, level, std::string(section), std::string(key), std::move(message)}, overriddenBy});
    }

    std::string FileName(Layer layer) const {
        const std::string& path = m_stack.Path(layer);
        const std::size_t slash = path.find_last_of("/\\");
        return slash == std::string::npos ? path : path.substr(slash + 1);
    }

    void NeverRead(const GameSection& section) {
        const std::string from = m_layer == Layer::Scenario ? "a scenario file" : "MPLAYER.INI";
        for (const GameEntry& entry : section.entries)
            Add(entry.line, Level::Warning, section.name, entry.key,
                "The game reads [" + std::string(section.name) +
                    "] only from the rules file and AFTRMATH.INI, at program start, "
                    "never from " +
                    from + "; this line has no effect.");
    }

    void PartialPowerups(const GameSection& section, const SectionKind& kind) {
        std::string off;
        std::size_t listed = 0;
        for (const GameKey& crate : kind.keys) {
            const bool named = std::any_of(section.entries.begin(), section.entries.end(),
                                           [&crate](const GameEntry& entry) { return entry.key == crate.name; });
            if (named) {
                ++listed;
                continue;
            }
            const auto below = static_cast<Layer>(static_cast<int>(m_layer) - 1);
            const KeyResolution before = m_stack.Resolve(kind, crate, section.name, below);
            if (SharesOf(before) <= 0) continue;
            off += (off.empty() ? "" : ", ") + crate.name;
        }
        if (off.empty()) return;
        Add(section.line, Level::Warning, section.name, "",
            "[Powerups] lists " + std::to_string(listed) + " of the " + std::to_string(kind.keys.size()) +
                " crates, and the game turns off every crate it does not list: " + off +
                ". List those too to keep them.");
    }

    void Entry(const GameSection& section, const GameEntry& entry, const SectionKind& kind, const GameKey& key) {
        // Most keys are named by one file only: no need to work out who wins.
        bool later = false;
        for (int layer = static_cast<int>(m_layer) + 1; layer < static_cast<int>(kLayerCount) && !later; ++layer)
            later = m_stack.Touches(static_cast<Layer>(layer), kind, key, section.name);
        if (!later && m_layer != Layer::Scenario) return;
        const KeyResolution resolution = m_stack.Resolve(kind, key, section.name, Layer::Mplayer);
        const Layer winner = resolution.winner;
        if (static_cast<int>(winner) > static_cast<int>(m_layer)) Overridden(section, entry, resolution);
        if (m_layer == Layer::Scenario && resolution.At(Layer::Scenario).decides)
            KeptAfterwards(section, entry, kind, key);
    }

    void Overridden(const GameSection& section, const GameEntry& entry, const KeyResolution& resolution) {
        const LayerValue& winner = resolution.At(resolution.winner);
        const std::string plays = resolution.plays.value;
        if (winner.layer == Layer::Forced) {
            Add(entry.line, Level::Note, section.name, entry.key,
                "Overridden in skirmish and multiplayer games: the game sets " + std::string(entry.key) + " to " +
                    winner.text + " there, whatever the files say.",
                winner.layer);
            return;
        }
        const std::string file = FileName(winner.layer);
        std::string what;
        if (winner.action == LayerAction::Resets)
            what = "[" + std::string(section.name) + "] in " + file + " (line " + std::to_string(winner.line) +
                   ") leaves " + std::string(entry.key) + " out, which resets it to " + winner.text;
        else
            what =
                file + " line " + std::to_string(winner.line) + " sets " + std::string(entry.key) + "=" + winner.text;
        if (m_layer == Layer::Scenario && winner.layer == Layer::Mplayer) {
            Add(entry.line, Level::Warning, section.name, entry.key,
                "MPLAYER.INI is read after the map in skirmish and multiplayer games: " + what +
                    ", so this value never takes effect there.",
                winner.layer);
            return;
        }
        Add(entry.line, Level::Note, section.name, entry.key,
            "Overridden: " + what + ", and the game plays that (" + resolution.plays.kind + " " + plays + ").",
            winner.layer);
    }

    // The game re-reads only the rules file and AFTRMATH.INI at the next scenario start, so a
    // map's value for a key they do not name stays until the program restarts.
    void KeptAfterwards(const GameSection& section, const GameEntry& entry, const SectionKind& kind,
                        const GameKey& key) {
        std::vector<std::string> below;
        for (Layer layer : {Layer::Rules, Layer::Aftermath}) {
            if (!m_stack.InPlay(layer)) continue;
            if (m_stack.Touches(layer, kind, key, section.name)) return;
            below.push_back(FileName(layer));
        }
        const std::string files = below.empty()       ? std::string("No rules file sets ")
                                  : below.size() == 1 ? below[0] + " does not set "
                                                      : "Neither " + below[0] + " nor " + below[1] + " sets ";
        Add(entry.line, Level::Note, section.name, entry.key,
            files + std::string(entry.key) + " in [" + std::string(section.name) +
                "], so the game keeps this map's value in the missions that follow, until the game is restarted.");
    }

    const LayerStack& m_stack;
    const GameKeys& m_keys;
    Layer m_layer = Layer::Rules;
    std::vector<LayerFinding> m_findings;
};

}  // namespace

std::vector<LayerFinding> LayerStack::CheckLayers() const {
    std::vector<LayerFinding> all;
    for (Layer layer : kAllLayers) {
        if (!IsFileLayer(layer) || !InPlay(layer)) continue;
        std::vector<LayerFinding> found = LayerChecker(*this).Run(layer);
        SortByLine(found);
        all.insert(all.end(), std::make_move_iterator(found.begin()), std::make_move_iterator(found.end()));
    }
    return all;
}

std::vector<LayerFinding> LayerStack::CheckAll() const {
    std::vector<LayerFinding> across = CheckLayers();
    std::vector<LayerFinding> all;
    all.reserve(across.size());
    for (Layer layer : kAllLayers) {
        if (!IsFileLayer(layer) || !InPlay(layer)) continue;
        std::vector<LayerFinding> found;
        for (Finding& finding : CheckRulesFile(File(layer)->ini, *m_keys)) {
            if (layer == Layer::Scenario && IsMapFinding(finding)) continue;
            found.push_back({layer, std::move(finding), std::nullopt});
        }
        for (LayerFinding& finding : across)
            if (finding.layer == layer) found.push_back(std::move(finding));
        SortByLine(found);
        all.insert(all.end(), std::make_move_iterator(found.begin()), std::make_move_iterator(found.end()));
    }
    return all;
}

// A scenario's own map sections ([Basic], [Map], [Waypoints], ...) and the map data in its house
// sections are no rules the game could read: the file's own check has nothing to say about them.
bool LayerStack::IsMapFinding(const Finding& finding) const {
    if (finding.section.empty()) return false;
    const SectionKind* kind = m_keys->KindOfSection(finding.section);
    if (kind == nullptr) return m_keys->SectionNoCase(finding.section) == nullptr;
    return kind->name == "country" && !finding.key.empty() && GameKeys::FindKey(*kind, finding.key) == nullptr &&
           GameKeys::FindKeyNoCase(*kind, finding.key) == nullptr;
}

}  // namespace morvane::gameview
