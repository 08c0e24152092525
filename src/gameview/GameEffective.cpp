#include "gameview/GameEffective.h"

#include "common/TextOps.h"
#include "gameview/GameValues.h"

namespace morvane::gameview {
namespace {

std::string UpperCase(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

}  // namespace

const char* KindWord(Reading reading) {
    switch (reading) {
        case Reading::Bool:
            return "bool";
        case Reading::Int:
        case Reading::Int16u:
        case Reading::Int8u:
            return "int";
        case Reading::Fixed:
        case Reading::Fraction:
        case Reading::Flag:
        case Reading::Minutes:
            return "fixed";
        case Reading::Cells:
            return "cells";
        case Reading::Speed:
            return "speed";
        case Reading::Buildings:
            return "buildings";
        case Reading::Owners:
            return "owners";
        case Reading::Verses:
            return "verses";
        case Reading::Powerup:
            return "powerup";
        case Reading::Weapon:
        case Reading::Warhead:
        case Reading::Projectile:
        case Reading::Armor:
        case Reading::Sound:
        case Reading::Anim:
        case Reading::Crate:
        case Reading::Vehicle:
            return "name";
        case Reading::Theme:
        case Reading::Text:
            return "text";
    }
    return "text";
}

std::string MatchedName(const GameKeys& keys, Reading reading, const std::string& text) {
    // Sounds and animations are not in the table: the name stands as written.
    if (reading == Reading::Sound || reading == Reading::Anim) return text;
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
    EffectiveValue result{KindWord(key.reading), "absent"};
    if (entry == nullptr) return result;
    const std::string& text = entry->value;
    switch (key.reading) {
        case Reading::Bool: {
            const auto value = ReadGameBool(text);
            result.value = !value ? "default" : (*value ? "true" : "false");
            break;
        }
        case Reading::Int:
        case Reading::Int16u:
        case Reading::Int8u: {
            const auto value = ReadGameInt(text);
            if (!value)
                result.value = "default";
            else if (key.reading == Reading::Int16u)
                result.value = std::to_string(static_cast<std::uint16_t>(*value));
            else if (key.reading == Reading::Int8u)
                result.value = std::to_string(static_cast<std::uint8_t>(*value));
            else
                result.value = std::to_string(*value);
            break;
        }
        case Reading::Fixed:
        case Reading::Fraction:
        case Reading::Flag:
        case Reading::Minutes:
            result.value = FormatFixed(ReadGameFixed(text));
            break;
        case Reading::Cells:
            result.value = std::to_string(ReadGameLeptons(text));
            break;
        case Reading::Speed: {
            const auto value = ReadGameSpeed(text);
            result.value = value ? std::to_string(*value) : "default";
            break;
        }
        case Reading::Buildings:
            result.value = JoinBits(keys, key.reading, ReadGameBuildings(text, keys).bits);
            break;
        case Reading::Owners:
            result.value = JoinBits(keys, key.reading, ReadGameOwners(text, keys).bits);
            break;
        case Reading::Verses: {
            const GameVerses verses = ReadGameVerses(text);
            result.value.clear();
            for (std::size_t i = 0; i < verses.values.size(); ++i)
                result.value += (i == 0 ? "" : ",") + FormatFixed(verses.values[i]);
            break;
        }
        case Reading::Powerup: {
            const GamePowerup powerup = ReadGamePowerup(text);
            result.value = std::to_string(powerup.shares) + "," +
                           (powerup.animation.empty() ? std::string("none") : powerup.animation) + "," +
                           std::to_string(powerup.data);
            break;
        }
        case Reading::Weapon:
        case Reading::Warhead:
        case Reading::Projectile:
        case Reading::Armor:
        case Reading::Sound:
        case Reading::Anim:
        case Reading::Crate:
        case Reading::Vehicle:
            result.value = MatchedName(keys, key.reading, text);
            break;
        case Reading::Theme:
        case Reading::Text:
            result.value = text;
            break;
    }
    return result;
}

}  // namespace morvane::gameview
