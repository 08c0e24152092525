#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gameview/Combat.h"
#include "gameview/PlayedValues.h"

// Pictures of the fight numbers as plain shapes, so that the window paints them and the same
// shapes are written as SVG.
namespace morvane::gameview {

struct PictureRect {
    double x, y, width, height;
    std::uint32_t fill;    // 0xRRGGBB
    std::uint32_t stroke;  // 0xRRGGBB; the same as fill for none
};

struct PictureText {
    double x, y;  // the anchor: left, middle or right end of the baseline
    std::string text;
    double size;  // in picture units
    enum class Anchor { Start, Middle, End } anchor = Anchor::Start;
    bool bold = false;
    std::uint32_t colour = 0;
};

struct Picture {
    double width = 0;
    double height = 0;
    std::vector<PictureRect> rects;  // painted first, in order
    std::vector<PictureText> texts;  // then the texts
};

// The picture as an SVG document.
std::string PictureSvg(const Picture& picture);

// A weapon's damage a minute against the five armours, one bar each, with the numbers.
Picture DamageChart(const std::string& weapon, const std::array<double, 5>& perMinute);
// The weapon's numbers, its firing taken as one shot at a time, with no country's bias.
std::array<double, 5> DamagePerMinute(const PlayedValues& values, const WeaponStats& weapon);

// Seconds to kill each target (columns) for each attacker (rows): nothing where it never kills.
struct KillMatrix {
    std::vector<std::string> attackers;
    std::vector<std::string> targets;
    std::vector<std::vector<std::optional<double>>> seconds;  // [attacker][target]
};
KillMatrix SecondsToKill(const PlayedValues& values, const std::vector<std::string>& attackers,
                         const std::vector<std::string>& targets, const CountryBiases& attackerCountry,
                         const CountryBiases& targetCountry);
// The matrix as a heat map: green for quick kills through yellow to red for slow ones, grey for
// never, the seconds written in each cell.
Picture HeatMap(const KillMatrix& matrix);

// A number for a picture: at most one decimal.
std::string ShortNumber(double value);

}  // namespace morvane::gameview
