#include "gameview/PlayedValues.h"

#include <cstdlib>

#include "gameview/GameEffective.h"
#include "gameview/ReadingKinds.h"

namespace morvane::gameview {
namespace {

// Names the reader leaves as they were when it does not know the text.
bool KeepsUnknownName(Reading reading) { return reading == Reading::Warhead || reading == Reading::Projectile; }

}  // namespace

std::vector<std::string> LayerStackPlay::Texts(std::string_view section, std::string_view key) const {
    std::vector<std::string> texts;
    const SectionKind* kind = m_stack.Keys().KindOfSection(section);
    const GameKey* gameKey = kind == nullptr ? nullptr : GameKeys::FindKey(*kind, key);
    if (gameKey == nullptr) return texts;
    const KeyResolution resolution = m_stack.Resolve(*kind, *gameKey, section);
    for (const LayerValue& layer : resolution.layers)
        if (layer.layer != Layer::BuiltIn && layer.action != LayerAction::None) texts.push_back(layer.text);
    return texts;
}

const GameKey* PlayedValues::Key(std::string_view section, std::string_view key) const {
    const SectionKind* kind = m_keys.KindOfSection(section);
    return kind == nullptr ? nullptr : GameKeys::FindKey(*kind, key);
}

std::vector<std::string> PlayedValues::TextsOf(std::string_view section, const GameKey& key) const {
    const SectionKind* kind = m_keys.KindOfSection(section);
    if (kind == nullptr || !kind->read) return {};
    return m_texts.Texts(section, key.name);
}

std::int32_t PlayedValues::Int(std::string_view section, std::string_view name) const {
    const GameKey* key = Key(section, name);
    if (key == nullptr) return 0;
    // The value as the game stores it (its field's width and bounds), in the form `effective`
    // prints; a text the reader cannot use leaves the value before it.
    const ReadingKind& reading = KindOf(key->reading);
    const auto stored = [&](const std::string& text) -> std::optional<std::int32_t> {
        const std::string kept = reading.kept(m_keys, *key, text);
        char* end = nullptr;
        const long long value = std::strtoll(kept.c_str(), &end, 10);
        if (kept.empty() || end == nullptr || *end != '\0') return std::nullopt;
        return static_cast<std::int32_t>(value);
    };
    std::int32_t value = stored(key->builtIn).value_or(0);
    for (const std::string& text : TextsOf(section, *key))
        if (const auto read = stored(text)) value = *read;
    return value;
}

bool PlayedValues::Bool(std::string_view section, std::string_view name) const {
    const GameKey* key = Key(section, name);
    if (key == nullptr) return false;
    bool value = ReadGameBool(key->builtIn).value_or(false);
    for (const std::string& text : TextsOf(section, *key))
        if (const auto read = ReadGameBool(text)) value = *read;
    return value;
}

std::uint32_t PlayedValues::Fixed(std::string_view section, std::string_view name) const {
    const GameKey* key = Key(section, name);
    if (key == nullptr) return 0;
    std::uint32_t value = ReadGameFixed(key->builtIn);
    for (const std::string& text : TextsOf(section, *key)) value = ReadGameFixed(text);
    return value;
}

std::string PlayedValues::Name(std::string_view section, std::string_view name) const {
    const GameKey* key = Key(section, name);
    if (key == nullptr) return {};
    const auto spelling = [&](std::string_view text) -> std::optional<std::string> {
        const int index = m_keys.IndexOfName(key->reading, text);
        if (index < 0) return std::nullopt;
        return m_keys.Names(key->reading)[static_cast<std::size_t>(index)];
    };
    std::string value = spelling(key->builtIn).value_or("");
    for (const std::string& text : TextsOf(section, *key)) {
        const auto read = spelling(text);
        if (read || !KeepsUnknownName(key->reading)) value = read.value_or("");
    }
    return value;
}

GameVerses PlayedValues::Verses(std::string_view section, std::string_view name) const {
    const GameKey* key = Key(section, name);
    if (key == nullptr) return {};
    GameVerses value = ReadGameVerses(key->builtIn);
    for (const std::string& text : TextsOf(section, *key)) value = ReadGameVerses(text);
    return value;
}

std::optional<std::string> PlayedValues::LastText(std::string_view section, std::string_view name) const {
    const GameKey* key = Key(section, name);
    if (key == nullptr) return std::nullopt;
    std::vector<std::string> texts = TextsOf(section, *key);
    if (texts.empty()) return std::nullopt;
    return std::move(texts.back());
}

std::string PlayedValues::Text(std::string_view section, std::string_view name) const {
    const GameKey* key = Key(section, name);
    if (key == nullptr) return {};
    // A reading that cannot use a text leaves the value before it: "default" and "kept" are
    // what `effective` says of such a text on its own.
    const auto usable = [](const EffectiveValue& value) { return value.value != "default" && value.value != "kept"; };
    std::string value = key->builtIn;
    if (key->reading != Reading::Text && key->reading != Reading::Theme) {
        const GameEntry builtIn{key->name, key->builtIn, 0};
        const EffectiveValue read = Effective(m_keys, *key, &builtIn);
        if (usable(read)) value = read.value;
    }
    for (const std::string& text : TextsOf(section, *key)) {
        const GameEntry entry{key->name, text, 0};
        const EffectiveValue read = Effective(m_keys, *key, &entry);
        if (usable(read)) value = read.value;
    }
    return value;
}

std::optional<WeaponStats> PlayedValues::Weapon(std::string_view section) const {
    const SectionKind* kind = m_keys.KindOfSection(section);
    if (kind == nullptr || kind->name != "weapon") return std::nullopt;
    WeaponStats weapon;
    weapon.name = std::string(section);
    weapon.damage = Int(section, "Damage");
    weapon.rof = Int(section, "ROF");
    weapon.burst = Int(section, "Burst");
    const std::string warhead = Name(section, "Warhead");
    if (!warhead.empty()) {
        WarheadStats stats;
        stats.name = warhead;
        stats.verses = Verses(warhead, "Verses").values;
        stats.spread = Int(warhead, "Spread");
        stats.mechanical = warhead == "Mechanical";
        weapon.warhead = std::move(stats);
    }
    return weapon;
}

FighterStats PlayedValues::Fighter(std::string_view section) const {
    FighterStats fighter;
    fighter.section = std::string(section);
    const std::string primary = Name(section, "Primary");
    if (!primary.empty()) fighter.primary = Weapon(primary);
    const std::string secondary = Name(section, "Secondary");
    if (!secondary.empty()) fighter.secondary = Weapon(secondary);
    const GameKey* armour = Key(section, "Armor");
    if (armour != nullptr) {
        const int index = m_keys.IndexOfName(Reading::Armor, Name(section, "Armor"));
        if (index >= 0 && index < static_cast<int>(kArmours.size()))
            fighter.armour = kArmours[static_cast<std::size_t>(index)];
    }
    fighter.strength = static_cast<std::uint16_t>(Int(section, "Strength"));
    fighter.cost = Int(section, "Cost");
    fighter.canine = Key(section, "IsCanine") != nullptr && Bool(section, "IsCanine");
    return fighter;
}

CountryBiases PlayedValues::Country(std::string_view section) const {
    CountryBiases biases;
    if (section.empty()) return biases;
    biases.firepower = Fixed(section, "Firepower");
    biases.armour = Fixed(section, "Armor");
    biases.rof = Fixed(section, "ROF");
    return biases;
}

DamageBounds PlayedValues::Bounds() const { return {Int("General", "MinDamage"), Int("General", "MaxDamage")}; }

}  // namespace morvane::gameview
