#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "gameview/Combat.h"
#include "gameview/GameIni.h"
#include "gameview/GameKeys.h"
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

// The kind of game: campaign missions take the files as they are; skirmish and multiplayer
// games force England's armour bias and France's rate-of-fire bias to 0.9.
enum class PlayMode { Campaign, Skirmish, Multiplayer };

// One rules file as the game reads it, with the values the mode forces on top.
class RulesFilePlay : public PlayedTexts {
public:
    RulesFilePlay(const GameIni& ini, PlayMode mode) : m_ini(ini), m_mode(mode) {}
    std::vector<std::string> Texts(std::string_view section, std::string_view key) const override;

private:
    const GameIni& m_ini;
    PlayMode m_mode;
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
