#include "editor/InputCheck.h"

#include <cstdint>
#include <optional>
#include <vector>

#include "common/TextOps.h"

namespace morvane {
namespace {

bool AllDigits(std::string_view text) {
    if (text.empty()) return false;
    for (const char c : text)
        if (!IsDigit(c)) return false;
    return true;
}

// A whole number in decimal with an optional sign. Numbers too long for 64 bits read as the
// nearest end of that range, which is outside every bound a key has.
std::optional<std::int64_t> ReadWholeNumber(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (!AllDigits(text)) return std::nullopt;
    std::int64_t value = 0;
    for (const char c : text) {
        if (value > (INT64_MAX - 9) / 10) return negative ? INT64_MIN : INT64_MAX;
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

// A number as the game's fraction reader takes it: "1.25", ".5", "3", or a whole number
// directly before "%" ("50%").
bool IsFractionOrPercent(std::string_view text) {
    if (!text.empty() && text.back() == '%') return AllDigits(text.substr(0, text.size() - 1));
    const Split point = SplitAtFirst(text, '.');
    if (!point.found) return AllDigits(text);
    if (point.before.empty() && point.after.empty()) return false;
    return (point.before.empty() || AllDigits(point.before)) && (point.after.empty() || AllDigits(point.after));
}

std::string WholeNumberProblem(std::string_view text, std::int64_t lower, std::int64_t upper) {
    const auto value = ReadWholeNumber(text);
    if (!value) return "not a whole number";
    if (*value < lower) return "below the smallest value " + std::to_string(lower);
    if (*value > upper) return "above the largest value " + std::to_string(upper);
    return {};
}

std::string IntegerProblem(const Descriptor& descriptor, std::string_view text) {
    if (text.empty()) return "no number";
    return WholeNumberProblem(text, ReadLowerBound(descriptor.minText), ReadUpperBound(descriptor.maxText));
}

std::string RealProblem(std::string_view text) {
    if (text.empty()) return "no number";
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
    return IsFractionOrPercent(text) ? std::string() : "not a number";
}

std::string PercentProblem(std::string_view text) {
    if (text.empty()) return "no percentage";
    if (text.back() != '%') {
        // The game reads a bare number here as that many wholes: 50 is 5000%.
        return AllDigits(text) || IsFractionOrPercent(text) ? "a percentage ends with %" : "not a percentage";
    }
    const std::string problem = WholeNumberProblem(text.substr(0, text.size() - 1), 0, 100);
    if (problem == "not a whole number") return "not a whole percentage";
    return problem.empty() ? problem : problem + "%";
}

std::string CratePowerupProblem(const Descriptor& descriptor, std::string_view text) {
    const Split chance = SplitAtFirst(text, ',');
    if (!chance.found) return "needs a chance and an animation, separated by a comma";
    const std::string chanceProblem =
        WholeNumberProblem(Trim(chance.before), ReadLowerBound(descriptor.minText), ReadUpperBound(descriptor.maxText));
    if (!chanceProblem.empty()) return "chance: " + chanceProblem;
    const Split animation = SplitAtFirst(chance.after, ',');
    if (Trim(animation.before).empty()) return "no animation";
    if (animation.found && !IsFractionOrPercent(Trim(animation.after))) return "option: not a number";
    return {};
}

std::string VersesProblem(std::string_view text) {
    static constexpr const char* kArmours[5] = {"none", "wood", "light", "heavy", "concrete"};
    std::vector<std::string_view> fields;
    while (true) {
        const Split split = SplitAtFirst(text, ',');
        fields.push_back(Trim(split.before));
        if (!split.found) break;
        text = split.after;
    }
    // The game splits only at commas: "100% 50% 60% 25% 25%" is one value.
    if (fields.size() != 5) return "needs five values, one per armour, separated by commas";
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].empty()) return std::string(kArmours[i]) + ": no value";
        if (!IsFractionOrPercent(fields[i])) return std::string(kArmours[i]) + ": not a percentage";
    }
    return {};
}

}  // namespace

std::string InputProblem(const Descriptor& descriptor, std::string_view text) {
    text = Trim(text);
    if (!descriptor.hasFields) return {};
    switch (descriptor.kind) {
        case KeyKind::Integer:
            return IntegerProblem(descriptor, text);
        case KeyKind::Real:
            return RealProblem(text);
        case KeyKind::Percent:
            return PercentProblem(text);
        case KeyKind::CratePowerup:
            return CratePowerupProblem(descriptor, text);
        case KeyKind::Verses:
            return VersesProblem(text);
        default:
            return {};
    }
}

}  // namespace morvane
