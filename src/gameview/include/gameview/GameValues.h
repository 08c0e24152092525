#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gameview/GameKeys.h"

// The game's readers of one value, each turning the text of an entry into what the game stores.
namespace morvane::gameview {

// Y, T, 1 are true and N, F, 0 false, whatever the case; nothing: the built-in value stays.
std::optional<bool> ReadGameBool(std::string_view text);

// Decimal as atoi reads it, hexadecimal as "$1F" or "1Fh"; nothing when a hexadecimal form has
// no digits (the built-in value stays). The result wraps like the game's 32-bit int.
std::optional<std::int32_t> ReadGameInt(std::string_view text);

// A 16.16 fixed-point number: "50%" (a whole number directly before "%") or "1.25" / ".25".
std::uint32_t ReadGameFixed(std::string_view text);
// The fixed value rounded to a whole number, as the game turns it into an int (halves up).
std::uint32_t RoundGameFixed(std::uint32_t raw);
// The fixed value as a whole percentage, rounded; `whole` when "N%" reads exactly the same.
struct GamePercent {
    std::int64_t percent = 0;
    bool whole = false;
};
GamePercent PercentOfFixed(std::uint32_t raw);
// The fixed value with six digits after the point.
std::string FormatFixed(std::uint32_t raw);
// The fixed value as a percentage, e.g. "25%" or "33.3%".
std::string FormatPercent(std::uint32_t raw);
// The fixed value in the shortest decimal form, e.g. "1.5" or "0.2".
std::string FormatDecimal(std::uint32_t raw);

// A distance in cells, stored in leptons (256 a cell, rounded, 16 bits).
std::uint16_t ReadGameLeptons(std::string_view text);
// A speed from 0 to 100, stored from 0 to 255; nothing when the number keeps the built-in value.
std::optional<std::uint8_t> ReadGameSpeed(std::string_view text);

// The items of a list as the game splits it: at every ",", empty items dropped, nothing trimmed.
std::vector<std::string_view> SplitGameList(std::string_view text);
// The same items, each given to `use` in turn without making a list.
template <typename Use>
void ForEachGameListItem(std::string_view text, const Use& use) {
    while (true) {
        const std::size_t comma = text.find(',');
        const std::string_view item = text.substr(0, comma);
        if (!item.empty()) use(item);
        if (comma == std::string_view::npos) return;
        text.remove_prefix(comma + 1);
    }
}

// A prerequisite list: one bit a building, in the game's building order. Items that name no
// building, or a building too far down the game's list to be a prerequisite, are returned; the
// game still sets a bit for those, the one of their number modulo 32.
struct GameBuildings {
    std::uint32_t bits = 0;
    std::vector<std::string_view> unknown;  // name no building (" dome" included)
    std::vector<std::string_view> tooFar;   // a building, but not one of the first 32
};
inline constexpr int kPrerequisiteBuildings = 32;
GameBuildings ReadGameBuildings(std::string_view text, const GameKeys& keys);

// An owner list: one bit a house, in the game's house order.
struct GameOwners {
    std::uint32_t bits = 0;
    std::vector<std::string_view> unknown;
};
GameOwners ReadGameOwners(std::string_view text, const GameKeys& keys);

// Verses: five fixed values split at ","; missing ones are 0.
struct GameVerses {
    std::array<std::uint32_t, 5> values{};
    std::size_t count = 0;  // the items the text has
};
GameVerses ReadGameVerses(std::string_view text);

// A crate powerup: shares, animation and data.
struct GamePowerup {
    std::int32_t shares = 0;
    std::string animation;  // as written, trimmed; empty: none
    bool hasData = false;
    bool dataIsFixed = false;  // the data holds "." or "%": fixed point times 256
    bool dataWraps = false;    // fixed data of 256 or more: times 256 it passes 32 bits
    std::int64_t data = 0;     // as the game stores it
};
GamePowerup ReadGamePowerup(std::string_view text);

// A music theme: the first scenario it plays in and the one owner token after it.
struct GameTheme {
    std::int32_t scenario = 0;
    std::uint32_t owners = 0;
    std::vector<std::string_view> items;  // the items as the game splits them
    std::vector<std::string_view> unknown;
};
GameTheme ReadGameTheme(std::string_view text, const GameKeys& keys);

}  // namespace morvane::gameview
