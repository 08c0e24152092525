#include "gameview/ValueCheck.h"

#include "common/TextOps.h"
#include "gameview/GameEffective.h"
#include "gameview/GameValues.h"

namespace morvane::gameview {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsWholeNumber(std::string_view text) {
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
    if (text.empty()) return false;
    for (const char c : text)
        if (!IsDigit(c)) return false;
    return true;
}

std::string Quoted(std::string_view text) { return "'" + std::string(text) + "'"; }

// The crate bonuses whose data is a multiplier or a time, read as fixed point only with a "."
// or "%" in it.
bool HasFixedData(std::string_view crate) {
    return crate == "Armor" || crate == "Firepower" || crate == "Speed" || crate == "Invulnerability";
}

void CheckInt(const GameKey& key, const std::string& value, std::vector<ValueProblem>& problems) {
    const bool hex = value.front() == '$' || value.back() == 'h' || value.back() == 'H';
    const auto read = ReadGameInt(value);
    if (hex) {
        if (!read)
            problems.push_back({Level::Error, Quoted(value) +
                                                  " looks like a hexadecimal number without digits; the game "
                                                  "keeps its built-in " +
                                                  key.builtIn + ". Write a number."});
        return;
    }
    if (!IsWholeNumber(value)) {
        const bool leading = IsDigit(value.front()) || (value.size() > 1 && IsDigit(value[1]));
        if (!leading)
            problems.push_back({Level::Error, Quoted(value) + " is not a number; the game reads it as 0. Write a whole "
                                                              "number."});
        else
            problems.push_back({Level::Error, "The game reads only the whole number at the start: " + Quoted(value) +
                                                  " is " + std::to_string(*read) + ". Write " + std::to_string(*read) +
                                                  " or the number you mean."});
        return;
    }
    const std::int64_t number = ReadDecimal(value);
    const auto range = [&](std::int64_t lowest, std::int64_t highest, const char* what) {
        if (number >= lowest && number <= highest) return;
        const std::int64_t stored =
            key.reading == Reading::Int16u ? static_cast<std::uint16_t>(number) : static_cast<std::uint8_t>(number);
        problems.push_back({Level::Error, "The game keeps " + key.name + " in " + what + ": " + value +
                                              " is stored as " + std::to_string(stored) + ". Use a number from " +
                                              std::to_string(lowest) + " to " + std::to_string(highest) + "."});
    };
    if (key.reading == Reading::Int16u) range(0, 65535, "16 bits");
    if (key.reading == Reading::Int8u) range(0, 255, "8 bits");
}

void CheckSpeed(const GameKey& key, const std::string& value, std::vector<ValueProblem>& problems) {
    CheckInt(key, value, problems);
    if (!problems.empty() || !IsWholeNumber(value)) return;
    const std::int64_t number = ReadDecimal(value);
    if (number > 100)
        problems.push_back({Level::Error, "Speeds run from 0 to 100; the game reads " + value +
                                              " as 100. Write a "
                                              "number up to 100."});
    else if (number < 0)
        problems.push_back({Level::Error, "Speeds run from 0 to 100; the game reads " + value + " as 0."});
}

// The form of a fixed-point number: digits with an optional "." part, or a whole number and "%".
void CheckFixed(const GameKey& key, const std::string& value, std::vector<ValueProblem>& problems) {
    const std::string_view text(value);
    if (text.front() == '-') {
        problems.push_back({Level::Error, "The game has no negative numbers here: " + value + " reads as " +
                                              FormatDecimal(ReadGameFixed(text)) + ". Write a number of 0 or more."});
        return;
    }
    if (!IsDigit(text.front()) && text.front() != '.') {
        problems.push_back({Level::Error, Quoted(value) + " is not a number; the game reads it as 0. Write a number "
                                                          "such as 1.5 or a percentage such as 50%."});
        return;
    }
    std::size_t digits = 0;
    while (digits < text.size() && IsDigit(text[digits])) ++digits;
    const std::size_t percent = text.find('%');
    if (percent != std::string_view::npos && percent != digits) {
        problems.push_back({Level::Error, "A percentage must be a whole number directly before %: the game reads " +
                                              Quoted(value) + " as " + FormatDecimal(ReadGameFixed(text)) +
                                              ". Write a whole percentage (50%) or a fraction (.505)."});
        return;
    }
    if (key.reading == Reading::Fraction && IsWholeNumber(text) && ReadDecimal(text) >= 2)
        problems.push_back({Level::Warning, key.name + "=" + value + " is " + value + "00% to the game. Write " +
                                                value + "% for a percentage."});
}

void CheckName(const GameKeys& keys, const GameKey& key, const std::string& value,
               std::vector<ValueProblem>& problems) {
    if (keys.IndexOfName(key.reading, value) >= 0) return;
    const bool none = EqualsNoCase(value, "none");
    if (none && (key.reading == Reading::Weapon || key.reading == Reading::Armor || key.reading == Reading::Vehicle))
        return;
    const Split display = SplitAtFirst(value, " - ");
    const std::string bare(Trim(display.before));
    if (display.found && keys.IndexOfName(key.reading, bare) >= 0) {
        problems.push_back({Level::Error, "The game reads the whole text as a name and finds none: write " + bare +
                                              " alone, without the description."});
        return;
    }
    std::string outcome;
    switch (key.reading) {
        case Reading::Weapon:
            outcome = "names no weapon, so the object has no weapon";
            break;
        case Reading::Warhead:
            outcome = "names no warhead, so the weapon keeps the warhead it had (None cannot clear it)";
            break;
        case Reading::Projectile:
            outcome = "names no projectile, so the weapon keeps the projectile it had (None cannot clear it)";
            break;
        case Reading::Armor:
            outcome = "names no armour, so the game uses none";
            break;
        case Reading::Crate:
            outcome = "names no crate bonus, so the game gives Money";
            break;
        case Reading::Vehicle:
            outcome = "names no land vehicle, so the crate gives a random vehicle";
            break;
        default:
            return;
    }
    problems.push_back({Level::Error, Quoted(value) + " " + outcome + "."});
}

// The items of a building or owner list that the game skips.
void CheckListItems(const GameKeys& keys, Reading reading, const std::vector<std::string_view>& unknown,
                    std::vector<ValueProblem>& problems) {
    const char* what = reading == Reading::Buildings ? "building" : "house";
    for (const std::string_view item : unknown) {
        const std::string_view trimmed = Trim(item);
        if (trimmed != item && (keys.IndexOfName(reading, trimmed) >= 0 || reading == Reading::Owners)) {
            problems.push_back({Level::Error, Quoted(item) + " names no " + what +
                                                  ": the game does not trim list items, "
                                                  "so it loses " +
                                                  std::string(trimmed) +
                                                  ". Write the list without blanks "
                                                  "around the commas."});
        } else if (reading == Reading::Buildings && EqualsNoCase(trimmed, "none")) {
            continue;  // reads as no prerequisite, which is what it says
        } else if (reading == Reading::Owners && StartsWithNoCase(trimmed, "multi")) {
            problems.push_back(
                {Level::Error, "The multiplayer houses cannot be owners; the game skips " + Quoted(item) + "."});
        } else {
            const Split display = SplitAtFirst(item, " - ");
            problems.push_back(
                {Level::Error, Quoted(item) + " names no " + what + "; the game skips it." +
                                   (display.found ? " Write the bare name, without the description." : "")});
        }
    }
}

void CheckVerses(const std::string& value, std::vector<ValueProblem>& problems) {
    const GameVerses verses = ReadGameVerses(value);
    const std::vector<std::string_view> items = SplitGameList(value);
    if (value.find(',') == std::string::npos && Trim(value).find_first_of(" \t") != std::string_view::npos) {
        problems.push_back({Level::Error, "The game splits Verses only at commas: it reads " +
                                              FormatPercent(verses.values[0]) +
                                              " against none and 0% against wood, light, heavy and concrete. Separate "
                                              "the five values with commas (100%,50%,60%,25%,25%)."});
        return;
    }
    if (items.size() < 5)
        problems.push_back({Level::Warning, "Only " + std::to_string(items.size()) +
                                                " of the five values; the game reads "
                                                "the missing ones as 0%."});
    if (items.size() > 5)
        problems.push_back(
            {Level::Warning, "More than five values; the game reads the first five and ignores the rest."});
    for (const std::string_view item : items) {
        const std::string_view trimmed = Trim(item);
        if (IsWholeNumber(trimmed) && ReadDecimal(trimmed) >= 2) {
            problems.push_back({Level::Warning, std::string(trimmed) + " is " + std::string(trimmed) +
                                                    "00% to the game. "
                                                    "Write " +
                                                    std::string(trimmed) + "% for a percentage."});
            break;
        }
    }
}

void CheckPowerup(const GameKey& key, const std::string& value, std::vector<ValueProblem>& problems) {
    const std::vector<std::string_view> items = SplitGameList(value);
    if (!items.empty() && !IsWholeNumber(Trim(items[0])))
        problems.push_back({Level::Error, "The shares " + Quoted(items[0]) +
                                              " are not a whole number; the game reads " +
                                              std::to_string(ReadDecimal(items[0])) + "."});
    if (items.size() < 3) return;
    const std::string_view data = Trim(items[2]);
    const bool fixed = data.find_first_of(".%") != std::string_view::npos;
    if (HasFixedData(key.name) && !fixed)
        problems.push_back({Level::Error, "The data " + std::string(data) + " has no \".\", so the game reads it as " +
                                              std::string(data) + "/256. Write " + std::string(data) + ".0."});
    else if (!HasFixedData(key.name) && fixed)
        problems.push_back({Level::Warning, "The data " + std::string(data) +
                                                " has a \".\" or \"%\", so the game stores "
                                                "it times 256 (" +
                                                std::to_string(ReadGameFixed(data) >> 8) + "). Write a whole number."});
}

}  // namespace

std::vector<ValueProblem> CheckValue(const GameKeys& keys, const GameKey& key, const std::string& value) {
    std::vector<ValueProblem> problems;
    if (value.empty()) return problems;
    switch (key.reading) {
        case Reading::Bool:
            if (!ReadGameBool(value))
                problems.push_back({Level::Error, "The game looks only at the first letter: " + Quoted(value) +
                                                      " is neither yes nor no, so it keeps its built-in " +
                                                      key.builtIn + ". Write yes or no."});
            break;
        case Reading::Int:
        case Reading::Int16u:
        case Reading::Int8u:
            CheckInt(key, value, problems);
            break;
        case Reading::Speed:
            CheckSpeed(key, value, problems);
            break;
        case Reading::Flag:
            if (!IsDigit(value.front()) && value.front() != '.')
                problems.push_back(
                    {Level::Error, "The game reads " + key.name + " as a number: " + Quoted(value) +
                                       " is 0, which is off. Write 1 to turn it on or 0 to turn it off."});
            else
                CheckFixed(key, value, problems);
            break;
        case Reading::Fixed:
        case Reading::Fraction:
        case Reading::Minutes:
        case Reading::Cells:
            CheckFixed(key, value, problems);
            break;
        case Reading::Weapon:
        case Reading::Warhead:
        case Reading::Projectile:
        case Reading::Armor:
        case Reading::Crate:
        case Reading::Vehicle:
            CheckName(keys, key, value, problems);
            break;
        case Reading::Buildings: {
            const GameBuildings buildings = ReadGameBuildings(value, keys);
            CheckListItems(keys, Reading::Buildings, buildings.unknown, problems);
            for (const std::string_view item : buildings.tooFar)
                problems.push_back({Level::Error, std::string(item) + " cannot be a prerequisite: only the first " +
                                                      std::to_string(kPrerequisiteBuildings) +
                                                      " buildings of the game (ATEK to TSLA) work as one."});
            break;
        }
        case Reading::Owners:
            CheckListItems(keys, Reading::Owners, ReadGameOwners(value, keys).unknown, problems);
            break;
        case Reading::Verses:
            CheckVerses(value, problems);
            break;
        case Reading::Powerup:
            CheckPowerup(key, value, problems);
            break;
        case Reading::Sound:
        case Reading::Anim:
        case Reading::Theme:
        case Reading::Text:
            break;
    }
    return problems;
}

}  // namespace morvane::gameview
