#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "gameview/NameIndex.h"

namespace morvane::gameview {

// Lets maps of names be searched with a string_view without making a string first.
struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
};
template <typename Value>
using NameMap = std::unordered_map<std::string, Value, NameHash, std::equal_to<>>;

// How the game turns the text of one key into its value. The table of what each one means
// (its parse, the value kept, its words and its check) is in ReadingKinds.h.
enum class Reading {
    Bool,        // first character Y T 1 / N F 0, anything else keeps the built-in value
    Int,         // atoi, or hexadecimal as $1F or 1Fh
    Int16u,      // an Int kept in 16 unsigned bits
    Int8u,       // an Int kept in 8 unsigned bits
    Int100,      // an Int kept between 0 and 100
    Explosion,   // an Int naming one of the game's explosion sets, 0 to 6
    InfDeath,    // an Int naming one of the game's infantry deaths, 0 to 5
    Weapons,     // an Int that sizes the game's weapon table
    Warheads,    // an Int that sizes the game's warhead table
    Fixed,       // 16.16 fixed point: a multiplier or an amount ("1.5", "150%")
    Fraction,    // 16.16 fixed point meant as a share of a whole ("25%", ".25")
    Flag,        // read as fixed point, rounded, and kept in one bit
    Minutes,     // fixed point, a time in minutes
    Cells,       // fixed point cells, kept as leptons (256 a cell) in 16 bits
    Speed,       // an Int from 0 to 100 kept as 0 to 255
    Weapon,      // a weapon name; anything else means no weapon
    Warhead,     // a warhead name; anything else keeps the previous one
    Projectile,  // a projectile name; anything else keeps the previous one
    Armor,       // an armour name; anything else means none
    Sound,       // a sound effect name; anything else means no sound
    Anim,        // an animation name; anything else means no animation
    Crate,       // a crate bonus name; anything else means Money
    Vehicle,     // a land vehicle name; anything else means a random vehicle
    Buildings,   // a list of buildings, bits in the game's building order
    Owners,      // a list of houses and the words soviet, allies, allied
    Verses,      // five fixed-point values against the armours
    Powerup,     // shares, animation and data of a crate bonus
    Theme,       // scenario number and one owner
    Text,        // any text
};

struct GameKey {
    std::string name;
    Reading reading = Reading::Text;
    std::string builtIn;  // what the game uses when the key is missing, in words or file form
};

// A kind of section: General, building, weapon, ... with the names of its sections in the
// game's own order and the keys the game reads from each.
struct SectionKind {
    std::string name;
    bool read = true;  // false: this version of the game never opens these sections
    std::vector<std::string> sections;
    std::vector<GameKey> keys;
    // Positions in `sections` and in `keys` in name order without regard to ASCII case, and
    // `keys` indexed by exact name: what the lookups search.
    std::vector<std::uint16_t> sectionOrderNoCase, keyOrderNoCase;
    NameIndex keyIndex;
    std::vector<std::pair<std::string, std::string>>
        shippedSpellings;  // a spelling of the shipped files -> the key read
};

// Everything the game reads from its rules file, from the table in resources/game-keys.tsv.
class GameKeys {
public:
    // Parses the table; an unknown reading or a key of an undeclared kind is a fault of the
    // table and is returned as a message naming its line.
    static std::optional<std::string> Parse(std::string_view text, GameKeys& out);
    // The table compiled into the program (made from ready arrays; nothing is parsed).
    static const GameKeys& BuiltIn();

    // The kind of a section the game reads under exactly this name, or nullptr.
    const SectionKind* KindOfSection(std::string_view section) const;
    // The game's spelling of a section whose name differs only in letter case, or nullptr.
    const std::string* SectionNoCase(std::string_view section) const;
    const SectionKind* Kind(std::string_view kindName) const;
    const std::vector<SectionKind>& Kinds() const { return m_kinds; }

    static const GameKey* FindKey(const SectionKind& kind, std::string_view key);
    static const GameKey* FindKeyNoCase(const SectionKind& kind, std::string_view key);

    // A section and key in the game's own spelling, found as given or else differing only in
    // letter case (a name typed by a modder or taken from an editor's catalogue). Nothing when
    // the game has no such key.
    struct NamedKey {
        std::string section;
        const SectionKind* kind = nullptr;
        const GameKey* key = nullptr;
    };
    std::optional<NamedKey> FindNamed(std::string_view section, std::string_view key) const;
    // The key the game reads where its own shipped files write `key`, or nullptr.
    static const GameKey* ReadInsteadOf(const SectionKind& kind, std::string_view key);

    // The section and key as the game spells them where it knows them in other letter case;
    // names it does not know stay as given.
    struct Spelling {
        std::string section;
        std::string key;
    };
    Spelling SpellingOf(std::string_view section, std::string_view key) const;

    // Whether the game opens `section` (exact name) and never reads `key` in it: a line the
    // game passes over though whoever wrote it expects an effect.
    bool IgnoresKey(std::string_view section, std::string_view key) const;

    // The names a reading accepts, in the game's order (houses, buildings, weapons, ...).
    const std::vector<std::string>& Names(Reading reading) const;
    // The index of a name among Names(reading), compared without regard to case; -1 when none.
    int IndexOfName(Reading reading, std::string_view name) const;
    // The houses an owner list means by "soviet", and by "allies" or "allied": bits in the
    // game's house order.
    std::uint32_t SovietHouses() const { return m_sovietHouses; }
    std::uint32_t AlliedHouses() const { return m_alliedHouses; }

private:
    struct NameList {
        const std::vector<std::string>* names;
        const std::vector<std::uint16_t>* order;  // positions in *names, without regard to case
    };
    static GameKeys FromEmbedded();
    // Fills in what follows from the kinds and the sound and animation names.
    void Finish();
    NameList NamesOf(Reading reading) const;

    std::vector<SectionKind> m_kinds;
    std::vector<std::string> m_sounds, m_animations, m_crates, m_armours;
    std::vector<std::uint16_t> m_soundOrder, m_animationOrder, m_crateOrder, m_armourOrder;
    std::vector<int> m_namesKind;  // by Reading: the kind whose sections are its names, or -1
    std::uint32_t m_sovietHouses = 0, m_alliedHouses = 0;
    // Every kind's sections back to back as (kind, position in its sections), positions in that
    // list in name order without regard to case, and the list indexed by exact name.
    std::vector<std::pair<std::uint16_t, std::uint16_t>> m_sectionAt;
    std::vector<std::uint16_t> m_sectionOrderNoCase;
    NameIndex m_sectionIndex;
    const std::string& SectionAt(std::size_t position) const;
    const std::string* FindSection(std::string_view section, bool ignoreCase, const SectionKind** kind) const;
};

}  // namespace morvane::gameview
