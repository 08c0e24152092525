#include "gameview/ReadingKinds.h"

#include <algorithm>
#include <array>

#include "common/TextOps.h"
#include "gameview/GameEffective.h"
#include "gameview/GameValues.h"

namespace morvane::gameview {
namespace {

constexpr std::array<const char*, 5> kArmourNames = {"none", "wood", "light", "heavy", "concrete"};

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool IsWholeNumber(std::string_view text) {
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
    if (text.empty()) return false;
    return std::all_of(text.begin(), text.end(), IsDigit);
}

std::string Quoted(std::string_view text) { return "'" + std::string(text) + "'"; }

std::string BuiltIn(const GameKey& key) { return "its built-in " + key.builtIn; }

// ---- whole numbers ----------------------------------------------------------------------------

// The number the field keeps, or nothing when the built-in value stays.
std::optional<std::int64_t> KeptNumber(const GameKey& key, const std::string& text) {
    const auto read = ReadGameInt(text);
    if (!read) return std::nullopt;
    return KeptInField(key.reading, *read);
}

std::string KeptInt(const GameKeys&, const GameKey& key, const std::string& text) {
    const auto kept = KeptNumber(key, text);
    return kept ? std::to_string(*kept) : "default";
}

std::string WordsInt(const GameKeys&, const GameKey& key, const std::string& text) {
    const auto kept = KeptNumber(key, text);
    return kept ? std::to_string(*kept) : BuiltIn(key);
}

// The form of a whole number: hexadecimal with digits, or decimal digits with nothing after.
bool CheckIntForm(const GameKey& key, const std::string& value, std::vector<ValueProblem>& problems) {
    const bool hex = value.front() == '$' || value.back() == 'h' || value.back() == 'H';
    const auto read = ReadGameInt(value);
    if (hex) {
        if (!read)
            problems.push_back({Level::Error, Quoted(value) +
                                                  " looks like a hexadecimal number without digits; the game "
                                                  "keeps " +
                                                  BuiltIn(key) + ". Write a number."});
        return false;
    }
    if (IsWholeNumber(value)) return true;
    const bool leading = IsDigit(value.front()) || (value.size() > 1 && IsDigit(value[1]));
    if (!leading)
        problems.push_back(
            {Level::Error, Quoted(value) + " is not a number; the game reads it as 0. Write a whole number."});
    else
        problems.push_back({Level::Error, "The game reads only the whole number at the start: " + Quoted(value) +
                                              " is " + std::to_string(*read) + ". Write " + std::to_string(*read) +
                                              " or the number you mean."});
    return false;
}

void CheckInt(const GameKeys&, const GameKey& key, const std::string& value, std::vector<ValueProblem>& problems) {
    if (!CheckIntForm(key, value, problems)) return;
    const std::int64_t number = ReadDecimal(value);
    const auto range = [&](std::int64_t lowest, std::int64_t highest, const std::string& how) {
        if (number >= lowest && number <= highest) return;
        problems.push_back({Level::Error, "The game keeps " + key.name + " " + how + ": " + value + " is stored as " +
                                              std::to_string(*KeptNumber(key, value)) + ". Use a number from " +
                                              std::to_string(lowest) + " to " + std::to_string(highest) + "."});
    };
    if (key.reading == Reading::Int16u) range(0, 65535, "in 16 bits");
    if (key.reading == Reading::Int8u) range(0, 255, "in 8 bits");
    if (key.reading == Reading::Int100) range(0, 100, "between 0 and 100");
}

// An int that names one of a set the game numbers from 0: other numbers act as `outside`.
void CheckNumberedSet(const GameKey& key, const std::string& value, std::int64_t highest, const char* what,
                      const char* outside, std::vector<ValueProblem>& problems) {
    if (!CheckIntForm(key, value, problems)) return;
    const std::int64_t number = ReadDecimal(value);
    if (number < 0 || number > highest)
        problems.push_back({Level::Error, "The game has " + std::string(what) + " 0 to " + std::to_string(highest) +
                                              " only; for " + value + " it " + outside + "."});
}

void CheckExplosion(const GameKeys&, const GameKey& key, const std::string& value,
                    std::vector<ValueProblem>& problems) {
    CheckNumberedSet(key, value, 6, "explosion sets", "shows no explosion", problems);
}

void CheckInfDeath(const GameKeys&, const GameKey& key, const std::string& value, std::vector<ValueProblem>& problems) {
    CheckNumberedSet(key, value, 5, "infantry deaths", "plays death 0", problems);
}

// The size of a table of objects the game makes itself: a smaller size loses the last ones.
void CheckTableSize(const GameKeys& keys, const GameKey& key, const std::string& value, Reading objects,
                    const char* what, std::vector<ValueProblem>& problems) {
    if (!CheckIntForm(key, value, problems)) return;
    const std::vector<std::string>& made = keys.Names(objects);
    const std::int64_t number = ReadDecimal(value);
    if (number >= static_cast<std::int64_t>(made.size())) return;
    const std::size_t kept = static_cast<std::size_t>(std::max<std::int64_t>(number, 0));
    std::string lost;
    for (std::size_t i = kept; i < made.size(); ++i) lost += (i == kept ? "" : ", ") + made[i];
    problems.push_back({Level::Error, "The game makes " + std::to_string(made.size()) + " " + what +
                                          " itself; with room for " + value + " it loses " + lost + ". Write " +
                                          std::to_string(made.size()) + " or more."});
}

void CheckWeapons(const GameKeys& keys, const GameKey& key, const std::string& value,
                  std::vector<ValueProblem>& problems) {
    CheckTableSize(keys, key, value, Reading::Weapon, "weapons", problems);
}

void CheckWarheads(const GameKeys& keys, const GameKey& key, const std::string& value,
                   std::vector<ValueProblem>& problems) {
    CheckTableSize(keys, key, value, Reading::Warhead, "warheads", problems);
}

// ---- yes and no -------------------------------------------------------------------------------

std::string KeptBool(const GameKeys&, const GameKey&, const std::string& text) {
    const auto value = ReadGameBool(text);
    return !value ? "default" : (*value ? "true" : "false");
}

std::string WordsBool(const GameKeys&, const GameKey& key, const std::string& text) {
    const auto value = ReadGameBool(text);
    return !value ? BuiltIn(key) : (*value ? "yes" : "no");
}

void CheckBool(const GameKeys&, const GameKey& key, const std::string& value, std::vector<ValueProblem>& problems) {
    if (!ReadGameBool(value))
        problems.push_back({Level::Error, "The game looks only at the first letter: " + Quoted(value) +
                                              " is neither yes nor no, so it keeps " + BuiltIn(key) +
                                              ". Write yes or no."});
}

// ---- fixed point ------------------------------------------------------------------------------

std::string KeptFixed(const GameKeys&, const GameKey&, const std::string& text) {
    return FormatFixed(ReadGameFixed(text));
}

std::string WordsFixed(const GameKeys&, const GameKey&, const std::string& text) {
    return FormatDecimal(ReadGameFixed(text));
}

std::string WordsFraction(const GameKeys&, const GameKey&, const std::string& text) {
    const std::uint32_t raw = ReadGameFixed(text);
    return FormatPercent(raw) + " (" + FormatDecimal(raw) + ")";
}

std::string WordsMinutes(const GameKeys&, const GameKey&, const std::string& text) {
    return FormatDecimal(ReadGameFixed(text)) + " minutes";
}

// The length of the number the fixed reader takes from the start of `text`: digits and "%",
// or digits, "." and digits.
std::size_t FixedFormLength(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && IsDigit(text[at])) ++at;
    if (at < text.size() && text[at] == '%') return at + 1;
    if (at < text.size() && text[at] == '.') {
        ++at;
        while (at < text.size() && IsDigit(text[at])) ++at;
    }
    return at;
}

// The form of a fixed-point number: digits with an optional "." part, or a whole number and "%".
// `what` names the value in the messages ("" for the whole value, "against wood" in Verses).
void CheckFixedText(const GameKey& key, std::string_view text, const std::string& what,
                    std::vector<ValueProblem>& problems) {
    const std::string shown = what.empty() ? std::string(text) : std::string(text) + " " + what;
    if (text.empty()) return;
    if (text.front() == '-') {
        problems.push_back({Level::Error, "The game has no negative numbers here: " + shown + " reads as " +
                                              FormatDecimal(ReadGameFixed(text)) + ". Write a number of 0 or more."});
        return;
    }
    if (!IsDigit(text.front()) && text.front() != '.') {
        problems.push_back({Level::Error, Quoted(text) + (what.empty() ? "" : " " + what) +
                                              " is not a number as the game writes them; it reads it as " +
                                              FormatDecimal(ReadGameFixed(text)) +
                                              ". Write a number such as 1.5 or a percentage such as 50%."});
        return;
    }
    const std::size_t length = FixedFormLength(text);
    if (length < text.size()) {
        const std::string read = FormatDecimal(ReadGameFixed(text));
        const char next = text[length];
        std::string advice = "Write a fraction with a point (.505) or a whole percentage directly before % (50%).";
        if (next == ',')
            advice = "The game knows no decimal comma: write " + std::string(text.substr(0, length)) + "." +
                     std::string(text.substr(length + 1)) + " with a point.";
        else if (next == ' ' || next == '\t')
            advice = "Write the number without blanks inside it.";
        problems.push_back({Level::Error, "The game reads " + Quoted(text) + (what.empty() ? "" : " " + what) +
                                              " only up to " + Quoted(std::string(1, next)) + ", as " + read + ". " +
                                              advice});
        return;
    }
    if (key.reading == Reading::Fraction && IsWholeNumber(text) && ReadDecimal(text) >= 2)
        problems.push_back({Level::Warning, (what.empty() ? key.name + "=" + std::string(text) : shown) + " is " +
                                                std::string(text) + "00% to the game. Write " + std::string(text) +
                                                "% for a percentage."});
}

void CheckFixed(const GameKeys&, const GameKey& key, const std::string& value, std::vector<ValueProblem>& problems) {
    CheckFixedText(key, value, "", problems);
}

// ---- a flag read as a fixed-point number --------------------------------------------------------

// The field keeps one bit of the rounded number: 1 and 3 are on, 2 and 1.5 off.
bool FlagOn(const std::string& text) { return (RoundGameFixed(ReadGameFixed(text)) & 1u) != 0; }

std::string KeptFlag(const GameKeys&, const GameKey&, const std::string& text) {
    return FlagOn(text) ? "true" : "false";
}

std::string WordsFlag(const GameKeys&, const GameKey&, const std::string& text) { return FlagOn(text) ? "on" : "off"; }

void CheckFlag(const GameKeys&, const GameKey& key, const std::string& value, std::vector<ValueProblem>& problems) {
    if (IsLetter(value.front())) {
        // A word reads as 0: right for the words that mean off, wrong for every other.
        const char first = ToLowerAscii(value.front());
        if (first == 'n' || first == 'f' || EqualsNoCase(value, "off")) return;
        problems.push_back({Level::Error, "The game reads " + key.name + " as a number: " + Quoted(value) +
                                              " is 0, which is off. Write 1 to turn it on or 0 to turn it off."});
        return;
    }
    const std::size_t before = problems.size();
    CheckFixedText(key, value, "", problems);
    if (problems.size() != before) return;
    const std::uint32_t rounded = RoundGameFixed(ReadGameFixed(value));
    if (rounded > 1)
        problems.push_back({Level::Error, "The game keeps only the lowest bit of " + key.name + ": " + value +
                                              " rounds to " + std::to_string(rounded) + ", which is " +
                                              (FlagOn(value) ? "on" : "off") + ". Write 1 for on or 0 for off."});
}

// ---- distances --------------------------------------------------------------------------------

std::string KeptCells(const GameKeys&, const GameKey&, const std::string& text) {
    return std::to_string(ReadGameLeptons(text));
}

std::string CellsInWords(std::uint16_t leptons) {
    return FormatDecimal(static_cast<std::uint32_t>(leptons) << 8) + " cells (" + std::to_string(leptons) + " leptons)";
}

std::string WordsCells(const GameKeys&, const GameKey&, const std::string& text) {
    return CellsInWords(ReadGameLeptons(text));
}

void CheckCells(const GameKeys&, const GameKey& key, const std::string& value, std::vector<ValueProblem>& problems) {
    const std::size_t before = problems.size();
    CheckFixedText(key, value, "", problems);
    if (problems.size() != before) return;
    const std::uint32_t raw = ReadGameFixed(value);
    // 256 leptons a cell in 16 bits: from 255.998 cells on the distance wraps round.
    if (static_cast<std::uint64_t>(raw) + 128u >= (std::uint64_t{1} << 24))
        problems.push_back({Level::Error, "The game keeps distances in 16 bits of leptons (256 a cell): " + value +
                                              " cells is stored as " + CellsInWords(ReadGameLeptons(value)) +
                                              ". Use less than 256 cells."});
}

// ---- speeds -----------------------------------------------------------------------------------

std::string KeptSpeed(const GameKeys&, const GameKey&, const std::string& text) {
    const auto value = ReadGameSpeed(text);
    return value ? std::to_string(*value) : "default";
}

std::string WordsSpeed(const GameKeys&, const GameKey& key, const std::string& text) {
    const auto value = ReadGameSpeed(text);
    if (!value) return BuiltIn(key);
    return std::to_string(std::clamp<std::int64_t>(*ReadGameInt(text), 0, 100)) + " (stored as " +
           std::to_string(*value) + " of 255)";
}

void CheckSpeed(const GameKeys&, const GameKey& key, const std::string& value, std::vector<ValueProblem>& problems) {
    if (!CheckIntForm(key, value, problems)) return;
    const std::int64_t number = ReadDecimal(value);
    if (number > 100)
        problems.push_back(
            {Level::Error, "Speeds run from 0 to 100; the game reads " + value + " as 100. Write a number up to 100."});
    else if (number < 0)
        problems.push_back({Level::Error, "Speeds run from 0 to 100; the game reads " + value + " as 0."});
}

// ---- names ------------------------------------------------------------------------------------

std::string KeptName(const GameKeys& keys, const GameKey& key, const std::string& text) {
    return MatchedName(keys, key.reading, text);
}

std::string WordsName(const GameKeys& keys, const GameKey& key, const std::string& text) {
    std::string matched = MatchedName(keys, key.reading, text);
    if (matched == "kept")
        return std::string("the ") + (key.reading == Reading::Warhead ? "warhead" : "projectile") + " it had before";
    if (matched != "none") return matched;
    switch (key.reading) {
        case Reading::Weapon:
            return "no weapon";
        case Reading::Vehicle:
            return "none (a random vehicle)";
        case Reading::Sound:
            return "no sound";
        case Reading::Anim:
            return "no animation";
        default:
            return matched;
    }
}

// What the game does with a name it does not find.
const char* Fallback(Reading reading) {
    switch (reading) {
        case Reading::Weapon:
            return "names no weapon, so the object has no weapon";
        case Reading::Warhead:
            return "names no warhead, so the weapon keeps the warhead it had (None cannot clear it)";
        case Reading::Projectile:
            return "names no projectile, so the weapon keeps the projectile it had (None cannot clear it)";
        case Reading::Armor:
            return "names no armour, so the game uses none";
        case Reading::Crate:
            return "names no crate bonus, so the game gives Money";
        case Reading::Vehicle:
            return "names no land vehicle, so the crate gives a random vehicle";
        case Reading::Sound:
            return "names no sound of the game, so the weapon fires without a sound";
        case Reading::Anim:
            return "names no animation of the game, so the game shows none";
        default:
            return "names nothing the game knows";
    }
}

void CheckName(const GameKeys& keys, const GameKey& key, const std::string& value,
               std::vector<ValueProblem>& problems) {
    if (keys.IndexOfName(key.reading, value) >= 0) return;
    // "None" means what the game does with it where the fallback is nothing at all.
    const bool none = EqualsNoCase(value, "none");
    if (none && (key.reading == Reading::Weapon || key.reading == Reading::Armor || key.reading == Reading::Vehicle ||
                 key.reading == Reading::Sound || key.reading == Reading::Anim))
        return;
    const Split display = SplitAtFirst(value, " - ");
    const std::string bare(Trim(display.before));
    if (display.found && keys.IndexOfName(key.reading, bare) >= 0) {
        problems.push_back({Level::Error, "The game reads the whole text as a name and finds none: write " + bare +
                                              " alone, without the description."});
        return;
    }
    problems.push_back({Level::Error, Quoted(value) + " " + Fallback(key.reading) + "."});
}

// ---- lists of buildings and houses --------------------------------------------------------------

std::string KeptBuildings(const GameKeys& keys, const GameKey& key, const std::string& text) {
    return JoinBits(keys, key.reading, ReadGameBuildings(text, keys).bits);
}

std::string WordsBuildings(const GameKeys& keys, const GameKey& key, const std::string& text) {
    const std::string names = KeptBuildings(keys, key, text);
    return names == "none" ? "no prerequisite" : names;
}

std::string KeptOwners(const GameKeys& keys, const GameKey& key, const std::string& text) {
    return JoinBits(keys, key.reading, ReadGameOwners(text, keys).bits);
}

std::string WordsOwners(const GameKeys& keys, const GameKey& key, const std::string& text) {
    const std::string names = KeptOwners(keys, key, text);
    return names == "none" ? "no owner" : names;
}

// The items of a building or owner list that the game skips.
void CheckListItems(const GameKeys& keys, Reading reading, const std::vector<std::string_view>& unknown,
                    std::vector<ValueProblem>& problems) {
    const char* what = reading == Reading::Buildings ? "building" : "house";
    for (const std::string_view item : unknown) {
        const std::string_view trimmed = Trim(item);
        if (trimmed != item && (keys.IndexOfName(reading, trimmed) >= 0 || reading == Reading::Owners)) {
            problems.push_back({Level::Error, Quoted(item) + " names no " + what +
                                                  ": the game does not trim list items, so it loses " +
                                                  std::string(trimmed) +
                                                  ". Write the list without blanks around the commas."});
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

void CheckBuildings(const GameKeys& keys, const GameKey&, const std::string& value,
                    std::vector<ValueProblem>& problems) {
    const GameBuildings buildings = ReadGameBuildings(value, keys);
    CheckListItems(keys, Reading::Buildings, buildings.unknown, problems);
    const std::vector<std::string>& names = keys.Names(Reading::Buildings);
    for (const std::string_view item : buildings.tooFar) {
        const auto index = static_cast<std::size_t>(keys.IndexOfName(Reading::Buildings, item));
        problems.push_back({Level::Error, std::string(item) + " cannot be a prerequisite: only the first " +
                                              std::to_string(kPrerequisiteBuildings) +
                                              " buildings of the game (ATEK to TSLA) work as one. The game takes it "
                                              "for " +
                                              names[index % kPrerequisiteBuildings] + "."});
    }
}

void CheckOwners(const GameKeys& keys, const GameKey&, const std::string& value, std::vector<ValueProblem>& problems) {
    CheckListItems(keys, Reading::Owners, ReadGameOwners(value, keys).unknown, problems);
}

// ---- Verses -----------------------------------------------------------------------------------

std::string KeptVerses(const GameKeys&, const GameKey&, const std::string& text) {
    const GameVerses verses = ReadGameVerses(text);
    std::string kept;
    for (std::size_t i = 0; i < verses.values.size(); ++i) kept += (i == 0 ? "" : ",") + FormatFixed(verses.values[i]);
    return kept;
}

std::string WordsVerses(const GameKeys&, const GameKey&, const std::string& text) {
    const GameVerses verses = ReadGameVerses(text);
    std::string words;
    for (std::size_t i = 0; i < verses.values.size(); ++i)
        words += (i == 0 ? "" : ", ") + std::string(kArmourNames[i]) + " " + FormatPercent(verses.values[i]);
    return words;
}

void CheckVerses(const GameKeys&, const GameKey& key, const std::string& value, std::vector<ValueProblem>& problems) {
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
                                                " of the five values; the game reads the missing ones as 0%."});
    if (items.size() > 5)
        problems.push_back(
            {Level::Warning, "More than five values; the game reads the first five and ignores the rest."});
    // Each item as a fixed-point number of its own: blanks before it are harmless, not after.
    for (std::size_t i = 0; i < items.size() && i < kArmourNames.size(); ++i) {
        const std::string_view item = TrimLeft(items[i]);
        const std::size_t before = problems.size();
        CheckFixedText(key, TrimRight(item).size() == FixedFormLength(item) ? TrimRight(item) : item,
                       std::string("against ") + kArmourNames[i], problems);
        if (problems.size() != before) break;
        if (IsWholeNumber(TrimRight(item)) && ReadDecimal(item) >= 2) {
            problems.push_back({Level::Warning, std::string(TrimRight(item)) + " is " + std::string(TrimRight(item)) +
                                                    "00% to the game. Write " + std::string(TrimRight(item)) +
                                                    "% for a percentage."});
            break;
        }
    }
}

// ---- crate bonuses ----------------------------------------------------------------------------

std::string PowerupAnimation(const GameKeys& keys, const GamePowerup& powerup) {
    if (powerup.animation.empty()) return "none";
    return MatchedName(keys, Reading::Anim, powerup.animation);
}

// A line without data keeps the data the crate had: the built-in one.
GamePowerup ReadPowerup(const GameKey& key, const std::string& text) {
    GamePowerup powerup = ReadGamePowerup(text);
    if (!powerup.hasData) powerup.data = ReadGamePowerup(key.builtIn).data;
    return powerup;
}

std::string KeptPowerup(const GameKeys& keys, const GameKey& key, const std::string& text) {
    const GamePowerup powerup = ReadPowerup(key, text);
    return std::to_string(powerup.shares) + "," + PowerupAnimation(keys, powerup) + "," + std::to_string(powerup.data);
}

std::string WordsPowerup(const GameKeys& keys, const GameKey& key, const std::string& text) {
    const GamePowerup powerup = ReadPowerup(key, text);
    const std::string animation = PowerupAnimation(keys, powerup);
    return std::to_string(powerup.shares) + " shares, " +
           (animation == "none" ? std::string("no animation") : "animation " + animation) + ", data " +
           std::to_string(powerup.data);
}

// The crate bonuses whose data is a multiplier or a time, read as fixed point only with a "."
// or "%" in it.
bool HasFixedData(std::string_view crate) {
    return crate == "Armor" || crate == "Firepower" || crate == "Speed" || crate == "Invulnerability";
}

void CheckPowerup(const GameKeys& keys, const GameKey& key, const std::string& value,
                  std::vector<ValueProblem>& problems) {
    const std::vector<std::string_view> items = SplitGameList(value);
    if (!items.empty() && !IsWholeNumber(Trim(items[0])))
        problems.push_back({Level::Error, "The shares " + Quoted(items[0]) +
                                              " are not a whole number; the game reads " +
                                              std::to_string(ReadDecimal(items[0])) + "."});
    if (items.size() > 1) {
        const GamePowerup powerup = ReadGamePowerup(value);
        if (!powerup.animation.empty() && keys.IndexOfName(Reading::Anim, powerup.animation) < 0)
            problems.push_back({Level::Error, Quoted(powerup.animation) + " " + Fallback(Reading::Anim) + "."});
    }
    if (items.size() < 3) return;
    const std::string_view data = Trim(items[2]);
    const bool fixed = data.find_first_of(".%") != std::string_view::npos;
    const GamePowerup powerup = ReadGamePowerup(value);
    if (HasFixedData(key.name) && !fixed)
        problems.push_back({Level::Error, "The data " + std::string(data) + " has no \".\", so the game reads it as " +
                                              std::string(data) + "/256. Write " + std::string(data) + ".0."});
    else if (fixed && powerup.dataWraps)
        problems.push_back({Level::Error, "The game stores the data " + std::string(data) +
                                              " times 256 in 32 bits, which it passes: it keeps " +
                                              std::to_string(powerup.data) + ". Write a number below 256."});
    else if (!HasFixedData(key.name) && fixed)
        problems.push_back({Level::Warning, "The data " + std::string(data) +
                                                " has a \".\" or \"%\", so the game stores it times 256 (" +
                                                std::to_string(powerup.data) + "). Write a whole number."});
}

// ---- music themes -----------------------------------------------------------------------------

std::string ThemeOwners(const GameKeys& keys, const GameTheme& theme) {
    return JoinBits(keys, Reading::Owners, theme.owners);
}

std::string KeptTheme(const GameKeys& keys, const GameKey&, const std::string& text) {
    const GameTheme theme = ReadGameTheme(text, keys);
    return std::to_string(theme.scenario) + "," + ThemeOwners(keys, theme);
}

std::string WordsTheme(const GameKeys& keys, const GameKey&, const std::string& text) {
    const GameTheme theme = ReadGameTheme(text, keys);
    const std::string owners = ThemeOwners(keys, theme);
    return "from scenario " + std::to_string(theme.scenario) + ", " + (owners == "none" ? "no owner" : owners);
}

void CheckTheme(const GameKeys& keys, const GameKey&, const std::string& value, std::vector<ValueProblem>& problems) {
    const GameTheme theme = ReadGameTheme(value, keys);
    if (!theme.items.empty() && !IsWholeNumber(theme.items[0]))
        problems.push_back({Level::Error, "The scenario " + Quoted(theme.items[0]) +
                                              " is not a whole number; the game reads " +
                                              std::to_string(theme.scenario) + ". Write scenario,owner (5,soviet)."});
    CheckListItems(keys, Reading::Owners, theme.unknown, problems);
    if (theme.items.size() > 2)
        problems.push_back(
            {Level::Warning, "The game reads one owner after the scenario and ignores " +
                                 Quoted(value.substr(static_cast<std::size_t>(theme.items[2].data() - value.data()))) +
                                 "."});
}

// ---- text -------------------------------------------------------------------------------------

std::string KeptText(const GameKeys&, const GameKey&, const std::string& text) { return text; }
std::string WordsText(const GameKeys&, const GameKey&, const std::string& text) { return Quoted(text); }
void CheckNothing(const GameKeys&, const GameKey&, const std::string&, std::vector<ValueProblem>&) {}

constexpr ReadingKind kKinds[] = {
    {Reading::Bool, "bool", "bool", KeptBool, WordsBool, CheckBool},
    {Reading::Int, "int", "int", KeptInt, WordsInt, CheckInt},
    {Reading::Int16u, "int16u", "int", KeptInt, WordsInt, CheckInt},
    {Reading::Int8u, "int8u", "int", KeptInt, WordsInt, CheckInt},
    {Reading::Int100, "int100", "int", KeptInt, WordsInt, CheckInt},
    {Reading::Explosion, "explosion", "int", KeptInt, WordsInt, CheckExplosion},
    {Reading::InfDeath, "infdeath", "int", KeptInt, WordsInt, CheckInfDeath},
    {Reading::Weapons, "weapons", "int", KeptInt, WordsInt, CheckWeapons},
    {Reading::Warheads, "warheads", "int", KeptInt, WordsInt, CheckWarheads},
    {Reading::Fixed, "fixed", "fixed", KeptFixed, WordsFixed, CheckFixed},
    {Reading::Fraction, "fraction", "fixed", KeptFixed, WordsFraction, CheckFixed},
    {Reading::Flag, "flag", "bool", KeptFlag, WordsFlag, CheckFlag},
    {Reading::Minutes, "minutes", "fixed", KeptFixed, WordsMinutes, CheckFixed},
    {Reading::Cells, "cells", "cells", KeptCells, WordsCells, CheckCells},
    {Reading::Speed, "speed", "speed", KeptSpeed, WordsSpeed, CheckSpeed},
    {Reading::Weapon, "weapon", "name", KeptName, WordsName, CheckName},
    {Reading::Warhead, "warhead", "name", KeptName, WordsName, CheckName},
    {Reading::Projectile, "projectile", "name", KeptName, WordsName, CheckName},
    {Reading::Armor, "armor", "name", KeptName, WordsName, CheckName},
    {Reading::Sound, "sound", "name", KeptName, WordsName, CheckName},
    {Reading::Anim, "anim", "name", KeptName, WordsName, CheckName},
    {Reading::Crate, "crate", "name", KeptName, WordsName, CheckName},
    {Reading::Vehicle, "vehicle", "name", KeptName, WordsName, CheckName},
    {Reading::Buildings, "buildings", "buildings", KeptBuildings, WordsBuildings, CheckBuildings},
    {Reading::Owners, "owners", "owners", KeptOwners, WordsOwners, CheckOwners},
    {Reading::Verses, "verses", "verses", KeptVerses, WordsVerses, CheckVerses},
    {Reading::Powerup, "powerup", "powerup", KeptPowerup, WordsPowerup, CheckPowerup},
    {Reading::Theme, "theme", "theme", KeptTheme, WordsTheme, CheckTheme},
    {Reading::Text, "text", "text", KeptText, WordsText, CheckNothing},
};

// The table lists every reading at its place in the enum: KindOf indexes it.
constexpr bool InEnumOrder() {
    for (std::size_t i = 0; i < std::size(kKinds); ++i)
        if (static_cast<std::size_t>(kKinds[i].reading) != i) return false;
    return std::size(kKinds) == static_cast<std::size_t>(Reading::Text) + 1;
}
static_assert(InEnumOrder());

}  // namespace

const ReadingKind& KindOf(Reading reading) {
    const auto at = static_cast<std::size_t>(reading);
    return at < std::size(kKinds) ? kKinds[at] : kKinds[std::size(kKinds) - 1];
}

std::int64_t KeptInField(Reading reading, std::int32_t read) {
    switch (reading) {
        case Reading::Int16u:
            return static_cast<std::uint16_t>(read);
        case Reading::Int8u:
            return static_cast<std::uint8_t>(read);
        case Reading::Int100:
            return std::clamp<std::int64_t>(read, 0, 100);
        default:
            return read;
    }
}

std::optional<Reading> ReadingNamed(std::string_view tableWord) {
    for (const ReadingKind& kind : kKinds)
        if (kind.tableWord == tableWord) return kind.reading;
    return std::nullopt;
}

}  // namespace morvane::gameview
