#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "gameview/Combat.h"
#include "gameview/GameIni.h"
#include "gameview/GameKeys.h"
#include "gameview/GameLayers.h"
#include "gameview/GameValues.h"

namespace morvane::gameview {

// Where the game takes the texts of one key from: every file it reads for it, one over the
// other, and the values it forces.
class PlayedTexts {
public:
    virtual ~PlayedTexts() = default;
    // The texts the game reads for `key` in `section`, the first one read first; none when no
    // file names the key (the built-in value stays).
    virtual std::vector<std::string> Texts(std::string_view section, std::string_view key) const = 0;
};

// The texts every layer of a game gives a key: the files it reads one over the other, the
// sections they reset and the values the game forces outside campaigns.
class LayerStackPlay : public PlayedTexts {
public:
    explicit LayerStackPlay(const LayerStack& stack) : m_stack(stack) {}
    std::vector<std::string> Texts(std::string_view section, std::string_view key) const override;

private:
    const LayerStack& m_stack;
};

// The value the game keeps for each key once it has read every text of it, starting from its
// built-in value: a text the reader cannot use (a boolean that is neither yes nor no, an
// unknown warhead) leaves the value before it.
class PlayedValues {
public:
    PlayedValues(const GameKeys& keys, const PlayedTexts& texts) : m_keys(keys), m_texts(texts) {}

    const GameKeys& Keys() const { return m_keys; }
    // The key as the game reads it in this section, or nullptr.
    const GameKey* Key(std::string_view section, std::string_view key) const;

    std::int32_t Int(std::string_view section, std::string_view key) const;  // kept in the key's bits
    bool Bool(std::string_view section, std::string_view key) const;
    std::uint32_t Fixed(std::string_view section, std::string_view key) const;
    // The game's spelling of the name a name key holds; empty for none.
    std::string Name(std::string_view section, std::string_view key) const;
    GameVerses Verses(std::string_view section, std::string_view key) const;

    // The last text a layer gives the key, as written; nothing when none does.
    std::optional<std::string> LastText(std::string_view section, std::string_view key) const;
    // The value as `morvane-cli effective` prints it (without its kind).
    std::string Text(std::string_view section, std::string_view key) const;

    // The numbers the fights need.
    std::optional<WeaponStats> Weapon(std::string_view section) const;
    FighterStats Fighter(std::string_view section) const;
    // Nothing for an empty name: the biases of no country are all 1.
    CountryBiases Country(std::string_view section) const;
    DamageBounds Bounds() const;

private:
    std::vector<std::string> TextsOf(std::string_view section, const GameKey& key) const;

    const GameKeys& m_keys;
    const PlayedTexts& m_texts;
};

}  // namespace morvane::gameview
