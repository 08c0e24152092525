#include "gameview/GameEffective.h"

#include "gameview/ReadingKinds.h"

namespace morvane::gameview {
namespace {

std::string UpperCase(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

}  // namespace

const char* KindWord(Reading reading) { return KindOf(reading).kindWord.data(); }

std::string MatchedName(const GameKeys& keys, Reading reading, const std::string& text) {
    const int index = keys.IndexOfName(reading, text);
    if (index >= 0) return keys.Names(reading)[static_cast<std::size_t>(index)];
    if (reading == Reading::Warhead || reading == Reading::Projectile) return "kept";
    if (reading == Reading::Crate) return "Money";
    return "none";
}

std::string JoinBits(const GameKeys& keys, Reading reading, std::uint32_t bits) {
    const std::vector<std::string>& names = keys.Names(reading);
    std::string joined;
    for (std::size_t i = 0; i < names.size() && i < 32; ++i) {
        if ((bits & (1u << i)) == 0) continue;
        if (!joined.empty()) joined += ',';
        joined += reading == Reading::Buildings ? UpperCase(names[i]) : names[i];
    }
    return joined.empty() ? "none" : joined;
}

EffectiveValue Effective(const GameKeys& keys, const GameKey& key, const GameEntry* entry) {
    const ReadingKind& kind = KindOf(key.reading);
    if (entry == nullptr) return {std::string(kind.kindWord), "absent"};
    return {std::string(kind.kindWord), kind.kept(keys, key, std::string(entry->value))};
}

}  // namespace morvane::gameview

namespace morvane::gameview {

std::optional<std::string> TextTheGameReads(const GameIni& ini, const SectionKind& kind, std::string_view section,
                                            const GameKey& key) {
    if (!kind.read) return std::nullopt;
    if (const GameEntry* entry = ini.Find(section, key.name)) return std::string(entry->value);
    // A present [Powerups] gives every crate it does not list no shares and no animation.
    if (key.reading == Reading::Powerup && ini.HasSection(section)) return std::string(kMissingCrate);
    return std::nullopt;
}

}  // namespace morvane::gameview
