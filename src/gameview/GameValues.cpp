#include "gameview/GameValues.h"

#include <algorithm>
#include <cstdio>

#include "common/TextOps.h"

namespace morvane::gameview {
namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    const char lower = ToLowerAscii(c);
    if (lower >= 'a' && lower <= 'f') return lower - 'a' + 10;
    return -1;
}

// A hexadecimal number as C's "%x" scan reads it; nothing without a digit.
std::optional<std::int32_t> ScanHex(std::string_view text) {
    text = TrimLeft(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X') && HexValue(text[2]) >= 0)
        text.remove_prefix(2);
    std::uint32_t value = 0;
    std::size_t digits = 0;
    for (; digits < text.size() && HexValue(text[digits]) >= 0; ++digits)
        value = value * 16 + static_cast<std::uint32_t>(HexValue(text[digits]));
    if (digits == 0) return std::nullopt;
    if (negative) value = 0u - value;
    return static_cast<std::int32_t>(value);
}

std::string Trimmed(std::string text) {
    while (text.size() > 1 && text.back() == '0') text.pop_back();
    if (!text.empty() && text.back() == '.') text.pop_back();
    return text;
}

}  // namespace

std::optional<bool> ReadGameBool(std::string_view text) {
    if (text.empty()) return std::nullopt;
    switch (ToLowerAscii(text.front())) {
        case 'y':
        case 't':
        case '1':
            return true;
        case 'n':
        case 'f':
        case '0':
            return false;
        default:
            return std::nullopt;
    }
}

std::optional<std::int32_t> ReadGameInt(std::string_view text) {
    if (!text.empty() && text.front() == '$') return ScanHex(text.substr(1));
    if (!text.empty() && (text.back() == 'h' || text.back() == 'H')) return ScanHex(text);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(ReadDecimal(text)));
}

std::uint32_t ReadGameFixed(std::string_view text) {
    const std::string_view start = TrimLeft(text);
    std::size_t digits = 0;
    while (digits < start.size() && IsDigit(start[digits])) ++digits;
    if (digits < start.size() && start[digits] == '%')
        return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ReadDecimal(start)) * 65536u / 100u);

    std::uint32_t whole = 0;
    if (start.empty() || start.front() != '.') whole = LowUnsigned16(ReadDecimal(start));
    std::uint32_t fraction = 0;
    const std::size_t point = start.find('.');
    if (point != std::string_view::npos) {
        std::uint64_t value = 0;
        std::uint64_t scale = 1;
        // Digits past the ninth change nothing the 16-bit fraction can hold.
        for (std::size_t i = point + 1; i < start.size() && IsDigit(start[i]) && i <= point + 9; ++i) {
            value = value * 10 + static_cast<std::uint64_t>(start[i] - '0');
            scale *= 10;
        }
        fraction = static_cast<std::uint32_t>(value * 65536u / scale);
    }
    return (whole << 16) | (fraction & 0xFFFFu);
}

std::uint32_t RoundGameFixed(std::uint32_t raw) {
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(raw) + 0x8000u) >> 16);
}

GamePercent PercentOfFixed(std::uint32_t raw) {
    GamePercent result;
    result.percent = static_cast<std::int64_t>((static_cast<std::uint64_t>(raw) * 100u + 0x8000u) >> 16);
    result.whole = static_cast<std::uint32_t>(static_cast<std::uint64_t>(result.percent) * 65536u / 100u) == raw;
    return result;
}

std::string FormatFixed(std::uint32_t raw) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", static_cast<double>(raw) / 65536.0);
    return text;
}

std::string FormatPercent(std::uint32_t raw) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", static_cast<double>(raw) * 100.0 / 65536.0);
    return Trimmed(text) + "%";
}

std::string FormatDecimal(std::uint32_t raw) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", static_cast<double>(raw) / 65536.0);
    return Trimmed(text);
}

std::uint16_t ReadGameLeptons(std::string_view text) {
    return static_cast<std::uint16_t>((static_cast<std::uint64_t>(ReadGameFixed(text)) + 128u) >> 8);
}

std::optional<std::uint8_t> ReadGameSpeed(std::string_view text) {
    const auto value = ReadGameInt(text);
    if (!value) return std::nullopt;
    const std::int64_t clamped = std::clamp<std::int64_t>(*value, 0, 100);
    return static_cast<std::uint8_t>(std::min<std::int64_t>(clamped * 256 / 100, 255));
}

std::vector<std::string_view> SplitGameList(std::string_view text) {
    std::vector<std::string_view> items;
    ForEachGameListItem(text, [&items](std::string_view item) { items.push_back(item); });
    return items;
}

GameBuildings ReadGameBuildings(std::string_view text, const GameKeys& keys) {
    GameBuildings result;
    ForEachGameListItem(text, [&](std::string_view item) {
        const int index = keys.IndexOfName(Reading::Buildings, item);
        if (index < 0)
            result.unknown.push_back(item);
        else
            result.bits |= 1u << (index % kPrerequisiteBuildings);
        if (index >= kPrerequisiteBuildings) result.tooFar.push_back(item);
    });
    return result;
}

GameOwners ReadGameOwners(std::string_view text, const GameKeys& keys) {
    GameOwners result;
    ForEachGameListItem(text, [&](std::string_view item) {
        if (EqualsNoCase(item, "soviet")) {
            result.bits |= keys.SovietHouses();
        } else if (EqualsNoCase(item, "allies") || EqualsNoCase(item, "allied")) {
            result.bits |= keys.AlliedHouses();
        } else {
            const int index = keys.IndexOfName(Reading::Owners, item);
            // The multiplayer houses cannot be named as owners.
            if (StartsWithNoCase(item, "Multi") || index < 0 || index >= 32)
                result.unknown.push_back(item);
            else
                result.bits |= 1u << index;
        }
    });
    return result;
}

GameVerses ReadGameVerses(std::string_view text) {
    GameVerses result;
    const std::vector<std::string_view> items = SplitGameList(text);
    result.count = items.size();
    for (std::size_t i = 0; i < items.size() && i < result.values.size(); ++i)
        result.values[i] = ReadGameFixed(items[i]);
    return result;
}

GamePowerup ReadGamePowerup(std::string_view text) {
    GamePowerup result;
    const std::vector<std::string_view> items = SplitGameList(text);
    if (!items.empty()) result.shares = static_cast<std::int32_t>(ReadDecimal(items[0]));
    if (items.size() > 1) {
        result.animation = std::string(Trim(items[1]));
        // NONE is no animation's name: the game finds nothing for it.
        if (EqualsNoCase(result.animation, "none")) result.animation.clear();
    }
    if (items.size() > 2) {
        result.hasData = true;
        result.dataIsFixed = items[2].find_first_of(".%") != std::string_view::npos;
        if (result.dataIsFixed) {
            // Times 256 as a fixed value in 32 bits, then rounded to a whole number.
            const std::uint32_t raw = ReadGameFixed(items[2]);
            result.dataWraps = raw >= (1u << 24);
            result.data = RoundGameFixed(raw * 256u);
        } else {
            result.data = static_cast<std::int32_t>(static_cast<std::uint32_t>(ReadDecimal(items[2])));
        }
    }
    return result;
}

GameTheme ReadGameTheme(std::string_view text, const GameKeys& keys) {
    GameTheme result;
    result.items = SplitGameList(text);
    if (!result.items.empty()) result.scenario = static_cast<std::int32_t>(ReadDecimal(result.items[0]));
    if (result.items.size() > 1) {
        GameOwners owner = ReadGameOwners(result.items[1], keys);
        result.owners = owner.bits;
        result.unknown = std::move(owner.unknown);
    }
    return result;
}

}  // namespace morvane::gameview
