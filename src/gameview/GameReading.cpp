#include "gameview/GameReading.h"

#include <algorithm>

#include "common/TextOps.h"
#include "gameview/GameEffective.h"
#include "gameview/GameValues.h"
#include "gameview/ValueCheck.h"

namespace morvane::gameview {
namespace {

constexpr const char* kArmourNames[5] = {"none", "wood", "light", "heavy", "concrete"};

std::string NameInWords(const GameKeys& keys, const GameKey& key, const std::string& value) {
    const std::string matched = MatchedName(keys, key.reading, value);
    if (key.reading == Reading::Weapon && matched == "none") return "no weapon";
    if (key.reading == Reading::Vehicle && matched == "none") return "none (a random vehicle)";
    if (matched == "kept")
        return std::string("the ") + (key.reading == Reading::Warhead ? "warhead" : "projectile") + " it had before";
    return matched;
}

// Why the game does not see the key, when the file holds something like it.
std::string WhyUnseen(const GameIni& ini, std::string_view section, const GameKey& key) {
    for (const GameLine& line : ini.Lines()) {
        if (line.kind != LineKind::Entry && line.kind != LineKind::EmptyValue) continue;
        if (line.section >= ini.Sections().size() || !EqualsNoCase(line.key, key.name)) continue;
        const std::string& name = ini.Sections()[line.section].name;
        if (!EqualsNoCase(name, section)) continue;
        if (name != section) return "The file's section is [" + name + "], and the game matches names exactly";
        if (line.key != key.name) return "The file spells the key " + line.key + ", and the game matches names exactly";
        if (line.lost) return "The key is on the file's last line, which has no line break, so the game loses it";
        if (line.kind == LineKind::EmptyValue) return "The value is empty, so the game ignores the line";
    }
    return {};
}

}  // namespace

std::string ValueInWords(const GameKeys& keys, const GameKey& key, const std::string& value) {
    switch (key.reading) {
        case Reading::Bool: {
            const auto read = ReadGameBool(value);
            return !read ? "its built-in " + key.builtIn : (*read ? "yes" : "no");
        }
        case Reading::Int:
        case Reading::Int16u:
        case Reading::Int8u:
        case Reading::Speed: {
            const GameEntry entry{key.name, value, 0};
            const std::string number = Effective(keys, key, &entry).value;
            if (number == "default") return "its built-in " + key.builtIn;
            if (key.reading != Reading::Speed) return number;
            return std::to_string(std::clamp<std::int64_t>(ReadDecimal(value), 0, 100)) + " (stored as " + number +
                   " of 255)";
        }
        case Reading::Fraction: {
            const std::uint32_t raw = ReadGameFixed(value);
            return FormatPercent(raw) + " (" + FormatDecimal(raw) + ")";
        }
        case Reading::Fixed:
            return FormatDecimal(ReadGameFixed(value));
        case Reading::Minutes:
            return FormatDecimal(ReadGameFixed(value)) + " minutes";
        case Reading::Flag:
            return ReadGameFixed(value) >= 0x8000u ? "on" : "off";
        case Reading::Cells: {
            const std::uint16_t leptons = ReadGameLeptons(value);
            return FormatDecimal(ReadGameFixed(value)) + " cells (" + std::to_string(leptons) + " leptons)";
        }
        case Reading::Weapon:
        case Reading::Warhead:
        case Reading::Projectile:
        case Reading::Armor:
        case Reading::Sound:
        case Reading::Anim:
        case Reading::Crate:
        case Reading::Vehicle:
            return NameInWords(keys, key, value);
        case Reading::Buildings: {
            const std::string names = JoinBits(keys, key.reading, ReadGameBuildings(value, keys).bits);
            return names == "none" ? "no prerequisite" : names;
        }
        case Reading::Owners: {
            const std::string names = JoinBits(keys, key.reading, ReadGameOwners(value, keys).bits);
            return names == "none" ? "no owner" : names;
        }
        case Reading::Verses: {
            const GameVerses verses = ReadGameVerses(value);
            std::string words;
            for (std::size_t i = 0; i < verses.values.size(); ++i)
                words += (i == 0 ? "" : ", ") + std::string(kArmourNames[i]) + " " + FormatPercent(verses.values[i]);
            return words;
        }
        case Reading::Powerup: {
            const GamePowerup powerup = ReadGamePowerup(value);
            return std::to_string(powerup.shares) + " shares, " +
                   (powerup.animation.empty() ? std::string("no animation") : "animation " + powerup.animation) +
                   ", data " + std::to_string(powerup.data);
        }
        case Reading::Theme:
        case Reading::Text:
            return "'" + value + "'";
    }
    return value;
}

std::string DescribeGameReading(const GameKeys& keys, const GameIni& ini, std::string_view section,
                                std::string_view key) {
    if (section.empty() || key.empty()) return {};
    const SectionKind* kind = keys.KindOfSection(section);
    std::string gameSection(section);
    if (kind == nullptr) {
        if (const std::string* spelling = keys.SectionNoCase(section)) {
            gameSection = *spelling;
            kind = keys.KindOfSection(gameSection);
        }
    }
    if (kind == nullptr) return "The game has no section [" + std::string(section) + "], so it does not read this key.";
    if (!kind->read) return "This version of the game does not read [" + gameSection + "]; the value has no effect.";
    const GameKey* gameKey = GameKeys::FindKey(*kind, key);
    if (gameKey == nullptr) gameKey = GameKeys::FindKeyNoCase(*kind, key);
    if (gameKey == nullptr) {
        if (const GameKey* read = GameKeys::ReadInsteadOf(*kind, key))
            return "The game does not read " + std::string(key) + "; it reads " + read->name + " instead.";
        return "The game does not read " + std::string(key) + " in [" + gameSection + "].";
    }

    const GameEntry* entry = ini.Find(gameSection, gameKey->name);
    if (entry == nullptr) {
        const std::string why = WhyUnseen(ini, gameSection, *gameKey);
        if (!why.empty()) return why + "; it uses its built-in " + gameKey->builtIn + ".";
        return "Not in the file: the game uses its built-in " + gameKey->builtIn + ".";
    }
    std::string words = "The game reads: " + ValueInWords(keys, *gameKey, entry->value);
    const std::vector<ValueProblem> problems = CheckValue(keys, *gameKey, entry->value);
    if (!problems.empty()) words += " - " + problems.front().message;
    return words;
}

}  // namespace morvane::gameview
