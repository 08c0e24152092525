#include "gameview/CombatPictures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace morvane::gameview {
namespace {

constexpr std::uint32_t kInk = 0x202020;
constexpr std::uint32_t kPaper = 0xFFFFFF;
constexpr std::uint32_t kGrid = 0xC8C8C8;
constexpr std::uint32_t kBar = 0x3A6EA5;
constexpr std::uint32_t kNever = 0xB0B0B0;

std::string Colour(std::uint32_t rgb) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", static_cast<unsigned>(rgb & 0xFFFFFFu));
    return text;
}

std::string Escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string Coordinate(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

std::uint32_t Mix(std::uint32_t from, std::uint32_t to, double share) {
    std::uint32_t mixed = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const double a = (from >> shift) & 0xFF;
        const double b = (to >> shift) & 0xFF;
        mixed |= static_cast<std::uint32_t>(std::lround(a + (b - a) * share)) << shift;
    }
    return mixed;
}

// Green for the quickest through yellow to red for the slowest.
std::uint32_t Heat(double share) {
    constexpr std::uint32_t kGreen = 0x63BE7B, kYellow = 0xFFEB84, kRed = 0xF8696B;
    return share < 0.5 ? Mix(kGreen, kYellow, share * 2) : Mix(kYellow, kRed, (share - 0.5) * 2);
}

}  // namespace

std::string ShortNumber(double value) {
    char text[48];
    std::snprintf(text, sizeof text, "%.1f", value);
    std::string shown = text;
    if (shown.size() > 2 && shown.compare(shown.size() - 2, 2, ".0") == 0) shown.resize(shown.size() - 2);
    return shown == "-0" ? "0" : shown;
}

std::string PictureSvg(const Picture& picture) {
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                      Coordinate(picture.width) + "\" height=\"" + Coordinate(picture.height) + "\" viewBox=\"0 0 " +
                      Coordinate(picture.width) + " " + Coordinate(picture.height) + "\">\n";
    for (const PictureRect& rect : picture.rects) {
        svg += "<rect x=\"" + Coordinate(rect.x) + "\" y=\"" + Coordinate(rect.y) + "\" width=\"" +
               Coordinate(rect.width) + "\" height=\"" + Coordinate(rect.height) + "\" fill=\"" + Colour(rect.fill) +
               "\"";
        if (rect.stroke != rect.fill) svg += " stroke=\"" + Colour(rect.stroke) + "\"";
        svg += "/>\n";
    }
    for (const PictureText& text : picture.texts) {
        const char* anchor = text.anchor == PictureText::Anchor::Middle ? "middle"
                             : text.anchor == PictureText::Anchor::End  ? "end"
                                                                        : "start";
        svg += "<text x=\"" + Coordinate(text.x) + "\" y=\"" + Coordinate(text.y) +
               "\" font-family=\"sans-serif\" font-size=\"" + Coordinate(text.size) + "\" text-anchor=\"" + anchor +
               "\" fill=\"" + Colour(text.colour) + "\"" + (text.bold ? " font-weight=\"bold\"" : "") + ">" +
               Escaped(text.text) + "</text>\n";
    }
    return svg + "</svg>\n";
}

Picture DamageChart(const std::string& weapon, const std::array<double, 5>& perMinute) {
    Picture picture;
    picture.width = 520;
    picture.height = 340;
    picture.rects.push_back({0, 0, picture.width, picture.height, kPaper, kPaper});
    picture.texts.push_back({20, 28, weapon + ": damage per minute", 16, PictureText::Anchor::Start, true, kInk});

    const double left = 60, top = 50, bottom = 290, right = 500;
    double highest = 0;
    for (const double value : perMinute) highest = std::max(highest, std::abs(value));
    if (highest <= 0) highest = 1;
    // Bars grow from the zero line; a healing weapon's bars hang below it.
    const bool heals = std::any_of(perMinute.begin(), perMinute.end(), [](double v) { return v < 0; });
    const double zero = heals ? top : bottom;
    picture.rects.push_back({left, zero, right - left, 1, kInk, kInk});
    const double slot = (right - left) / 5;
    for (std::size_t i = 0; i < perMinute.size(); ++i) {
        const double length = std::abs(perMinute[i]) / highest * (bottom - top);
        const double x = left + slot * static_cast<double>(i) + slot * 0.2;
        picture.rects.push_back({x, heals ? zero : zero - length, slot * 0.6, length, kBar, kBar});
        const double labelY = heals ? zero + length + 16 : zero - length - 6;
        picture.texts.push_back(
            {x + slot * 0.3, labelY, ShortNumber(perMinute[i]), 12, PictureText::Anchor::Middle, false, kInk});
        picture.texts.push_back({x + slot * 0.3, heals ? 316.0 : bottom + 20, ArmourName(kArmours[i]), 13,
                                 PictureText::Anchor::Middle, false, kInk});
    }
    return picture;
}

std::array<double, 5> DamagePerMinute(const PlayedValues& values, const WeaponStats& weapon) {
    std::array<double, 5> perMinute{};
    const auto rate = ShotsPerMinute(ShotDelay(weapon, {}), false);
    for (std::size_t i = 0; i < kArmours.size(); ++i) {
        const std::int32_t damage = DamagePerHit(weapon, {}, {}, kArmours[i], values.Bounds());
        // A weapon that never waits has no finite rate: its bar is left at its damage a hit.
        perMinute[i] = damage * rate.value_or(1.0);
    }
    return perMinute;
}

KillMatrix SecondsToKill(const PlayedValues& values, const std::vector<std::string>& attackers,
                         const std::vector<std::string>& targets, const CountryBiases& attackerCountry,
                         const CountryBiases& targetCountry) {
    KillMatrix matrix{attackers, targets, {}};
    std::vector<FighterStats> targetStats;
    targetStats.reserve(targets.size());
    for (const std::string& target : targets) targetStats.push_back(values.Fighter(target));
    const DamageBounds bounds = values.Bounds();
    for (const std::string& attacker : attackers) {
        const FighterStats stats = values.Fighter(attacker);
        auto& row = matrix.seconds.emplace_back();
        for (const FighterStats& target : targetStats)
            row.push_back(Engage(stats, target, attackerCountry, targetCountry, bounds).Seconds());
    }
    return matrix;
}

Picture HeatMap(const KillMatrix& matrix) {
    constexpr double kCellW = 56, kCellH = 24, kLeft = 90, kTop = 70;
    Picture picture;
    picture.width = kLeft + kCellW * static_cast<double>(matrix.targets.size()) + 20;
    picture.height = kTop + kCellH * static_cast<double>(matrix.attackers.size()) + 20;
    picture.rects.push_back({0, 0, picture.width, picture.height, kPaper, kPaper});
    picture.texts.push_back(
        {10, 22, "Seconds to kill (rows attack, columns are hit)", 15, PictureText::Anchor::Start, true, kInk});

    double slowest = 0;
    for (const auto& row : matrix.seconds)
        for (const auto& cell : row)
            if (cell) slowest = std::max(slowest, *cell);
    for (std::size_t c = 0; c < matrix.targets.size(); ++c)
        picture.texts.push_back({kLeft + kCellW * (static_cast<double>(c) + 0.5), kTop - 10, matrix.targets[c], 11,
                                 PictureText::Anchor::Middle, true, kInk});
    for (std::size_t r = 0; r < matrix.attackers.size(); ++r) {
        const double y = kTop + kCellH * static_cast<double>(r);
        picture.texts.push_back(
            {kLeft - 8, y + kCellH * 0.68, matrix.attackers[r], 11, PictureText::Anchor::End, true, kInk});
        for (std::size_t c = 0; c < matrix.targets.size(); ++c) {
            const std::optional<double>& seconds = matrix.seconds[r][c];
            const double x = kLeft + kCellW * static_cast<double>(c);
            const std::uint32_t fill = seconds ? Heat(slowest > 0 ? *seconds / slowest : 0) : kNever;
            picture.rects.push_back({x, y, kCellW, kCellH, fill, kGrid});
            picture.texts.push_back({x + kCellW / 2, y + kCellH * 0.68, seconds ? ShortNumber(*seconds) : "never", 11,
                                     PictureText::Anchor::Middle, false, kInk});
        }
    }
    return picture;
}

}  // namespace morvane::gameview
