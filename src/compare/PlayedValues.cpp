#include "compare/PlayedValues.h"

#include <algorithm>

#include "common/TextOps.h"
#include "gameview/GameEffective.h"
#include "gameview/GameValues.h"

namespace morvane::compare {
namespace {

using gameview::GameKey;
using gameview::GameKeys;
using gameview::Reading;
using gameview::SectionKind;

constexpr std::string_view kSameAs = "the same as ";

// A built-in value the game keeps but no text can give back.
constexpr const char* kUnwritable = "built-in";

// The built-in value as a text a file could hold; nothing when the table describes it in words
// no text reproduces.
std::optional<std::string> BuiltInFileText(const GameKeys& keys, const GameKey& key, const std::string& section) {
    const std::string& builtIn = key.builtIn;
    if (builtIn == "the object's own name") return section;
    if (builtIn.rfind("the ", 0) == 0) return std::nullopt;
    // "0 (off)", "none (a random vehicle)": the words in brackets explain the value.
    std::string text(Trim(SplitAtFirst(builtIn, " (").before));
    if (!PlayedText(keys, key, text)) return std::nullopt;
    return text;
}

}  // namespace

std::optional<std::string> PlayedText(const GameKeys& keys, const GameKey& key, std::string_view text) {
    if (key.reading == Reading::Powerup) {
        // Animation names are matched without regard to case; two fields keep the built-in data.
        const gameview::GamePowerup powerup = gameview::ReadGamePowerup(text);
        const std::int64_t data = powerup.hasData ? powerup.data : gameview::ReadGamePowerup(key.builtIn).data;
        return std::to_string(powerup.shares) + "," +
               (powerup.animation.empty() ? std::string("none") : ToLowerAscii(powerup.animation)) + "," +
               std::to_string(data);
    }
    const gameview::GameEntry entry{key.name, text, 0};
    const gameview::EffectiveValue effective = gameview::Effective(keys, key, &entry);
    const std::string_view value = effective.value;
    if (value == "default" || value == "kept") return std::nullopt;
    // Sounds and animations are found by name without regard to case, and so is an object's art:
    // its `Image` names a file, which the game's file lookup finds in any letter case.
    if (key.reading == Reading::Sound || key.reading == Reading::Anim || key.name == "Image")
        return ToLowerAscii(value);
    return std::string(value);
}

std::vector<const SectionKind*> KindsInGameOrder(const GameKeys& keys) {
    // The order of the game's rules reader; objects come warheads first, missions last.
    static const char* const kOrder[] = {"General",  "Aftermath", "MultiplayerDefaults",
                                         "Recharge", "Maximums",  "AI",
                                         "Powerups", "land",      "ThemeControl",
                                         "IQ",       "warhead",   "projectile",
                                         "weapon",   "unit",      "infantry",
                                         "vessel",   "aircraft",  "building",
                                         "country",  "mission",   "difficulty"};
    std::vector<const SectionKind*> kinds;
    for (const char* name : kOrder)
        if (const SectionKind* kind = keys.Kind(name); kind != nullptr && kind->read) kinds.push_back(kind);
    return kinds;
}

bool ResetsWithSection(const SectionKind& kind, const GameKey& key) {
    if (kind.name == "Powerups" || kind.name == "land") return true;
    return (kind.name == "warhead" && key.name == "Verses") || (kind.name == "mission" && key.name == "AARate") ||
           (kind.name == "General" && key.name == "Incoming") ||
           (kind.name == "Aftermath" && key.name == "NewUnitsEnabled");
}

PlayedFile::PlayedFile(const GameKeys& keys, const gameview::GameIni& ini) : m_keys(keys), m_ini(ini) {
    for (const gameview::GameSection& section : ini.Sections())
        if (!section.entries.empty()) m_sections[std::string(section.name)].push_back(&section);
}

const std::vector<const gameview::GameSection*>& PlayedFile::SectionsNamed(std::string_view name) const {
    static const std::vector<const gameview::GameSection*> kNone;
    const auto found = m_sections.find(name);
    return found == m_sections.end() ? kNone : found->second;
}

bool PlayedFile::Gives(std::string_view section, std::string_view key) const {
    for (const gameview::GameSection* named : SectionsNamed(section))
        for (const gameview::GameEntry& entry : named->entries)
            if (entry.key == key) return true;
    return false;
}

bool PlayedFile::FollowsAnotherKey(const GameKey& key) { return key.builtIn.rfind(kSameAs, 0) == 0; }

bool PlayedFile::ReadsAsZero(const GameKey& key, const std::string& value) const {
    return value == PlayedText(m_keys, key, "0");
}

const GameKey* PlayedFile::KeyFollowed(const SectionKind& kind, const GameKey& key) {
    if (!FollowsAnotherKey(key)) return nullptr;
    const GameKey* other = GameKeys::FindKey(kind, std::string_view(key.builtIn).substr(kSameAs.size()));
    return other == &key ? nullptr : other;
}

Played PlayedFile::Absent(const SectionKind& kind, const std::string& section, const GameKey& key,
                          bool sectionPresent) const {
    Played played;
    played.builtIn = true;
    std::string words;
    if (kind.name == "land" && !sectionPresent) {
        // The terrain table starts zero-filled: without its section a terrain is impassable.
        played.fileText = "0";
        words = "0: no [" + section + "] section";
    } else if (kind.name == "Powerups" && sectionPresent) {
        // A present [Powerups] turns every crate it does not list off.
        played.fileText = "0,NONE," + std::to_string(gameview::ReadGamePowerup(key.builtIn).data);
        words = "0,NONE: not listed in [" + section + "]";
    } else if (FollowsAnotherKey(key)) {
        if (const GameKey* other = KeyFollowed(kind, key)) {
            const Played same = Candidates(kind, section, *other).front();
            played.value = same.value;
            played.fileText = same.fileText;
            played.shown = "absent (" + key.builtIn + ": " + same.shown + ")";
            return played;
        }
        words = key.builtIn;
    } else {
        played.fileText = BuiltInFileText(m_keys, key, section);
        words = key.builtIn;
    }
    played.value = played.fileText ? *PlayedText(m_keys, key, *played.fileText) : kUnwritable;
    played.shown = "absent (" + words + ")";
    return played;
}

std::vector<Played> PlayedFile::Candidates(const SectionKind& kind, const std::string& section,
                                           const GameKey& key) const {
    std::vector<Played> candidates;
    const auto add = [&candidates](Played played) {
        for (const Played& known : candidates)
            if (known.value == played.value) return;
        candidates.push_back(std::move(played));
    };
    const std::vector<const gameview::GameSection*>& sections = SectionsNamed(section);
    if (sections.empty()) add(Absent(kind, section, key, false));
    for (const gameview::GameSection* candidate : sections) {
        bool found = false;
        for (const gameview::GameEntry& entry : candidate->entries) {
            if (entry.key != key.name) continue;
            found = true;
            if (auto value = PlayedText(m_keys, key, entry.value)) {
                Played played{&entry, std::move(*value), false, std::string(entry.value), std::string(entry.value)};
                // A follower written as 0 (AARate=0) is read as "the same as" its key, as absent.
                if (const GameKey* other = KeyFollowed(kind, key); other != nullptr && ReadsAsZero(key, played.value)) {
                    const Played same = Candidates(kind, section, *other).front();
                    played.value = same.value;
                    played.shown = std::string(entry.value) + " (" + key.builtIn + ": " + same.shown + ")";
                }
                // A crate line without its data keeps the data the game had before: written
                // over another file, it must say the built-in data it stands for here.
                if (key.reading == Reading::Powerup) {
                    const gameview::GamePowerup powerup = gameview::ReadGamePowerup(entry.value);
                    if (!powerup.hasData)
                        played.fileText = std::to_string(powerup.shares) + "," +
                                          (powerup.animation.empty() ? std::string("NONE") : powerup.animation) + "," +
                                          std::to_string(gameview::ReadGamePowerup(key.builtIn).data);
                }
                add(std::move(played));
            } else {
                // Text the game cannot read leaves the value it had: the built-in one.
                Played kept = Absent(kind, section, key, true);
                kept.entry = &entry;
                kept.shown = ShownUnreadable(entry.value, kept);
                add(std::move(kept));
            }
        }
        if (!found) add(Absent(kind, section, key, true));
    }
    return candidates;
}

std::string ShownUnreadable(std::string_view text, const Played& kept) {
    // kept.shown is "absent (WORDS)": keep the words.
    constexpr std::string_view kAbsent = "absent (";
    const std::string_view words = std::string_view(kept.shown).substr(kAbsent.size());
    return std::string(text) + " (unreadable: the game keeps " + std::string(words.substr(0, words.size() - 1)) + ")";
}

bool PlaysTheSame(const std::vector<Played>& a, const std::vector<Played>& b) {
    if (a.size() != b.size()) return false;
    std::vector<std::string> left, right;
    for (const Played& played : a) left.push_back(played.value);
    for (const Played& played : b) right.push_back(played.value);
    std::sort(left.begin(), left.end());
    std::sort(right.begin(), right.end());
    return left == right;
}

std::string ShownCandidates(const std::vector<Played>& candidates) {
    if (candidates.size() == 1) return candidates.front().shown;
    std::string shown;
    for (const Played& played : candidates) shown += (shown.empty() ? "" : " or ") + played.shown;
    return shown + " (duplicates: the game takes one)";
}

}  // namespace morvane::compare
