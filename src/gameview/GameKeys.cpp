#include "gameview/GameKeys.h"

#include <initializer_list>

#include "GameKeysSyntax.h"
#include "gameview/EmbeddedGameKeys.h"
#include "gameview/ReadingKinds.h"

namespace morvane::gameview {
namespace {

namespace syntax = game_keys_syntax;

constexpr std::size_t kReadingCount = static_cast<std::size_t>(Reading::Text) + 1;

template <typename List>
std::vector<std::uint16_t> OrderOf(const List& list, bool ignoreCase) {
    return syntax::SearchOrder(
        list.size(), [&list](std::size_t i) -> std::string_view { return list[i]; }, ignoreCase);
}

std::vector<std::uint16_t> KeyOrderOf(const std::vector<GameKey>& keys, bool ignoreCase) {
    return syntax::SearchOrder(
        keys.size(), [&keys](std::size_t i) -> std::string_view { return keys[i].name; }, ignoreCase);
}

// The position in `list` of the first name equal to `name`, by a search over `order`; -1 when none.
int FindName(const std::vector<std::string>& list, const std::vector<std::uint16_t>& order, std::string_view name,
             bool ignoreCase) {
    return syntax::FindInOrder(
        order.data(), order.size(), [&list](std::size_t i) -> std::string_view { return list[i]; }, name, ignoreCase);
}

const GameKey* FindKeyIn(const SectionKind& kind, const std::vector<std::uint16_t>& order, std::string_view key,
                         bool ignoreCase) {
    const auto& keys = kind.keys;
    const int found = syntax::FindInOrder(
        order.data(), order.size(), [&keys](std::size_t i) -> std::string_view { return keys[i].name; }, key,
        ignoreCase);
    return found < 0 ? nullptr : &keys[static_cast<std::size_t>(found)];
}

template <typename Item>
std::vector<Item> Slice(const Item* items, std::size_t first, std::size_t count) {
    return std::vector<Item>(items + first, items + first + count);
}

std::vector<std::string> Strings(const std::string_view* items, std::size_t first, std::size_t count) {
    std::vector<std::string> strings;
    strings.reserve(count);
    for (std::size_t i = first; i < first + count; ++i) strings.emplace_back(items[i]);
    return strings;
}

}  // namespace

std::optional<std::string> GameKeys::Parse(std::string_view text, GameKeys& out) {
    out = GameKeys();
    syntax::Table table;
    const auto known = [](std::string_view word) { return ReadingNamed(word).has_value(); };
    if (const auto error = syntax::ReadTable(text, table, known))
        return "line " + std::to_string(error->line) + ": " + error->message;
    for (syntax::Kind& read : table.kinds) {
        SectionKind kind;
        kind.name = std::move(read.name);
        kind.read = read.read;
        kind.sections = std::move(read.sections);
        for (syntax::Key& key : read.keys)
            kind.keys.push_back({std::move(key.name), *ReadingNamed(key.reading), std::move(key.builtIn)});
        kind.shippedSpellings = std::move(read.spellings);
        kind.sectionOrderNoCase = OrderOf(kind.sections, true);
        kind.keyOrderNoCase = KeyOrderOf(kind.keys, true);
        out.m_kinds.push_back(std::move(kind));
    }
    out.m_sounds = std::move(table.sounds);
    out.m_animations = std::move(table.animations);
    out.m_soundOrder = OrderOf(out.m_sounds, true);
    out.m_animationOrder = OrderOf(out.m_animations, true);
    out.Finish();
    out.m_sectionOrderNoCase = syntax::SearchOrder(
        out.m_sectionAt.size(), [&out](std::size_t i) -> std::string_view { return out.SectionAt(i); }, true);
    return std::nullopt;
}

GameKeys GameKeys::FromEmbedded() {
    GameKeys table;
    table.m_kinds.reserve(kEmbeddedGameKeysKindCount);
    for (std::size_t k = 0; k < kEmbeddedGameKeysKindCount; ++k) {
        const EmbeddedGameKind& embedded = kEmbeddedGameKeysKinds[k];
        SectionKind kind;
        kind.name = embedded.name;
        kind.read = embedded.read;
        kind.sections = Strings(kEmbeddedGameKeysSections, embedded.firstSection, embedded.sectionCount);
        kind.sectionOrderNoCase =
            Slice(kEmbeddedGameKeysSectionOrderNoCase, embedded.firstSection, embedded.sectionCount);
        kind.keys.reserve(embedded.keyCount);
        for (std::size_t i = embedded.firstKey; i < embedded.firstKey + embedded.keyCount; ++i) {
            const EmbeddedGameKey& key = kEmbeddedGameKeysKeys[i];
            // The tests hold every reading word of the table to the parse, which refuses unknown ones.
            kind.keys.push_back(
                {std::string(key.name), ReadingNamed(key.reading).value_or(Reading::Text), std::string(key.builtIn)});
        }
        kind.keyOrderNoCase = Slice(kEmbeddedGameKeysKeyOrderNoCase, embedded.firstKey, embedded.keyCount);
        for (std::size_t i = embedded.firstSpelling; i < embedded.firstSpelling + embedded.spellingCount; ++i)
            kind.shippedSpellings.emplace_back(kEmbeddedGameKeysSpellings[2 * i],
                                               kEmbeddedGameKeysSpellings[2 * i + 1]);
        table.m_kinds.push_back(std::move(kind));
    }
    table.m_sounds = Strings(kEmbeddedGameKeysSounds, 0, kEmbeddedGameKeysSoundCount);
    table.m_soundOrder = Slice(kEmbeddedGameKeysSoundOrder, 0, kEmbeddedGameKeysSoundCount);
    table.m_animations = Strings(kEmbeddedGameKeysAnimations, 0, kEmbeddedGameKeysAnimationCount);
    table.m_animationOrder = Slice(kEmbeddedGameKeysAnimationOrder, 0, kEmbeddedGameKeysAnimationCount);
    table.Finish();
    table.m_sectionOrderNoCase = Slice(kEmbeddedGameKeysAllSectionOrderNoCase, 0, kEmbeddedGameKeysSectionCount);
    return table;
}

void GameKeys::Finish() {
    m_sectionAt.clear();
    for (std::size_t k = 0; k < m_kinds.size(); ++k)
        for (std::size_t i = 0; i < m_kinds[k].sections.size(); ++i)
            m_sectionAt.emplace_back(static_cast<std::uint16_t>(k), static_cast<std::uint16_t>(i));
    m_sectionIndex = NameIndex(m_sectionAt.size(), [this](std::size_t i) -> std::string_view { return SectionAt(i); });
    for (SectionKind& kind : m_kinds)
        kind.keyIndex =
            NameIndex(kind.keys.size(), [&kind](std::size_t i) -> std::string_view { return kind.keys[i].name; });
    m_namesKind.assign(kReadingCount, -1);
    const auto namesFrom = [this](Reading reading, std::string_view kindName) {
        for (std::size_t k = 0; k < m_kinds.size(); ++k)
            if (m_kinds[k].name == kindName) {
                m_namesKind[static_cast<std::size_t>(reading)] = static_cast<int>(k);
                return;
            }
    };
    namesFrom(Reading::Weapon, "weapon");
    namesFrom(Reading::Warhead, "warhead");
    namesFrom(Reading::Projectile, "projectile");
    namesFrom(Reading::Vehicle, "unit");
    namesFrom(Reading::Buildings, "building");
    namesFrom(Reading::Owners, "country");
    m_armours = {"none", "wood", "light", "heavy", "concrete"};
    m_armourOrder = OrderOf(m_armours, true);
    m_crates.clear();
    if (const SectionKind* powerups = Kind("Powerups"))
        for (const GameKey& key : powerups->keys) m_crates.push_back(key.name);
    m_crateOrder = OrderOf(m_crates, true);
    const auto houses = [this](std::initializer_list<std::string_view> names) {
        std::uint32_t bits = 0;
        for (const std::string_view name : names) {
            const int index = IndexOfName(Reading::Owners, name);
            if (index >= 0 && index < 32) bits |= 1u << index;
        }
        return bits;
    };
    m_sovietHouses = houses({"USSR", "Ukraine", "BadGuy"});
    m_alliedHouses = houses({"England", "Spain", "Greece", "Germany", "France", "Turkey", "GoodGuy"});
}

const GameKeys& GameKeys::BuiltIn() {
    static const GameKeys table = FromEmbedded();
    return table;
}

const std::string& GameKeys::SectionAt(std::size_t position) const {
    const auto [kind, at] = m_sectionAt[position];
    return m_kinds[kind].sections[at];
}

const std::string* GameKeys::FindSection(std::string_view section, bool ignoreCase, const SectionKind** kind) const {
    const auto nameAt = [this](std::size_t i) -> std::string_view { return SectionAt(i); };
    const int found = ignoreCase ? syntax::FindInOrder(m_sectionOrderNoCase.data(), m_sectionOrderNoCase.size(), nameAt,
                                                       section, true)
                                 : m_sectionIndex.Find(section, nameAt);
    if (found < 0) return nullptr;
    if (kind != nullptr) *kind = &m_kinds[m_sectionAt[static_cast<std::size_t>(found)].first];
    return &SectionAt(static_cast<std::size_t>(found));
}

const SectionKind* GameKeys::KindOfSection(std::string_view section) const {
    const SectionKind* kind = nullptr;
    FindSection(section, false, &kind);
    return kind;
}

const std::string* GameKeys::SectionNoCase(std::string_view section) const {
    return FindSection(section, true, nullptr);
}

const SectionKind* GameKeys::Kind(std::string_view kindName) const {
    for (const SectionKind& kind : m_kinds)
        if (kind.name == kindName) return &kind;
    return nullptr;
}

const GameKey* GameKeys::FindKey(const SectionKind& kind, std::string_view key) {
    const int found = kind.keyIndex.Find(key, [&kind](std::size_t i) -> std::string_view { return kind.keys[i].name; });
    return found < 0 ? nullptr : &kind.keys[static_cast<std::size_t>(found)];
}

const GameKey* GameKeys::FindKeyNoCase(const SectionKind& kind, std::string_view key) {
    return FindKeyIn(kind, kind.keyOrderNoCase, key, true);
}

std::optional<GameKeys::NamedKey> GameKeys::FindNamed(std::string_view section, std::string_view key) const {
    const SectionKind* kind = nullptr;
    const std::string* spelling = FindSection(section, false, &kind);
    if (spelling == nullptr) spelling = FindSection(section, true, &kind);
    if (spelling == nullptr) return std::nullopt;
    const GameKey* found = FindKey(*kind, key);
    if (found == nullptr) found = FindKeyNoCase(*kind, key);
    if (found == nullptr) return std::nullopt;
    return NamedKey{*spelling, kind, found};
}

const GameKey* GameKeys::ReadInsteadOf(const SectionKind& kind, std::string_view key) {
    for (const auto& [shipped, read] : kind.shippedSpellings)
        if (shipped == key) return FindKey(kind, read);
    return nullptr;
}

GameKeys::Spelling GameKeys::SpellingOf(std::string_view section, std::string_view key) const {
    Spelling spelling{std::string(section), std::string(key)};
    const std::string* known = KindOfSection(section) != nullptr ? &spelling.section : SectionNoCase(section);
    if (known == nullptr) return spelling;
    spelling.section = *known;
    if (const GameKey* read = FindKeyNoCase(*KindOfSection(*known), key)) spelling.key = read->name;
    return spelling;
}

bool GameKeys::IgnoresKey(std::string_view section, std::string_view key) const {
    const SectionKind* kind = KindOfSection(section);
    return kind != nullptr && kind->read && FindKey(*kind, key) == nullptr;
}

GameKeys::NameList GameKeys::NamesOf(Reading reading) const {
    static const std::vector<std::string> kNone;
    static const std::vector<std::uint16_t> kNoOrder;
    const auto at = static_cast<std::size_t>(reading);
    if (at < m_namesKind.size() && m_namesKind[at] >= 0) {
        const SectionKind& kind = m_kinds[static_cast<std::size_t>(m_namesKind[at])];
        return {&kind.sections, &kind.sectionOrderNoCase};
    }
    switch (reading) {
        case Reading::Sound:
            return {&m_sounds, &m_soundOrder};
        case Reading::Anim:
            return {&m_animations, &m_animationOrder};
        case Reading::Armor:
            return {&m_armours, &m_armourOrder};
        case Reading::Crate:
            return {&m_crates, &m_crateOrder};
        default:
            return {&kNone, &kNoOrder};
    }
}

const std::vector<std::string>& GameKeys::Names(Reading reading) const { return *NamesOf(reading).names; }

int GameKeys::IndexOfName(Reading reading, std::string_view name) const {
    const NameList list = NamesOf(reading);
    return FindName(*list.names, *list.order, name, true);
}

}  // namespace morvane::gameview
