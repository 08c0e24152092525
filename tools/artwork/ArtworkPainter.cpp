#include "ArtworkPainter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <QString>
#include <QTransform>

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <numbers>

namespace morvane::artwork {
namespace {

// Device pixels per unit of every canvas: 1 for the normal pictures, 2 for the high-density ones.
qreal g_scale = 1;

// ---------------------------------------------------------------------------------------------
// Palette: a few military tones for bodies and buildings, a few clear accents for markings.

const QColor kInk(0x1d2114u);  // every outline
const QColor kOliveDark(0x3a4220u);
const QColor kOlive(0x5f6d31u);
const QColor kOliveLight(0x8d9c50u);
const QColor kKhakiDark(0x8f7f4au);
const QColor kKhaki(0xc2ae72u);
const QColor kSand(0xe6dab0u);
const QColor kSteelDark(0x4f5b66u);
const QColor kSteel(0x8797a4u);
const QColor kSteelLight(0xc3ced6u);
const QColor kBrickDark(0x6b2a1cu);
const QColor kBrick(0xa4462eu);
const QColor kConcrete(0xb3ad97u);
const QColor kAsphalt(0x54574cu);
const QColor kWood(0xa8743cu);
const QColor kWoodDark(0x6e4a24u);
const QColor kTrack(0x37382fu);
const QColor kGlass(0x9fd3eau);
const QColor kWater(0x35586eu);
const QColor kSkin(0xe2b48cu);
const QColor kRed(0xd8362au);
const QColor kYellow(0xf2c21bu);
const QColor kGold(0xe9b52cu);
const QColor kOrange(0xf0862au);
const QColor kBlue(0x2f6cd0u);
const QColor kCyan(0x5fd4f0u);
const QColor kGreen(0x52ad3cu);
const QColor kWhite(0xf6f2e4u);
const QColor kBlack(0x25261fu);

QColor WithAlpha(QColor colour, int alpha) {
    colour.setAlpha(alpha);
    return colour;
}

// ---------------------------------------------------------------------------------------------
// Drawing primitives. Shapes are filled flat and outlined with the painter's current pen, which
// is a one-pixel ink line that keeps its width whatever the painter's scale.

QPen InkPen(qreal width = 1.0) {
    QPen pen(kInk, width);
    pen.setCosmetic(true);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

// A transparent image `width` x `height` units large; painters on it work in units, whatever the scale.
QImage Canvas(int width, int height) {
    QImage image(static_cast<int>(width * g_scale), static_cast<int>(height * g_scale),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(g_scale);
    image.fill(Qt::transparent);
    return image;
}

void Prepare(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.setPen(InkPen());
}

// The length in painter units of one device pixel.
qreal PixelSize(const QPainter& p) { return 1.0 / std::sqrt(std::abs(p.worldTransform().determinant())); }

QPainterPath PolyPath(std::initializer_list<QPointF> points) {
    QPolygonF polygon;
    for (const QPointF& point : points) polygon << point;
    QPainterPath path;
    path.addPolygon(polygon);
    path.closeSubpath();
    return path;
}

QPainterPath RectPath(const QRectF& rect, qreal radius = 0) {
    QPainterPath path;
    if (radius > 0)
        path.addRoundedRect(rect, radius, radius);
    else
        path.addRect(rect);
    return path;
}

QPainterPath EllipsePath(const QRectF& rect) {
    QPainterPath path;
    path.addEllipse(rect);
    return path;
}

QPainterPath CirclePath(QPointF centre, qreal radius) {
    return EllipsePath({centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius});
}

// A bar of `thickness` starting at `from` and running `length` at `angle` degrees above the
// horizontal (counter-clockwise on screen): barrels, missiles, rails.
QPainterPath BarPath(QPointF from, qreal length, qreal angle, qreal thickness) {
    QPainterPath path;
    path.addRect(0, -thickness / 2, length, thickness);
    QTransform turn;
    turn.translate(from.x(), from.y());
    turn.rotate(-angle);
    return turn.map(path);
}

QPointF Along(QPointF from, qreal length, qreal angle) {
    const qreal radians = angle * std::numbers::pi / 180.0;
    return from + QPointF(length * std::cos(radians), -length * std::sin(radians));
}

QPainterPath StarPath(QPointF centre, qreal outer, qreal inner, int points = 5) {
    QPolygonF polygon;
    for (int i = 0; i < 2 * points; ++i) {
        const qreal radius = i % 2 == 0 ? outer : inner;
        const qreal angle = -std::numbers::pi / 2 + i * std::numbers::pi / points;
        polygon << centre + QPointF(radius * std::cos(angle), radius * std::sin(angle));
    }
    QPainterPath path;
    path.addPolygon(polygon);
    path.closeSubpath();
    return path;
}

// A spanner from the end of its handle at `from`, `length` long towards `angle`, its open jaw at
// the far end.
QPainterPath WrenchPath(QPointF from, qreal length, qreal angle, qreal thickness) {
    const QPointF head = Along(from, length, angle);
    const qreal radius = thickness * 1.45;
    QTransform turn;
    turn.translate(head.x(), head.y());
    turn.rotate(-angle);
    const QPainterPath jaw =
        CirclePath(head, radius).subtracted(turn.map(RectPath({0, -thickness * 0.45, radius + 1, thickness * 0.9})));
    return BarPath(from, length, angle, thickness).united(jaw);
}

// Fills `path` and outlines it with the current pen.
void Shape(QPainter& p, const QPainterPath& path, const QBrush& fill) {
    p.setBrush(fill);
    p.drawPath(path);
}

// Fills `path` without an outline: highlights, markings and details.
void Flat(QPainter& p, const QPainterPath& path, const QBrush& fill) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(path);
    p.restore();
}

// Strokes `path` with a line `width` painter units wide and no outline: wires, seams, rays.
void Line(QPainter& p, const QPainterPath& path, const QColor& colour, qreal width) {
    p.save();
    QPen pen(colour, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.restore();
}

void Line(QPainter& p, QPointF a, QPointF b, const QColor& colour, qreal width) {
    QPainterPath path(a);
    path.lineTo(b);
    Line(p, path, colour, width);
}

// Strokes `path` as a rounded rod with an ink edge: limbs, poles, pipes, tails.
void Rod(QPainter& p, const QPainterPath& path, const QColor& colour, qreal width) {
    Line(p, path, kInk, width + 2 * PixelSize(p));
    Line(p, path, colour, width);
}

void Rod(QPainter& p, std::initializer_list<QPointF> points, const QColor& colour, qreal width) {
    QPainterPath path(*points.begin());
    for (auto point = points.begin() + 1; point != points.end(); ++point) path.lineTo(*point);
    Rod(p, path, colour, width);
}

QFont PixelFont(qreal pixelSize, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixelSize))));
    font.setBold(bold);
    return font;
}

// Yellow and black warning stripes filling `rect`.
void Hazard(QPainter& p, const QRectF& rect, qreal stripe) {
    p.save();
    p.setClipRect(rect, Qt::IntersectClip);
    Flat(p, RectPath(rect), kYellow);
    for (qreal x = rect.left() - rect.height(); x < rect.right(); x += 2 * stripe)
        Flat(p,
             PolyPath({{x, rect.bottom()},
                       {x + stripe, rect.bottom()},
                       {x + stripe + rect.height(), rect.top()},
                       {x + rect.height(), rect.top()}}),
             kBlack);
    p.restore();
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect);
}

// A missile lying from its tail at `tail` towards `angle`: pale body, red nose, dark fins.
void Missile(QPainter& p, QPointF tail, qreal length, qreal angle, qreal thickness) {
    p.save();
    p.translate(tail);
    p.rotate(-angle);
    const qreal r = thickness / 2;
    const qreal nose = thickness * 1.3;
    Shape(p, PolyPath({{0, -r}, {r * 2.2, -r}, {0, -r * 2.1}}), kSteelDark);
    Shape(p, PolyPath({{0, r}, {r * 2.2, r}, {0, r * 2.1}}), kSteelDark);
    Shape(p, RectPath({0, -r, length - nose, thickness}), kWhite);
    Shape(p, PolyPath({{length - nose, -r}, {length, 0}, {length - nose, r}}), kRed);
    p.restore();
}

// A jet of flame leaving `mouth` towards the right, `length` long.
void Flame(QPainter& p, QPointF mouth, qreal length) {
    const qreal k = length / 19;
    const auto at = [&](qreal x, qreal y) { return mouth + QPointF(x * k, y * k); };
    Shape(p, PolyPath({at(0, -1.5), at(9, -5), at(19, -3), at(11, 1.5), at(16, 5), at(6, 3.5), at(0, 1.5)}), kOrange);
    Flat(p, PolyPath({at(1, -0.6), at(8, -2.6), at(12, -1), at(6, 1.6), at(1, 0.8)}), kYellow);
}

// A red five-pointed star on a pale disc: the marking of the Soviet side.
void StarBadge(QPainter& p, QPointF centre, qreal radius) {
    Shape(p, CirclePath(centre, radius), kSand);
    Flat(p, StarPath(centre, radius * 0.85, radius * 0.36), kRed);
}

// The transform that maps the unit square onto the parallelogram `origin`, `origin + u`,
// `origin + v`: painting on the top face of a box.
QTransform FaceTransform(QPointF origin, QPointF u, QPointF v) {
    return QTransform(u.x(), u.y(), v.x(), v.y(), origin.x(), origin.y());
}

// A copy of `layer` with every painted pixel in `colour` (alpha kept): shadows and silhouettes.
QImage Silhouette(const QImage& layer, const QColor& colour) {
    QImage result = layer;
    QPainter p(&result);
    p.setCompositionMode(QPainter::CompositionMode_SourceIn);
    p.fillRect(result.rect(), colour);
    return result;
}

// ---------------------------------------------------------------------------------------------
// Land vehicles, seen from the side facing right. They are laid out on a 32x24 grid with the
// ground at y = 24, so the same drawing serves the 16x15 tree image (shrunk to under half) and
// the 64x64 picture; details too fine for the small size are left out there.

enum class Gear { Tracks, Wheels };
enum class Livery { Allied, Soviet, Civil, Industrial };

enum VehicleFeature : unsigned {
    kMissileLoad = 1u << 0,  // a missile on an erector
    kRocketPods = 1u << 1,   // missile pods on the turret
    kJammerMast = 1u << 2,   // an equipment box and a mast with an antenna panel
    kGapDish = 1u << 3,      // an equipment box and a round emitter dish
    kOreHopper = 1u << 4,    // a hopper heaped with ore
    kFoldedBase = 1u << 5,   // a packed-up building on the back
    kWindshield = 1u << 6,   // an open body with a windscreen
    kMachineGun = 1u << 7,   // a machine gun on a post
    kHatch = 1u << 8,        // a roof hatch
    kMineRack = 1u << 9,     // a striped mine box and a mine dropped behind
    kCanvasCover = 1u << 10  // an arched canvas over the load bed
};

struct VehicleLook {
    Gear gear = Gear::Tracks;
    qreal gearX0 = 4, gearX1 = 28;  // extent of the tracks or wheelbase
    int wheels = 4;                 // road wheels or wheels
    qreal hullX0 = 3, hullX1 = 29, hullTop = 13;
    qreal cabX0 = 0, cabTop = 0;                  // a driver's cab at the front; cabX0 = 0 for none
    qreal turretX = 0, turretW = 0, turretH = 0;  // turretW = 0 for none
    int barrels = 0;
    qreal barrelLength = 0, barrelAngle = 0, barrelThickness = 1.4;
    unsigned features = 0;
    Livery livery = Livery::Allied;
};

struct LiveryColours {
    QColor body, light, dark;
};

LiveryColours ColoursOf(Livery livery) {
    switch (livery) {
        case Livery::Allied:
            return {kSteel, kSteelLight, kSteelDark};
        case Livery::Soviet:
            return {QColor(0x6e7a36u), QColor(0x9aa85cu), QColor(0x454e20u)};
        case Livery::Civil:
            return {kKhaki, QColor(0xdccd99u), kKhakiDark};
        case Livery::Industrial:
            return {QColor(0xd0a43au), QColor(0xeacb6eu), QColor(0x94711fu)};
    }
    return {};
}

// In vehicle-list order: the tree's vehicle images and the object ids 2201.. follow it.
const std::array<VehicleLook, 14> kVehicles = {{
    // V2RL: a six-wheeled launcher carrying a long missile
    {.gear = Gear::Wheels,
     .gearX0 = 2,
     .gearX1 = 30,
     .wheels = 3,
     .hullX0 = 1,
     .hullX1 = 31,
     .hullTop = 15.5,
     .cabX0 = 24,
     .cabTop = 10,
     .features = kMissileLoad,
     .livery = Livery::Soviet},
    // 1TNK: short and low, small turret, thin gun
    {.gearX0 = 6,
     .gearX1 = 26,
     .wheels = 4,
     .hullX0 = 5,
     .hullX1 = 27,
     .hullTop = 14,
     .turretX = 14.5,
     .turretW = 8,
     .turretH = 3.6,
     .barrels = 1,
     .barrelLength = 10,
     .barrelThickness = 1.3},
    // 3TNK: long, big turret, twin guns
    {.gearX0 = 3,
     .gearX1 = 28,
     .wheels = 5,
     .hullX0 = 2,
     .hullX1 = 29,
     .hullTop = 12.5,
     .turretX = 13,
     .turretW = 11,
     .turretH = 4.8,
     .barrels = 2,
     .barrelLength = 12,
     .barrelThickness = 1.3,
     .livery = Livery::Soviet},
    // 2TNK: medium hull and turret, one long gun
    {.gearX0 = 4,
     .gearX1 = 27,
     .wheels = 5,
     .hullX0 = 3,
     .hullX1 = 28,
     .hullTop = 13,
     .turretX = 13.5,
     .turretW = 10,
     .turretH = 4.4,
     .barrels = 1,
     .barrelLength = 14,
     .barrelThickness = 1.7},
    // 4TNK: the biggest: tall hull, huge turret, twin heavy guns, missile pods
    {.gearX0 = 1,
     .gearX1 = 28,
     .wheels = 6,
     .hullX0 = 0.5,
     .hullX1 = 29,
     .hullTop = 11,
     .turretX = 12,
     .turretW = 13,
     .turretH = 6,
     .barrels = 2,
     .barrelLength = 12,
     .barrelThickness = 2,
     .features = kRocketPods,
     .livery = Livery::Soviet},
    // MRJ: tracked box with a jamming antenna on a mast
    {.gearX0 = 4, .gearX1 = 28, .wheels = 4, .hullX0 = 3, .hullX1 = 29, .hullTop = 13, .features = kJammerMast},
    // MGG: tracked box with a round emitter
    {.gearX0 = 4, .gearX1 = 28, .wheels = 4, .hullX0 = 3, .hullX1 = 29, .hullTop = 13, .features = kGapDish},
    // ARTY: low open mount with a long howitzer raised high
    {.gearX0 = 4,
     .gearX1 = 25,
     .wheels = 4,
     .hullX0 = 3,
     .hullX1 = 26,
     .hullTop = 14.5,
     .turretX = 10.5,
     .turretW = 7,
     .turretH = 3,
     .barrels = 1,
     .barrelLength = 17,
     .barrelAngle = 32,
     .barrelThickness = 1.6},
    // HARV: tall ore hopper behind a cab
    {.gearX0 = 2,
     .gearX1 = 30,
     .wheels = 5,
     .hullX0 = 1,
     .hullX1 = 31,
     .hullTop = 15,
     .cabX0 = 23,
     .cabTop = 8,
     .features = kOreHopper,
     .livery = Livery::Industrial},
    // MCV: big wheeled carrier with a folded-up building
    {.gear = Gear::Wheels,
     .gearX0 = 1.5,
     .gearX1 = 30.5,
     .wheels = 4,
     .hullX0 = 0.5,
     .hullX1 = 31.5,
     .hullTop = 15.5,
     .cabX0 = 24.5,
     .cabTop = 9,
     .features = kFoldedBase},
    // JEEP: small open car with a machine gun
    {.gear = Gear::Wheels,
     .gearX0 = 6,
     .gearX1 = 26,
     .wheels = 2,
     .hullX0 = 4,
     .hullX1 = 28,
     .hullTop = 15,
     .features = kWindshield | kMachineGun},
    // APC: tall box hull with a long sloped nose
    {.gearX0 = 3,
     .gearX1 = 28,
     .wheels = 5,
     .hullX0 = 2,
     .hullX1 = 30,
     .hullTop = 9.5,
     .features = kHatch | kMachineGun},
    // MNLY: tracked with a striped mine box, dropping a mine
    {.gearX0 = 7, .gearX1 = 30, .wheels = 4, .hullX0 = 6, .hullX1 = 31, .hullTop = 13, .features = kMineRack},
    // TRUK: cab and canvas-covered load bed
    {.gear = Gear::Wheels,
     .gearX0 = 1.5,
     .gearX1 = 30.5,
     .wheels = 3,
     .hullX0 = 1,
     .hullX1 = 31,
     .hullTop = 16,
     .cabX0 = 23,
     .cabTop = 10,
     .features = kCanvasCover,
     .livery = Livery::Civil},
}};

void DrawTracks(QPainter& p, const VehicleLook& v, bool small) {
    const QRectF track(v.gearX0, 17.5, v.gearX1 - v.gearX0, 6.5);
    Shape(p, RectPath(track, 3.2), kTrack);
    if (small) return;
    const qreal first = track.left() + 3.25, last = track.right() - 3.25;
    for (int i = 0; i < v.wheels; ++i) {
        const qreal x = first + (last - first) * i / std::max(1, v.wheels - 1);
        Shape(p, CirclePath({x, 20.75}, 2.1), QColor(0x80847au));
        Flat(p, CirclePath({x, 20.75}, 0.7), kTrack);
    }
}

void DrawWheels(QPainter& p, const VehicleLook& v, bool small) {
    const qreal radius = v.wheels <= 2 ? 3.4 : 3.1;
    const qreal first = v.gearX0 + radius, last = v.gearX1 - radius;
    for (int i = 0; i < v.wheels; ++i) {
        const qreal x = first + (last - first) * i / std::max(1, v.wheels - 1);
        Shape(p, CirclePath({x, 24 - radius}, radius), small ? kTrack : kBlack);
        if (!small) Shape(p, CirclePath({x, 24 - radius}, radius * 0.42), kSteelLight);
    }
}

void DrawHull(QPainter& p, const VehicleLook& v, const LiveryColours& c) {
    if (v.gear == Gear::Wheels) {
        Shape(p,
              PolyPath({{v.hullX0, 20.5},
                        {v.hullX0, v.hullTop + 1},
                        {v.hullX0 + 1, v.hullTop},
                        {v.hullX1 - 1, v.hullTop},
                        {v.hullX1, v.hullTop + 1},
                        {v.hullX1, 20.5}}),
              c.body);
        return;
    }
    const qreal rise = 18.5 - v.hullTop;
    Shape(p,
          PolyPath({{v.hullX0, 18.5},
                    {v.hullX0, v.hullTop + 1.2},
                    {v.hullX0 + 1.2, v.hullTop},
                    {v.hullX1 - rise * 0.55, v.hullTop},
                    {v.hullX1, v.hullTop + rise * 0.45},
                    {v.hullX1 - 1, 18.5}}),
          c.body);
    Shape(p, RectPath({v.gearX0 - 0.8, 16.6, v.gearX1 - v.gearX0 + 1.6, 1.6}), c.dark);  // track guard
}

void DrawCab(QPainter& p, const VehicleLook& v, const LiveryColours& c) {
    const qreal x0 = v.cabX0, x1 = v.hullX1, top = v.cabTop;
    Shape(p, PolyPath({{x0, v.hullTop + 0.5}, {x0, top}, {x1 - 3, top}, {x1, top + 3.5}, {x1, v.hullTop + 0.5}}),
          c.body);
    Shape(p, PolyPath({{x0 + 1.4, top + 1.2}, {x1 - 3.4, top + 1.2}, {x1 - 1.3, top + 3.6}, {x0 + 1.4, top + 3.6}}),
          kGlass);
}

void DrawGunAndTurret(QPainter& p, const VehicleLook& v, const LiveryColours& c, bool small) {
    const QPointF pivot(v.turretX + v.turretW / 2 - 1, v.hullTop - v.turretH * 0.55);
    // a small picture shows twin guns as one thick gun: thinner ones would vanish
    const int barrels = small ? 1 : v.barrels;
    const qreal thickness = small ? std::max(2.4, v.barrelThickness * v.barrels) : v.barrelThickness;
    for (int i = 0; i < barrels; ++i) {
        const qreal offset = barrels == 1 ? 0 : (i == 0 ? -0.75 : 0.75) * thickness;
        const QPointF start = pivot + QPointF(0, offset);
        Shape(p, BarPath(start, v.barrelLength, v.barrelAngle, thickness), c.dark);
        if (!small)
            Shape(p, BarPath(Along(start, v.barrelLength - 2.2, v.barrelAngle), 2.2, v.barrelAngle, thickness * 1.45),
                  c.dark);
    }
    const qreal x0 = v.turretX - v.turretW / 2, x1 = v.turretX + v.turretW / 2;
    const qreal top = v.hullTop - v.turretH, bottom = v.hullTop + 0.6;
    Shape(p, PolyPath({{x0, bottom}, {x0, top + 1.2}, {x0 + 1.2, top}, {x1 - 2, top}, {x1, top + 2}, {x1, bottom}}),
          small ? c.light : c.body);
    if (!small) Flat(p, RectPath({x0 + 1.3, top + 0.7, v.turretW - 3.6, 0.8}), c.light);
}

// The parts carried behind the turret or cab.
void DrawLoad(QPainter& p, const VehicleLook& v, const LiveryColours& c, bool small) {
    if (v.features & kMissileLoad) {
        Shape(p, PolyPath({{v.hullX0 + 3, v.hullTop}, {v.hullX0 + 13, v.hullTop}, {v.hullX0 + 11, v.hullTop - 3.5}}),
              c.dark);
        Missile(p, {v.hullX0 + 0.5, v.hullTop - 2}, 25, 13, 3.6);
    }
    if (v.features & kJammerMast) {
        Shape(p, RectPath({v.hullX0 + 3, v.hullTop - 5, 13, 5.3}), c.light);
        Rod(p, {{v.hullX0 + 9.5, v.hullTop - 5}, {v.hullX0 + 9.5, 4}}, c.dark, 1.2);
        const QRectF panel(v.hullX0 + 4, 0.3, 11, 4.4);
        Shape(p, RectPath(panel), kSteelLight);
        if (!small)
            for (int i = 1; i < 4; ++i)
                Line(p, QPointF(panel.left() + panel.width() * i / 4, panel.top() + 0.5),
                     QPointF(panel.left() + panel.width() * i / 4, panel.bottom() - 0.5), kSteelDark, 0.5);
        Line(p, QPointF(panel.right() + 2, 1.2), QPointF(panel.right() + 4.5, 0.3), kRed, small ? 1.4 : 0.8);
        Line(p, QPointF(panel.right() + 2, 2.5), QPointF(panel.right() + 5, 2.5), kRed, small ? 1.4 : 0.8);
        Line(p, QPointF(panel.right() + 2, 3.8), QPointF(panel.right() + 4.5, 4.7), kRed, small ? 1.4 : 0.8);
    }
    if (v.features & kGapDish) {
        Shape(p, RectPath({v.hullX0 + 3, v.hullTop - 4, 15, 4.3}), c.light);
        Rod(p, {{v.hullX0 + 10, v.hullTop - 4}, {v.hullX0 + 10, v.hullTop - 8}}, c.dark, 1.6);
        const QPointF centre(v.hullX0 + 10, v.hullTop - 10.5);
        Shape(p, CirclePath(centre, 6.2), kSteelLight);
        Shape(p, CirclePath(centre, 4.4), kBlack);
        if (!small) Line(p, EllipsePath({centre.x() - 2.6, centre.y() - 2.6, 5.2, 5.2}), kSteelDark, 0.6);
        Flat(p, CirclePath(centre, small ? 1.6 : 1.1), kCyan);
    }
    if (v.features & kOreHopper) {
        const qreal x0 = v.hullX0 + 0.5, x1 = v.cabX0 - 0.5;
        for (int i = 0; i < 5; ++i)
            Shape(p, CirclePath({x0 + 2.5 + i * (x1 - x0 - 5) / 4, 6.2 - (i % 2) * 1.1}, 2.4), kGold);
        Shape(p, PolyPath({{x0, v.hullTop + 0.5}, {x0 - 0.5, 6.5}, {x1, 6.5}, {x1, v.hullTop + 0.5}}), c.body);
        if (!small)
            for (int i = 1; i < 4; ++i)
                Line(p, QPointF(x0 + (x1 - x0) * i / 4, 7.5), QPointF(x0 + (x1 - x0) * i / 4, v.hullTop - 0.5), c.dark,
                     0.6);
    }
    if (v.features & kFoldedBase) {
        const QRectF box(v.hullX0 + 1, 4.5, v.cabX0 - v.hullX0 - 1.8, v.hullTop - 4);
        Shape(p, RectPath(box), c.light);
        Shape(p, RectPath({box.left() - 0.6, box.top() - 1.6, box.width() + 1.2, 1.8}), c.dark);
        Hazard(p, {box.left(), box.bottom() - 2.2, box.width(), 2.2}, small ? 2.5 : 1.4);
        if (!small)
            for (int i = 0; i < 3; ++i) Shape(p, RectPath({box.left() + 2 + i * 7, box.top() + 2.2, 4, 2.6}), kGlass);
        Rod(p, {{box.left() + 2, box.top() - 1.6}, {box.right() - 1, box.top() - 3.5}}, kYellow, small ? 1.2 : 1.0);
    }
    if (v.features & kCanvasCover) {
        const QRectF cover(v.hullX0 + 0.5, 8, v.cabX0 - v.hullX0 - 1.3, v.hullTop - 7.5);
        Shape(p, RectPath(cover, 2.6), QColor(0x9aa064u));
        if (!small)
            for (int i = 1; i < 4; ++i)
                Line(p, QPointF(cover.left() + cover.width() * i / 4, cover.top() + 0.6),
                     QPointF(cover.left() + cover.width() * i / 4, cover.bottom() - 0.6), kOliveDark, 0.6);
    }
    if (v.features & kMineRack) {
        Hazard(p, {v.hullX0 + 1, v.hullTop - 5, 12, 5.3}, small ? 2.6 : 1.6);
        Shape(p, EllipsePath({0.3, 20.8, 5, 3}), kOliveDark);
        Flat(p, CirclePath({2.8, 21.6}, small ? 1.0 : 0.7), kRed);
    }
}

// The parts on top of or in front of everything else.
void DrawFittings(QPainter& p, const VehicleLook& v, const LiveryColours& c, bool small) {
    if (v.features & kRocketPods) {
        const QRectF pod(v.turretX - v.turretW / 2 - 0.5, v.hullTop - v.turretH - 3.4, 7.5, 3.6);
        for (qreal y : {pod.top() + 0.9, pod.bottom() - 0.9})
            Shape(p, PolyPath({{pod.right() - 0.5, y - 0.8}, {pod.right() + 1.6, y}, {pod.right() - 0.5, y + 0.8}}),
                  kRed);
        Shape(p, RectPath(pod, 0.6), c.dark);
    }
    if (v.features & kWindshield) {
        Shape(p,
              PolyPath({{v.hullX1 - 10, v.hullTop},
                        {v.hullX1 - 8.4, v.hullTop - 5},
                        {v.hullX1 - 7, v.hullTop - 5},
                        {v.hullX1 - 8.6, v.hullTop}}),
              kGlass);
        if (!small) Shape(p, RectPath({v.hullX0 + 7, v.hullTop - 2.2, 5, 2.2}, 0.8), c.dark);  // seat back
    }
    if (v.features & kHatch) Shape(p, RectPath({v.hullX0 + 13, v.hullTop - 1.6, 5, 1.8}, 0.6), c.dark);
    if (v.features & kMachineGun) {
        const qreal x = v.hullX0 + (v.hullX1 - v.hullX0) * 0.3;
        Rod(p, {{x, v.hullTop}, {x, v.hullTop - 3.6}}, c.dark, 0.9);
        Shape(p, BarPath({x - 1.5, v.hullTop - 4}, 7, 4, 1.1), kBlack);
    }
}

void DrawVehicle(QPainter& p, const VehicleLook& v) {
    const bool small = PixelSize(p) > 1.0;
    const LiveryColours c = ColoursOf(v.livery);
    if (v.gear == Gear::Tracks) {
        DrawTracks(p, v, small);
        DrawLoad(p, v, c, small);
        DrawHull(p, v, c);
    } else {
        DrawLoad(p, v, c, small);
        DrawHull(p, v, c);
        DrawWheels(p, v, small);
    }
    if (!small) Flat(p, RectPath({v.hullX0 + 1.2, v.hullTop + 0.6, v.hullX1 - v.hullX0 - 4, 0.8}), c.light);
    if (v.turretW > 0) DrawGunAndTurret(p, v, c, small);
    if (v.cabX0 > 0) DrawCab(p, v, c);
    DrawFittings(p, v, c, small);
}

// ---------------------------------------------------------------------------------------------
// The small images: 16x15 pixels, drawn on the pixel grid (outlines on half pixels).

void ImageCrate(QPainter& p) {
    Shape(p, RectPath({1.5, 2.5, 13, 11}), kWood);
    Line(p, RectPath({3.5, 4.5, 9, 7}), kWoodDark, 1);
    Line(p, QPointF(3.5, 11.5), QPointF(12.5, 4.5), kWoodDark, 1.4);
    Flat(p, RectPath({2, 3, 12, 1}), QColor(0xc99a5eu));
}

void ImageAtom(QPainter& p) {
    p.save();
    p.translate(8, 7.5);
    for (int i = 0; i < 3; ++i) {
        Line(p, EllipsePath({-7, -2.7, 14, 5.4}), kBlue.darker(130), 1.2);
        p.rotate(60);
    }
    p.restore();
    Shape(p, CirclePath({8, 7.5}, 2.3), kRed);
}

void ImageChrono(QPainter& p) {
    const QRectF orbit(1, 0.5, 14, 14);
    QPainterPath arrow;
    arrow.arcMoveTo(orbit, 110);
    arrow.arcTo(orbit, 110, 270);
    Line(p, arrow, kBlue, 1.6);
    const QPointF tip = arrow.currentPosition();
    Flat(p, PolyPath({tip + QPointF(-3, -2.2), tip + QPointF(1.6, -2.8), tip + QPointF(-0.4, 1.6)}), kBlue);
    Shape(p, CirclePath({8, 7.5}, 4.5), kWhite);
    Line(p, QPointF(8, 7.5), QPointF(8, 4.6), kInk, 1.1);
    Line(p, QPointF(8, 7.5), QPointF(10.2, 8.6), kInk, 1.1);
}

void ImageFolder(QPainter& p) {
    Shape(p, PolyPath({{1.5, 3.5}, {6, 3.5}, {7.5, 5}, {14.5, 5}, {14.5, 13.5}, {1.5, 13.5}}), QColor(0xd9ae4au));
    Flat(p, RectPath({2, 6, 12, 1}), QColor(0xf0cf72u));
}

void ImageOpenFolder(QPainter& p) {
    Shape(p, PolyPath({{1.5, 3.5}, {6, 3.5}, {7.5, 5}, {13.5, 5}, {13.5, 13.5}, {1.5, 13.5}}), QColor(0xb98d32u));
    Shape(p, PolyPath({{1.5, 13.5}, {4, 7.5}, {15.5, 7.5}, {13, 13.5}}), QColor(0xf0cf72u));
}

void ImageWarheadObject(QPainter& p) {
    Shape(p, PolyPath({{8, 2.5}, {12.5, 7.5}, {8, 12.5}, {3.5, 7.5}}), kBrick);
    Flat(p, PolyPath({{8, 3.8}, {11.3, 7.5}, {8, 7.5}}), QColor(0xe0866au));
}

void ImageSwords(QPainter& p) {
    for (int side = 0; side < 2; ++side) {
        p.save();
        if (side == 1) {
            p.translate(16, 0);
            p.scale(-1, 1);
        }
        Shape(p, PolyPath({{1.5, 1.5}, {4, 2}, {11.5, 9.5}, {9.5, 11.5}, {2, 4}}), kSteelLight);
        Rod(p, {{8.6, 12.4}, {12.4, 8.6}}, kYellow, 1.4);
        Rod(p, {{11, 11}, {13.8, 13.8}}, kWood, 1.8);
        p.restore();
    }
}

void ImageCoins(QPainter& p) {
    const auto stack = [&p](qreal x, qreal bottom, int coins) {
        const qreal top = bottom - coins * 2.2;
        Shape(p, RectPath({x, top, 7, bottom - top}, 1.2), QColor(0xc8951fu));
        for (int i = 1; i < coins; ++i)
            Line(p, QPointF(x + 0.6, top + i * 2.2), QPointF(x + 6.4, top + i * 2.2), QColor(0x8a6410u), 0.8);
        Shape(p, EllipsePath({x, top - 1.2, 7, 2.6}), QColor(0xf7d768u));
    };
    stack(1.5, 13.5, 5);
    stack(7.5, 13.5, 3);
}

void ImageMap(QPainter& p) {
    Shape(p, PolyPath({{1.5, 3.5}, {5.5, 2.5}, {5.5, 12.5}, {1.5, 13.5}}), kSand);
    Shape(p, PolyPath({{5.5, 2.5}, {10.5, 3.5}, {10.5, 13.5}, {5.5, 12.5}}), kKhaki);
    Shape(p, PolyPath({{10.5, 3.5}, {14.5, 2.5}, {14.5, 12.5}, {10.5, 13.5}}), kSand);
    Flat(p, EllipsePath({6.5, 5, 3.2, 3.5}), kOliveLight);
    QPainterPath route(QPointF(2.8, 11.5));
    route.cubicTo(5, 10, 8, 12, 9, 9);
    route.lineTo(12.2, 6.6);
    QPen dashes(kRed, 1.1);
    dashes.setDashPattern({1.4, 1.2});
    p.save();
    p.setPen(dashes);
    p.setBrush(Qt::NoBrush);
    p.drawPath(route);
    p.restore();
    Line(p, QPointF(11.2, 4.4), QPointF(13.6, 6.8), kRed, 1.3);
    Line(p, QPointF(13.6, 4.4), QPointF(11.2, 6.8), kRed, 1.3);
}

void ImageArrows(QPainter& p) {
    QPolygonF arrow;
    const QPointF arm[] = {{1.3, -1.3}, {1.3, -3.8}, {3.2, -3.8}, {0, -7}, {-3.2, -3.8}, {-1.3, -3.8}, {-1.3, -1.3}};
    for (int quarter = 0; quarter < 4; ++quarter) {
        QTransform turn;
        turn.rotate(90.0 * quarter);
        for (const QPointF& point : arm) arrow << turn.map(point) + QPointF(8, 7.5);
    }
    QPainterPath path;
    path.addPolygon(arrow);
    path.closeSubpath();
    Shape(p, path, kGreen);
}

void ImageMonitor(QPainter& p) {
    Shape(p, RectPath({1.5, 1.5, 13, 9.5}, 1), kSteelLight);
    Shape(p, RectPath({3.5, 3.5, 9, 5.5}), QColor(0x1f3b24u));
    Line(p, QPointF(5, 5.3), QPointF(6.5, 6.2), kGreen, 0.9);
    Line(p, QPointF(6.5, 6.2), QPointF(5, 7.1), kGreen, 0.9);
    Line(p, QPointF(7.5, 7.3), QPointF(10, 7.3), kGreen, 0.9);
    Shape(p, RectPath({6.5, 11, 3, 1.5}), kSteel);
    Shape(p, RectPath({3.5, 12.5, 9, 2}, 0.8), kSteel);
}

void ImageGear(QPainter& p) {
    QPainterPath gear = CirclePath({8, 7.5}, 4.8);
    for (int i = 0; i < 8; ++i) {
        QTransform turn;
        turn.translate(8, 7.5);
        turn.rotate(45.0 * i);
        gear = gear.united(turn.map(RectPath({-1.4, -7, 2.8, 3.5})));
    }
    gear = gear.subtracted(CirclePath({8, 7.5}, 1.9));
    Shape(p, gear, kSteel);
}

void ImagePlayers(QPainter& p) {
    const auto figure = [&p](qreal x, qreal y, const QColor& colour) {
        Shape(p, RectPath({x - 3.8, y + 3.6, 7.6, 6}, 2.6), colour);
        Shape(p, CirclePath({x, y + 1.2}, 2.4), kSkin);
    };
    figure(10.7, 1.3, kRed);
    figure(5.5, 3.8, kBlue);
}

void ImageHourglass(QPainter& p) {
    Shape(p, PolyPath({{4.5, 2.5}, {11.5, 2.5}, {8.8, 7.5}, {11.5, 12.5}, {4.5, 12.5}, {7.2, 7.5}}), kWhite);
    Flat(p, PolyPath({{5.8, 4}, {10.2, 4}, {8, 7.2}}), kGold);
    Flat(p, PolyPath({{8, 9}, {10.6, 12}, {5.4, 12}}), kGold);
    Shape(p, RectPath({2.5, 1, 11, 2}, 0.8), kWood);
    Shape(p, RectPath({2.5, 12, 11, 2}, 0.8), kWood);
}

void ImageRobot(QPainter& p) {
    Line(p, QPointF(8, 4.5), QPointF(8, 2.5), kInk, 1);
    Shape(p, CirclePath({8, 2}, 1.4), kRed);
    Shape(p, RectPath({1.5, 7.5, 2, 3.5}), kSteel);
    Shape(p, RectPath({12.5, 7.5, 2, 3.5}), kSteel);
    Shape(p, RectPath({3.5, 4.5, 9, 9.5}, 2), kSteelLight);
    Flat(p, RectPath({5, 6.5, 2.4, 2.4}), kBlue.darker(150));
    Flat(p, RectPath({8.6, 6.5, 2.4, 2.4}), kBlue.darker(150));
    Flat(p, RectPath({5.5, 6.9, 1, 1}), kCyan);
    Flat(p, RectPath({9.1, 6.9, 1, 1}), kCyan);
    for (qreal x : {5.5, 7.5, 9.5}) Flat(p, RectPath({x, 10.5, 1.2, 1.8}), kSteelDark);
}

void ImageBulb(QPainter& p) {
    QPainterPath bulb;
    bulb.moveTo(5.5, 10.5);
    bulb.cubicTo(5.5, 8.5, 3, 7.5, 3, 5.5);
    bulb.cubicTo(3, 2.5, 5.2, 0.5, 8, 0.5);
    bulb.cubicTo(10.8, 0.5, 13, 2.5, 13, 5.5);
    bulb.cubicTo(13, 7.5, 10.5, 8.5, 10.5, 10.5);
    bulb.closeSubpath();
    Shape(p, bulb, kYellow);
    Flat(p, EllipsePath({5, 2.3, 2.6, 3}), kWhite);
    Shape(p, RectPath({5.5, 10.5, 5, 3}, 0.6), kSteel);
    Line(p, QPointF(6, 12), QPointF(10, 12), kSteelDark, 0.8);
    Flat(p, RectPath({7, 13.5, 2, 1.2}), kInk);
}

void ImageGlobe(QPainter& p) {
    const QPainterPath globe = CirclePath({8, 7.5}, 6.5);
    Shape(p, globe, kBlue);
    p.save();
    p.setClipPath(globe, Qt::IntersectClip);
    Flat(p, PolyPath({{3, 2}, {7.5, 2.5}, {8, 5}, {6, 7}, {6.5, 11}, {4.5, 13}, {2.5, 8}}), kGreen);
    Flat(p, PolyPath({{10, 3.5}, {14.5, 5}, {14.5, 9}, {11.5, 11.5}, {10, 8}}), kGreen);
    Line(p, EllipsePath({4.5, 1, 7, 13}), WithAlpha(kWhite, 150), 0.8);
    Line(p, QPointF(1, 7.5), QPointF(15, 7.5), WithAlpha(kWhite, 150), 0.8);
    p.restore();
    p.setBrush(Qt::NoBrush);
    p.drawPath(globe);
}

// Flags fill the 12x10 pixels x 2..14, y 3..13 and get a one-pixel frame.
const QRectF kFlag(2, 3, 12, 10);

void FlagFrame(QPainter& p) {
    p.setBrush(Qt::NoBrush);
    p.drawRect(kFlag.adjusted(-0.5, -0.5, 0.5, 0.5));
}

void Bands(QPainter& p, std::initializer_list<std::pair<qreal, QColor>> bands, bool vertical) {
    qreal at = 0;
    for (const auto& [share, colour] : bands) {
        const QRectF band =
            vertical ? QRectF(kFlag.left() + at * kFlag.width(), kFlag.top(), share * kFlag.width(), kFlag.height())
                     : QRectF(kFlag.left(), kFlag.top() + at * kFlag.height(), kFlag.width(), share * kFlag.height());
        Flat(p, RectPath(band), colour);
        at += share;
    }
}

void FlagEngland(QPainter& p) {
    Flat(p, RectPath(kFlag), Qt::white);
    Flat(p, RectPath({7, 3, 2, 10}), QColor(0xce1124u));
    Flat(p, RectPath({2, 7, 12, 2}), QColor(0xce1124u));
    FlagFrame(p);
}

void FlagGermany(QPainter& p) {
    Bands(p, {{0.3, Qt::black}, {0.4, QColor(0xdd0000u)}, {0.3, QColor(0xffce00u)}}, false);
    FlagFrame(p);
}

void FlagFrance(QPainter& p) {
    Bands(p, {{1.0 / 3, QColor(0x0055a4u)}, {1.0 / 3, Qt::white}, {1.0 / 3, QColor(0xef4135u)}}, true);
    FlagFrame(p);
}

void FlagUkraine(QPainter& p) {
    Bands(p, {{0.5, QColor(0x0057b7u)}, {0.5, QColor(0xffd700u)}}, false);
    FlagFrame(p);
}

void FlagUssr(QPainter& p) {
    Flat(p, RectPath(kFlag), QColor(0xcc0000u));
    Flat(p, StarPath({5.2, 6.2}, 2.6, 1.05), QColor(0xffd700u));
    FlagFrame(p);
}

void FlagGreece(QPainter& p) {
    const QColor blue(0x0d5eafu);
    Bands(p, {{0.2, blue}, {0.2, Qt::white}, {0.2, blue}, {0.2, Qt::white}, {0.2, blue}}, false);
    Flat(p, RectPath({2, 3, 5, 5}), blue);
    Flat(p, RectPath({4, 3, 1, 5}), Qt::white);
    Flat(p, RectPath({2, 5, 5, 1}), Qt::white);
    FlagFrame(p);
}

void FlagTurkey(QPainter& p) {
    const QColor red(0xe30a17u);
    Flat(p, RectPath(kFlag), red);
    Flat(p, CirclePath({6.4, 8}, 3.1), Qt::white);
    Flat(p, CirclePath({7.2, 8}, 2.5), red);
    Flat(p, StarPath({10.3, 8}, 1.7, 0.7), Qt::white);
    FlagFrame(p);
}

void FlagSpain(QPainter& p) {
    Bands(p, {{0.2, QColor(0xc60b1eu)}, {0.6, QColor(0xffc400u)}, {0.2, QColor(0xc60b1eu)}}, false);
    FlagFrame(p);
}

void ImageStar(QPainter& p) { Shape(p, StarPath({8, 8.2}, 7.2, 3), kGold); }

void ImagePennant(QPainter& p) {
    Shape(p, RectPath({1.5, 13, 6, 1.5}, 0.7), kSteelDark);
    Rod(p, {{4, 13}, {4, 1.5}}, kSteelLight, 1.2);
    Shape(p, PolyPath({{4.6, 1.5}, {14.5, 4.5}, {4.6, 8}}), kRed);
}

void ImageHill(QPainter& p) {
    Shape(p, PolyPath({{2, 13.5}, {7.5, 2.5}, {14.5, 13.5}}), QColor(0x8c7a5cu));
    Flat(p, PolyPath({{7.5, 3.2}, {9.4, 6.3}, {8.2, 5.6}, {7.2, 6.6}, {6, 5.7}}), kWhite);
    QPainterPath hill(QPointF(0.5, 13.5));
    hill.cubicTo(3, 7, 9, 6.5, 12.5, 13.5);
    hill.closeSubpath();
    Shape(p, hill, kOliveLight);
}

void ImageTarget(QPainter& p) {
    Shape(p, CirclePath({8, 7.5}, 4.5), kRed);
    Shape(p, CirclePath({8, 7.5}, 2.8), kWhite);
    Flat(p, CirclePath({8, 7.5}, 1.3), kRed);
}

void ImageDot(QPainter& p) { Shape(p, CirclePath({8, 7.5}, 2.5), kSteel); }

void ImageGauge(QPainter& p) {
    const QRectF dial(1, 2.5, 14, 14);
    const auto sector = [&](qreal from, qreal sweep, const QColor& colour) {
        QPainterPath path(dial.center());
        path.arcTo(dial, from, sweep);
        path.closeSubpath();
        Flat(p, path, colour);
    };
    sector(120, 60, kGreen);
    sector(60, 60, kYellow);
    sector(0, 60, kRed);
    Flat(p, CirclePath(dial.center(), 3.8), kSteelLight);
    QPainterPath rim;
    rim.arcMoveTo(dial, 0);
    rim.arcTo(dial, 0, 180);
    rim.closeSubpath();
    p.setBrush(Qt::NoBrush);
    p.drawPath(rim);
    Line(p, dial.center(), Along(dial.center(), 6, 40), kInk, 1.4);
    Shape(p, CirclePath(dial.center(), 1.5), kSteelDark);
}

void ImagePistol(QPainter& p) {
    Shape(p, PolyPath({{5.5, 7}, {9, 7}, {8.2, 9.5}, {6.8, 9.5}}), kSteelDark);  // trigger guard
    Shape(p, PolyPath({{2.5, 7}, {6, 7}, {5, 13.5}, {1.5, 13.5}}), kWoodDark);
    Shape(p, RectPath({1.5, 3.5, 13, 3.8}, 0.6), kSteel);
    Line(p, QPointF(3, 4.8), QPointF(13, 4.8), kSteelDark, 0.7);
}

void ImageTrajectory(QPainter& p) {
    QPainterPath arc(QPointF(1.5, 13.5));
    arc.quadTo(5, 1, 11, 5);
    QPen dots(kSteelDark, 1.3);
    dots.setDashPattern({1, 1.4});
    dots.setCapStyle(Qt::RoundCap);
    p.save();
    p.setPen(dots);
    p.setBrush(Qt::NoBrush);
    p.drawPath(arc);
    p.restore();
    p.save();
    p.translate(11.5, 7.5);
    p.rotate(48);
    Shape(p, PolyPath({{-3, -1.5}, {1, -1.5}, {3.8, 0}, {1, 1.5}, {-3, 1.5}}), kOrange);
    p.restore();
}

void ImageExplosion(QPainter& p) {
    Shape(p, StarPath({8, 7.8}, 7.4, 3.8, 9), kOrange);
    Flat(p, StarPath({8, 7.9}, 4.4, 2.2, 7), kYellow);
}

void ImageCartridge(QPainter& p) {
    Shape(p, RectPath({6, 6.5, 4, 7}, 0.5), kGold);
    QPainterPath tip(QPointF(6, 6.5));
    tip.cubicTo(6, 3.5, 7, 1.5, 8, 1.5);
    tip.cubicTo(9, 1.5, 10, 3.5, 10, 6.5);
    tip.closeSubpath();
    Shape(p, tip, QColor(0xb8643au));
    Line(p, QPointF(6.5, 11.8), QPointF(9.5, 11.8), QColor(0xa87d18u), 0.8);
}

// A vehicle of kVehicles, shrunk to the image. At this size an outline around every part would
// swamp it, so the parts are painted flat and the whole silhouette gets one ink outline.
void ImageVehicle(QPainter& p, std::size_t vehicle) {
    QImage layer = Canvas(16, 15);
    {
        QPainter v(&layer);
        Prepare(v);
        v.setPen(Qt::NoPen);
        v.translate(0.65, 3);
        v.scale(0.46, 0.46);
        DrawVehicle(v, kVehicles[vehicle]);
    }
    const QImage outline = Silhouette(layer, kInk);
    for (const QPoint offset : {QPoint(-1, 0), QPoint(1, 0), QPoint(0, -1), QPoint(0, 1)}) p.drawImage(offset, outline);
    p.drawImage(0, 0, layer);
}

using ImagePainter = void (*)(QPainter&);

template <std::size_t Vehicle>
void VehicleImage(QPainter& p) {
    ImageVehicle(p, Vehicle);
}

// The tree's image list, by index.
const std::array<ImagePainter, art::kTreeImageCount> kTreeImages = {
    // 0..16: crates, special weapons, chrono side effects, closed and open folder, warhead and
    // land-type objects, combat, income, map, movement, computer, misc, multiplayer, recharge,
    // AI, IQ, countries
    ImageCrate,
    ImageAtom,
    ImageChrono,
    ImageFolder,
    ImageOpenFolder,
    ImageWarheadObject,
    ImageSwords,
    ImageCoins,
    ImageMap,
    ImageArrows,
    ImageMonitor,
    ImageGear,
    ImagePlayers,
    ImageHourglass,
    ImageRobot,
    ImageBulb,
    ImageGlobe,
    // 17..24: the countries' flags
    FlagEngland,
    FlagGermany,
    FlagFrance,
    FlagUkraine,
    FlagUssr,
    FlagGreece,
    FlagTurkey,
    FlagSpain,
    // 25..38: the land vehicles
    VehicleImage<0>,
    VehicleImage<1>,
    VehicleImage<2>,
    VehicleImage<3>,
    VehicleImage<4>,
    VehicleImage<5>,
    VehicleImage<6>,
    VehicleImage<7>,
    VehicleImage<8>,
    VehicleImage<9>,
    VehicleImage<10>,
    VehicleImage<11>,
    VehicleImage<12>,
    VehicleImage<13>,
    // 39..48: general, mission control, land types, a mission, unused, difficulty, weapon types,
    // projectile types, warhead types, weapon and projectile objects
    ImageStar,
    ImagePennant,
    ImageHill,
    ImageTarget,
    ImageDot,
    ImageGauge,
    ImagePistol,
    ImageTrajectory,
    ImageExplosion,
    ImageCartridge,
};

void ImageFixedDrive(QPainter& p) {
    Shape(p, RectPath({1.5, 4.5, 13, 7}, 1), kSteelLight);
    Flat(p, RectPath({2, 9, 12, 2}), kSteel);
    Line(p, QPointF(3.5, 7), QPointF(9, 7), kSteelDark, 1);
    Flat(p, CirclePath({12, 7}, 1.1), kGreen);
}

void ImageRemovableDrive(QPainter& p) {
    Shape(p, RectPath({1.5, 4.5, 13, 7}, 1), kSteelLight);
    Flat(p, RectPath({2, 9, 12, 2}), kSteel);
    Shape(p, RectPath({3.5, 6.5, 7, 1.5}), kBlack);
    Shape(p, RectPath({11.5, 6.5, 1.5, 1.5}), kOrange);
}

void ImageDisc(QPainter& p) {
    const QPainterPath disc = CirclePath({8, 7.5}, 6.6).subtracted(CirclePath({8, 7.5}, 1.3));
    QRadialGradient shine(QPointF(6, 5), 8);
    shine.setColorAt(0, kWhite);
    shine.setColorAt(0.5, QColor(0xb9c7d6u));
    shine.setColorAt(1, QColor(0xd8cfe6u));
    Shape(p, disc, shine);
    Line(p, CirclePath({8, 7.5}, 3.2), WithAlpha(kSteelDark, 110), 0.7);
}

const std::array<ImagePainter, art::kFolderPickerImageCount> kFolderPickerImages = {
    ImageFixedDrive, ImageRemovableDrive, ImageDisc, ImageFolder, ImageOpenFolder};

QImage PaintSmallImage(ImagePainter paint) {
    QImage image = Canvas(16, 15);
    QPainter p(&image);
    Prepare(p);
    paint(p);
    return image;
}

// ---------------------------------------------------------------------------------------------
// Infantry: a standing figure seen from the front, 64x64, feet at y = 51. Looks differ in
// uniform, headgear and what the hands hold.

enum class Headgear { Helmet, HardHat, GasMask, Fedora, Beanie, LongHair, MedicHelmet };
enum class Kit { Rifle, RocketLauncher, Flamethrower, Wrench, Pistol, Sack, TwinPistols, MedKit };

struct SoldierLook {
    QColor uniform, trousers;
    Headgear headgear;
    Kit kit;
    bool longCoat = false;
};

const std::array<SoldierLook, 8> kSoldiers = {{
    {kOlive, kOliveDark, Headgear::Helmet, Kit::Rifle},                            // E1
    {QColor(0x9c8c55u), kKhakiDark, Headgear::Helmet, Kit::RocketLauncher},        // E3
    {QColor(0x6c6a4cu), kOliveDark, Headgear::GasMask, Kit::Flamethrower},         // E4
    {QColor(0x5d7796u), QColor(0x3f536bu), Headgear::HardHat, Kit::Wrench},        // E6
    {QColor(0xb19d6cu), QColor(0x3e3a34u), Headgear::Fedora, Kit::Pistol, true},   // SPY
    {QColor(0x3d4760u), QColor(0x2c3244u), Headgear::Beanie, Kit::Sack},           // THF
    {QColor(0xc8b07au), QColor(0x4b5630u), Headgear::LongHair, Kit::TwinPistols},  // E7
    {QColor(0xe8e6dcu), QColor(0xc9c6b8u), Headgear::MedicHelmet, Kit::MedKit},    // MEDI
}};

const QPointF kHead(32, 15.5);
const QPointF kLeftShoulder(25.5, 23.5);
const QPointF kRightShoulder(38.5, 23.5);

// Where the hands go for each kit: left elbow, left hand, right elbow, right hand.
struct ArmPose {
    QPointF leftElbow, leftHand, rightElbow, rightHand;
};

ArmPose PoseFor(Kit kit) {
    switch (kit) {
        case Kit::Rifle:
            return {{20.5, 31}, {23.7, 37}, {41, 30.5}, {32, 29.6}};
        case Kit::RocketLauncher:
            return {{27, 32}, {37, 28}, {44, 29}, {44.5, 23.5}};
        case Kit::Flamethrower:
            return {{22, 31}, {31, 35.5}, {42, 30}, {39.5, 33}};
        case Kit::Wrench:
            return {{21.5, 30}, {20, 37}, {44, 27.5}, {44.5, 20}};
        case Kit::Pistol:
            return {{22, 31}, {22.5, 38.5}, {44, 28}, {42, 21}};
        case Kit::Sack:
            return {{20, 27}, {23.5, 19.5}, {42, 31}, {41, 38}};
        case Kit::TwinPistols:
            return {{19, 28}, {14.5, 22}, {45, 28}, {49.5, 22}};
        case Kit::MedKit:
            return {{22, 31}, {21, 38.5}, {42, 31}, {41.5, 38}};
    }
    return {};
}

// Parts worn or carried behind the body.
void DrawBackKit(QPainter& p, const SoldierLook& s) {
    if (s.kit == Kit::Flamethrower) {
        Shape(p, RectPath({19, 20, 7, 17}, 3.2), kBrick);
        Shape(p, RectPath({38, 20, 7, 17}, 3.2), kBrick);
        Flat(p, RectPath({19.6, 26, 5.8, 2}), kYellow);
        Flat(p, RectPath({38.6, 26, 5.8, 2}), kYellow);
    }
    if (s.kit == Kit::Sack) {
        Shape(p, EllipsePath({8, 8, 19, 21}), QColor(0xb89a62u));
        Line(p, QPointF(15, 14), QPointF(19, 22), QColor(0x8a6f3fu), 0.8);
    }
    if (s.headgear == Headgear::LongHair)
        Shape(p, PolyPath({{26, 12}, {24.5, 27}, {39.5, 27}, {38, 12}}), QColor(0x4a2c1au));
}

void DrawKit(QPainter& p, Kit kit) {
    switch (kit) {
        case Kit::Rifle: {
            const QPointF butt(17, 43);
            const qreal angle = 42;
            Shape(p, BarPath(butt, 10, angle, 4.2), kWood);
            Shape(p, BarPath(Along(butt, 10, angle), 13, angle, 3), kBlack);
            Shape(p, BarPath(Along(butt, 23, angle), 12, angle, 1.6), kBlack);
            Shape(p, BarPath(Along(butt, 15, angle) + QPointF(1.6, 1.8), 5, angle - 90, 2.2), kBlack);  // magazine
            break;
        }
        case Kit::RocketLauncher: {
            const QPointF back(16, 35);
            const qreal angle = 32;
            Shape(p, BarPath(back, 36, angle, 5.6), kOliveDark);
            Shape(p, BarPath(back, 3, angle, 7), kOliveDark);
            Shape(p,
                  PolyPath({Along(back, 36, angle) + QPointF(-1.5, -2.4), Along(back, 42, angle),
                            Along(back, 36, angle) + QPointF(1.5, 2.4)}),
                  kRed);
            break;
        }
        case Kit::Flamethrower: {
            QPainterPath hose(QPointF(40, 34));
            hose.cubicTo(44, 40, 30, 42, 29, 37);
            Rod(p, hose, kBlack, 1.6);
            Shape(p, BarPath({28, 37}, 20, 12, 2.6), kSteelDark);
            Flame(p, Along({28, 37}, 20, 12), 13);
            break;
        }
        case Kit::Wrench: {
            Shape(p, RectPath({13, 37, 13, 9}, 1.2), kRed);
            Line(p, RectPath({16.5, 34.5, 6, 3}, 1), kInk, 1.2);
            Shape(p, WrenchPath({44, 26}, 16, 80, 2.6), kSteelLight);
            break;
        }
        case Kit::Pistol:
            Shape(p, PolyPath({{40.5, 22}, {40.5, 13}, {43.3, 13}, {43.3, 22}}), kBlack);
            break;
        case Kit::Sack:
            break;
        case Kit::TwinPistols:
            Shape(p, PolyPath({{13, 23}, {13, 14}, {16, 14}, {16, 23}}), kBlack);
            Shape(p, PolyPath({{48, 23}, {48, 14}, {51, 14}, {51, 23}}), kBlack);
            break;
        case Kit::MedKit:
            Shape(p, RectPath({13, 38, 13, 10}, 1.2), kWhite);
            Flat(p, RectPath({18.2, 39.5, 2.6, 7}), kRed);
            Flat(p, RectPath({16, 41.7, 7, 2.6}), kRed);
            break;
    }
}

void DrawHeadgear(QPainter& p, Headgear headgear, const QColor& uniform) {
    const QRectF dome(kHead.x() - 6, kHead.y() - 7, 12, 12);
    const auto domeCap = [&](const QColor& colour, qreal brim) {
        QPainterPath cap;
        cap.arcMoveTo(dome, 180);
        cap.arcTo(dome, 180, -180);
        cap.closeSubpath();
        Shape(p, cap, colour);
        Shape(p, RectPath({dome.left() - brim, kHead.y() - 1.6, dome.width() + 2 * brim, 2}, 1), colour.darker(115));
    };
    switch (headgear) {
        case Headgear::Helmet:
            domeCap(uniform.darker(125), 1);
            break;
        case Headgear::HardHat:
            domeCap(kYellow, 2);
            break;
        case Headgear::MedicHelmet:
            domeCap(kWhite, 1);
            Flat(p, RectPath({kHead.x() - 0.9, kHead.y() - 6, 1.8, 4.4}), kRed);
            Flat(p, RectPath({kHead.x() - 2.2, kHead.y() - 4.7, 4.4, 1.8}), kRed);
            break;
        case Headgear::GasMask:
            Shape(p, CirclePath(kHead, 5.6), kOliveDark);
            Shape(p, CirclePath(kHead + QPointF(-2.4, -0.6), 1.9), kGlass);
            Shape(p, CirclePath(kHead + QPointF(2.4, -0.6), 1.9), kGlass);
            Shape(p, CirclePath(kHead + QPointF(0, 3.6), 2), kBlack);
            break;
        case Headgear::Fedora:
            Shape(p, EllipsePath({kHead.x() - 9, kHead.y() - 5.5, 18, 4}), QColor(0x3b3128u));
            Shape(p, RectPath({kHead.x() - 5, kHead.y() - 12, 10, 8}, 2.5), QColor(0x3b3128u));
            Flat(p, RectPath({kHead.x() - 4.6, kHead.y() - 6.4, 9.2, 1.6}), kBlack);
            break;
        case Headgear::Beanie:
            domeCap(kBlack, 0.4);
            Flat(p, RectPath({kHead.x() - 5, kHead.y() - 0.8, 10, 2.6}, 1.2), kBlack);  // mask over the eyes
            break;
        case Headgear::LongHair: {
            QPainterPath fringe;
            fringe.arcMoveTo(dome.adjusted(0.4, 0.6, -0.4, 0), 180);
            fringe.arcTo(dome.adjusted(0.4, 0.6, -0.4, 0), 180, -180);
            fringe.quadTo(kHead.x(), kHead.y() - 4, dome.left() + 0.4, kHead.y() - 0.4);
            Shape(p, fringe, QColor(0x4a2c1au));
            break;
        }
    }
}

void DrawSoldier(QPainter& p, const SoldierLook& s) {
    DrawBackKit(p, s);
    // legs and boots
    Shape(p, PolyPath({{25, 34}, {31.4, 34}, {31, 48}, {26, 48}}), s.trousers);
    Shape(p, PolyPath({{32.6, 34}, {39, 34}, {38, 48}, {33, 48}}), s.trousers);
    Shape(p, RectPath({24.5, 47, 7, 4.5}, 1.5), kBlack);
    Shape(p, RectPath({32.5, 47, 7, 4.5}, 1.5), kBlack);
    // body
    Shape(p, RectPath({30, 18.5, 4, 4}), kSkin);
    if (s.longCoat) Shape(p, PolyPath({{24, 22}, {40, 22}, {42, 44}, {22, 44}}), s.uniform);
    Shape(p, RectPath({24, 21, 16, 15}, 3.5), s.uniform);
    if (s.longCoat) Line(p, QPointF(32, 23), QPointF(32, 43.5), s.uniform.darker(140), 0.9);
    if (s.headgear == Headgear::MedicHelmet) {
        Flat(p, RectPath({30.6, 25, 2.8, 8}), kRed);
        Flat(p, RectPath({28, 27.6, 8, 2.8}), kRed);
    } else if (!s.longCoat) {
        Flat(p, RectPath({24.5, 33, 15, 2.2}), s.uniform.darker(150));  // belt
    }
    // the arms, what they hold, then the hands gripping it
    const ArmPose pose = PoseFor(s.kit);
    const QColor sleeve = s.kit == Kit::TwinPistols ? kSkin : s.uniform;
    Rod(p, {kLeftShoulder, pose.leftElbow, pose.leftHand}, sleeve, 4.2);
    Rod(p, {kRightShoulder, pose.rightElbow, pose.rightHand}, sleeve, 4.2);
    DrawKit(p, s.kit);
    Shape(p, CirclePath(pose.leftHand, 2), kSkin);
    Shape(p, CirclePath(pose.rightHand, 2), kSkin);
    // head
    Shape(p, CirclePath(kHead, 5), kSkin);
    if (s.headgear != Headgear::GasMask) {
        Flat(p, CirclePath(kHead + QPointF(-1.9, 0.6), 0.75), kInk);
        Flat(p, CirclePath(kHead + QPointF(1.9, 0.6), 0.75), kInk);
    }
    DrawHeadgear(p, s.headgear, s.uniform);
}

void DrawDog(QPainter& p) {
    const QColor tan(0xb07a3cu), saddle(0x3a2a1au);
    const QColor far = tan.darker(130);
    Rod(p, {{21, 36}, {17, 43}, {19, 50}}, far, 3.4);
    Rod(p, {{38, 36}, {39, 50}}, far, 3.4);
    QPainterPath tail(QPointF(16, 31));
    tail.quadTo(9, 30, 7, 22);
    Rod(p, tail, tan, 3);
    const QPainterPath body = EllipsePath({13, 26, 31, 14});
    Shape(p, body, tan);
    p.save();
    p.setClipPath(body, Qt::IntersectClip);
    Flat(p, EllipsePath({16, 22, 24, 9}), saddle);
    p.restore();
    Shape(p, PolyPath({{37, 30}, {43, 19}, {50, 22}, {46, 36}}), tan);
    Shape(p, PolyPath({{44, 18}, {45.5, 9}, {49.5, 16.5}}), saddle);
    Shape(p, EllipsePath({41.5, 15, 12, 10.5}), tan);
    Shape(p, PolyPath({{51, 17.5}, {59, 21}, {58.5, 24.5}, {50.5, 24.5}}), tan);
    Flat(p, CirclePath({58.2, 21.6}, 1.5), kBlack);
    Flat(p, CirclePath({49.2, 18.8}, 1), kBlack);
    Line(p, QPointF(42.5, 24), QPointF(47, 27.5), kRed, 2.2);
    Rod(p, {{25, 37}, {24, 43}, {26, 50}}, tan, 3.4);
    Rod(p, {{42, 34}, {44, 50}}, tan, 3.4);
}

// ---------------------------------------------------------------------------------------------
// Ships, seen from the side facing right, floating with the waterline at y = 46.

constexpr qreal kWaterline = 46;

void Water(QPainter& p, qreal level) {
    QLinearGradient sea(0, level, 0, 64);
    sea.setColorAt(0, kWater.lighter(120));
    sea.setColorAt(1, kWater.darker(140));
    Flat(p, RectPath({0, level, 64, 64 - level}), sea);
}

// The strip of water in front of a hull, with a line of wavelets on it; the more opaque, the
// less shows through of what is under the surface.
void Waves(QPainter& p, qreal level, int opacity = 215) {
    Flat(p, RectPath({0, level, 64, 64 - level}), WithAlpha(kWater, opacity));
    QPainterPath crest(QPointF(0, level));
    for (qreal x = 0; x < 64; x += 8) {
        crest.quadTo(x + 2, level - 1.2, x + 4, level);
        crest.quadTo(x + 6, level + 1.2, x + 8, level);
    }
    Line(p, crest, WithAlpha(kSteelLight, 170), 0.9);
}

// A hull from the stern at x0 to the bow at x1, deck at `deck` (the bow rises `sheer` above it).
void Hull(QPainter& p, qreal x0, qreal x1, qreal deck, qreal sheer, const QColor& colour) {
    const QPainterPath hull = PolyPath(
        {{x0, deck}, {x1, deck - sheer}, {x1 - 8, kWaterline + 2}, {x0 + 2, kWaterline + 2}, {x0 - 1, deck + 2.5}});
    Shape(p, hull, colour);
    p.save();
    p.setClipPath(hull, Qt::IntersectClip);
    Flat(p, RectPath({0, kWaterline - 2, 64, 4}), kBrick);  // boot-top
    p.restore();
    Line(p, QPointF(x0 + 0.5, deck + 1), QPointF(x1 - 1, deck - sheer + 1), colour.lighter(130), 1);
}

// A block of superstructure standing on the deck, with a row of windows.
void Deckhouse(QPainter& p, const QRectF& block, const QColor& colour, bool windows) {
    Shape(p, RectPath(block), colour);
    if (!windows) return;
    for (qreal x = block.left() + 1.5; x + 2 <= block.right() - 1; x += 3.2)
        Flat(p, RectPath({x, block.top() + 1.5, 2, 1.8}), kBlack);
}

// A gun turret on the deck, its barrel pointing forwards (facing +1) or aft (facing -1).
void ShipGun(QPainter& p, QPointF base, qreal size, int facing, int barrels) {
    for (int i = 0; i < barrels; ++i) {
        const QPointF start = base + QPointF(facing * size * 0.5, -size * 0.6 - i * size * 0.38);
        Shape(p, BarPath(start, size * 2, facing > 0 ? 4 : 176, size * 0.32), kSteelDark);
    }
    Shape(p,
          PolyPath({{base.x() - size, base.y()},
                    {base.x() - size * 0.8, base.y() - size},
                    {base.x() + size * 0.8, base.y() - size},
                    {base.x() + size, base.y()}}),
          kSteelLight);
}

void Mast(QPainter& p, QPointF foot, qreal height) {
    Rod(p, {foot, foot - QPointF(0, height)}, kSteelDark, 1.2);
    Rod(p, {foot + QPointF(-3.5, -height * 0.7), foot + QPointF(3.5, -height * 0.7)}, kSteelDark, 1);
}

void Funnel(QPainter& p, const QRectF& body) {
    Shape(p,
          PolyPath(
              {body.bottomLeft(), body.topLeft() + QPointF(1, 0), body.topRight() + QPointF(1, 0), body.bottomRight()}),
          kSteel);
    Flat(p, RectPath({body.left() + 1, body.top() + 0.5, body.width() - 0.2, 2}), kBlack);
}

void DrawSubmarine(QPainter& p) {
    Water(p, kWaterline - 3);
    const QColor hull(0x5d6a73u);
    Shape(p, RectPath({5, 36, 54, 13}, 6.5), hull);
    Shape(p, PolyPath({{25, 37}, {27.5, 25.5}, {37, 25.5}, {39, 37}}), hull);
    Shape(p, RectPath({22, 29.5, 20, 2}, 1), hull.lighter(120));  // diving planes
    Rod(p, {{33, 25.5}, {33, 18}, {35.5, 18}}, kSteel, 1.3);
    Line(p, QPointF(9, 38), QPointF(52, 38), hull.lighter(130), 1);
    Waves(p, kWaterline - 3, 165);
    Line(p, QPointF(56, 43.5), QPointF(61, 41.5), WithAlpha(kWhite, 200), 1.2);
    Line(p, QPointF(56, 44.5), QPointF(61, 45.5), WithAlpha(kWhite, 200), 1.2);
}

void DrawDestroyer(QPainter& p) {
    Water(p, kWaterline);
    Hull(p, 7, 59, 39, 3, QColor(0x76838eu));
    Mast(p, {29, 27}, 14);
    Shape(p, RectPath({25.5, 14.5, 7, 2}, 0.8), kSteelLight);  // radar
    Deckhouse(p, {20, 32, 18, 7.5}, kSteelLight, true);
    Deckhouse(p, {24, 26.5, 10, 6}, kSteelLight, true);
    ShipGun(p, {46, 37.2}, 4, 1, 1);
    Shape(p, RectPath({10, 34.5, 7, 4.5}), kSteel);  // launcher
    Missile(p, {10.5, 35.5}, 9, 25, 2);
    Waves(p, kWaterline);
}

void DrawCruiser(QPainter& p) {
    Water(p, kWaterline);
    Hull(p, 3, 61, 37, 3, QColor(0x6c7883u));
    Mast(p, {31, 20}, 12);
    Deckhouse(p, {19, 29.5, 24, 8}, kSteelLight, true);
    Deckhouse(p, {24, 21, 10, 9}, kSteelLight, true);
    Funnel(p, {36, 20, 4.5, 10});
    ShipGun(p, {48, 35.2}, 5, 1, 2);
    ShipGun(p, {13, 37}, 5, -1, 2);
    Waves(p, kWaterline);
}

void DrawTransport(QPainter& p) {
    Water(p, kWaterline);
    const QColor hull(0x7b8468u);
    Shape(p, PolyPath({{5, 35}, {53, 35}, {53, kWaterline + 2}, {7, kWaterline + 2}}), hull);
    Shape(p, PolyPath({{53, 35}, {59, 37}, {59, kWaterline - 1}, {53, kWaterline + 2}}), hull.darker(120));  // bow ramp
    for (qreal y = 39; y < kWaterline; y += 3) Line(p, QPointF(54, y), QPointF(58.4, y + 1.2), hull.darker(150), 0.8);
    Flat(p, RectPath({5.5, kWaterline - 2, 47.5, 3}), kBrick);
    Shape(p, RectPath({25, 29.5, 11, 5.5}, 1), kOlive);  // deck cargo
    Shape(p, RectPath({38, 30, 11, 5}, 1), kOliveLight);
    Deckhouse(p, {7, 21, 13, 14}, kSteelLight, true);
    Deckhouse(p, {9, 16, 8, 5}, kSteelLight, false);
    Mast(p, {13, 16}, 8);
    Waves(p, kWaterline);
}

void DrawGunBoat(QPainter& p) {
    Water(p, kWaterline);
    Hull(p, 9, 57, 40, 4, QColor(0x8e9aa3u));
    Shape(p, PolyPath({{23, 40}, {23, 32}, {33, 32}, {38, 39.5}}), kSteelLight);
    Flat(p, PolyPath({{32.5, 33.2}, {36.4, 38.6}, {30.5, 38.6}, {30.5, 33.2}}), kGlass);
    Mast(p, {27, 32}, 8);
    ShipGun(p, {46, 38.4}, 3.2, 1, 1);
    Waves(p, kWaterline);
    Flat(p, PolyPath({{1, kWaterline}, {10, kWaterline - 2.5}, {10, kWaterline + 1.5}}),
         WithAlpha(kWhite, 210));  // wake
    Flat(p, PolyPath({{49, kWaterline + 0.5}, {58, kWaterline - 2}, {60, kWaterline + 1}}),
         WithAlpha(kWhite, 210));  // bow spray
}

// ---------------------------------------------------------------------------------------------
// Aircraft, seen from above, nose up; the picture turns them to fly towards the top right.
// Helicopters have a rotor instead of full wings.

struct AircraftLook {
    qreal length, width;               // fuselage
    qreal wingAt, span;                // leading edge of the wing root behind the nose; span tip to tip
    qreal rootChord, tipChord, sweep;  // sweep: how far aft the tip's leading edge lies
    qreal tailSpan;
    int engines = 0;        // engine nacelles on the wings
    bool noseProp = false;  // a propeller on the nose
    int rotorBlades = 0;    // helicopters
    qreal rotorRadius = 0;
    QColor colour;
    bool redStars = false;
};

// In object id order 2400..2403, then 2405..2406.
const std::array<AircraftLook, 6> kAircraft = {{
    // BADR: big straight-winged bomber with two propeller engines
    {.length = 44,
     .width = 6.5,
     .wingAt = 15,
     .span = 56,
     .rootChord = 11,
     .tipChord = 6,
     .sweep = 4,
     .tailSpan = 19,
     .engines = 2,
     .colour = QColor(0x7c7a52u),
     .redStars = true},
    // U2: long thin glider wings
    {.length = 36,
     .width = 4,
     .wingAt = 14,
     .span = 58,
     .rootChord = 7,
     .tipChord = 3.5,
     .sweep = 1,
     .tailSpan = 14,
     .colour = QColor(0x4a525au)},
    // MIG: swept delta
    {.length = 44,
     .width = 5,
     .wingAt = 14,
     .span = 32,
     .rootChord = 22,
     .tipChord = 3,
     .sweep = 17,
     .tailSpan = 15,
     .colour = QColor(0x9aa5adu),
     .redStars = true},
    // YAK: propeller fighter with straight wings
    {.length = 34,
     .width = 5,
     .wingAt = 11,
     .span = 40,
     .rootChord = 9,
     .tipChord = 5,
     .sweep = 1.5,
     .tailSpan = 14,
     .noseProp = true,
     .colour = QColor(0x6e7a36u),
     .redStars = true},
    // HELI: slim gunship, four blades
    {.length = 44,
     .width = 6,
     .wingAt = 15,
     .span = 18,
     .rootChord = 4,
     .tipChord = 4,
     .sweep = 0,
     .tailSpan = 9,
     .rotorBlades = 4,
     .rotorRadius = 21,
     .colour = QColor(0x8e9c58u)},
    // HIND: bulky gunship, five blades
    {.length = 44,
     .width = 8.5,
     .wingAt = 16,
     .span = 24,
     .rootChord = 5,
     .tipChord = 4.5,
     .sweep = 1,
     .tailSpan = 11,
     .rotorBlades = 5,
     .rotorRadius = 21,
     .colour = QColor(0x9c8a55u)},
}};

// Wing-like surfaces mirrored about the centre line: leading edge of the root at y.
QPainterPath Wings(qreal rootY, qreal innerX, qreal halfSpan, qreal rootChord, qreal tipChord, qreal sweep) {
    QPainterPath wings;
    for (int side : {-1, 1})
        wings.addPath(PolyPath({{side * innerX, rootY},
                                {side * halfSpan, rootY + sweep},
                                {side * halfSpan, rootY + sweep + tipChord},
                                {side * innerX, rootY + rootChord}}));
    return wings;
}

void DrawAircraft(QPainter& p, const AircraftLook& a) {
    const qreal nose = -a.length / 2, tail = a.length / 2;
    const bool helicopter = a.rotorBlades > 0;
    const QColor light = a.colour.lighter(125), dark = a.colour.darker(135);
    // tailplane
    Shape(p, Wings(tail - 5, 0, a.tailSpan / 2, 4.5, 3, 2), dark);
    // fuselage (a helicopter's narrows into a tail boom)
    QPainterPath body(QPointF(0, nose));
    const qreal w = a.width / 2;
    const qreal rear = helicopter ? 1.3 : w * 0.55;
    const qreal waist = helicopter ? nose + a.length * 0.5 : tail - 6;
    body.cubicTo(w * 0.9, nose, w, nose + a.length * 0.12, w, nose + a.length * 0.25);
    body.lineTo(w, waist);
    body.lineTo(rear, tail);
    body.lineTo(-rear, tail);
    body.lineTo(-w, waist);
    body.lineTo(-w, nose + a.length * 0.25);
    body.cubicTo(-w, nose + a.length * 0.12, -w * 0.9, nose, 0, nose);
    // wings under the fuselage
    const QPainterPath wings = Wings(nose + a.wingAt, w * 0.6, a.span / 2, a.rootChord, a.tipChord, a.sweep);
    Shape(p, wings, a.colour);
    if (helicopter)
        for (int side : {-1, 1})
            Shape(p, RectPath({side * a.span / 2 - 1.8, nose + a.wingAt - 2, 3.6, 8}, 1.6), dark);  // rocket pods
    for (int i = 0; i < a.engines; ++i) {
        const qreal x = (i % 2 == 0 ? -1 : 1) * a.span * 0.22;
        const qreal y = nose + a.wingAt + a.sweep * 0.4;
        Shape(p, RectPath({x - 2.2, y - 5, 4.4, 10}, 2), dark);
        Line(p, EllipsePath({x - 6, y - 6.8, 12, 2.4}), WithAlpha(kSteelLight, 200), 1);
    }
    if (a.redStars)
        for (int side : {-1, 1}) {
            const qreal x = side * (w + (a.span / 2 - w) * 0.62);
            const qreal y = nose + a.wingAt + a.sweep * 0.62 + a.rootChord * 0.3;
            if (a.span / 2 - w > 6) Flat(p, StarPath({x, y + 1}, 2.6, 1.1), kRed);
        }
    Shape(p, body, a.colour);
    Flat(p, RectPath({-w * 0.35, nose + a.length * 0.3, w * 0.7, a.length * 0.45}), light);
    if (helicopter && a.rotorBlades == 5) {
        Shape(p, EllipsePath({-w * 0.55, nose + 3, w * 1.1, 5}), kGlass);
        Shape(p, EllipsePath({-w * 0.6, nose + 9, w * 1.2, 5}), kGlass);
    } else {
        Shape(p, EllipsePath({-w * 0.55, nose + a.length * 0.12, w * 1.1, a.length * 0.16}), kGlass);
    }
    if (a.noseProp) {
        Line(p, QPointF(-7, nose - 0.5), QPointF(7, nose - 0.5), WithAlpha(kSteelLight, 220), 1.3);
        Shape(p, CirclePath({0, nose}, 1.6), kRed);
    }
    if (helicopter) {
        Shape(p, RectPath({-4.5, tail - 1.5, 9, 1.8}), dark);  // tail rotor
        Line(p, CirclePath({0, nose + a.length * 0.3}, a.rotorRadius), WithAlpha(kSteelLight, 70), 1);
        p.save();
        p.translate(0, nose + a.length * 0.3);
        for (int i = 0; i < a.rotorBlades; ++i) {
            Flat(p, RectPath({-0.9, -a.rotorRadius, 1.8, a.rotorRadius}, 0.9), WithAlpha(kBlack, 160));
            p.rotate(360.0 / a.rotorBlades);
        }
        Shape(p, CirclePath({0, 0}, 2.4), kSteel);
        p.restore();
    }
}

// ---------------------------------------------------------------------------------------------
// Structures, seen from the front and a little from above and the right: the top and the right
// side of every block recede along kDepth. Light falls from the top left.

const QPointF kDepth(1.0, -0.6);
const QColor kConcreteDark = kConcrete.darker(125);
const QColor kSovietWall(0x8e4a36u);

// A block: front face `front`, top and right side receding `depth` pixels.
void Box(QPainter& p, const QRectF& front, qreal depth, const QColor& wall) {
    const QPointF back = kDepth * depth;
    Shape(p, PolyPath({front.topRight(), front.topRight() + back, front.bottomRight() + back, front.bottomRight()}),
          wall.darker(135));
    Shape(p, PolyPath({front.topLeft(), front.topLeft() + back, front.topRight() + back, front.topRight()}),
          wall.lighter(118));
    Shape(p, RectPath(front), wall);
}

// The transform onto the top face of Box(front, depth): x runs left to right, y front to back.
QTransform TopFace(const QRectF& front, qreal depth) {
    return FaceTransform(front.topLeft(), {front.width(), 0}, kDepth * depth);
}

// The concrete foundation every building stands on.
void Foundation(QPainter& p, qreal x0, qreal x1, qreal depth) { Box(p, {x0, 49, x1 - x0, 3}, depth, kConcreteDark); }

// A vertical cylinder from `top` to `bottom`: silos, stacks, tanks.
void Cylinder(QPainter& p, qreal cx, qreal top, qreal bottom, qreal radius, const QColor& colour) {
    const qreal ry = radius * 0.38;
    QPainterPath side;
    side.moveTo(cx - radius, top);
    side.lineTo(cx - radius, bottom);
    side.arcTo(QRectF(cx - radius, bottom - ry, 2 * radius, 2 * ry), 180, 180);
    side.lineTo(cx + radius, top);
    side.closeSubpath();
    QLinearGradient shade(cx - radius, 0, cx + radius, 0);
    shade.setColorAt(0, colour.lighter(120));
    shade.setColorAt(0.45, colour);
    shade.setColorAt(1, colour.darker(140));
    Shape(p, side, shade);
    Shape(p, EllipsePath({cx - radius, top - ry, 2 * radius, 2 * ry}), colour.lighter(112));
}

// A half-sphere standing on the point `base`.
void Dome(QPainter& p, QPointF base, qreal radius, const QColor& colour) {
    const QRectF circle(base.x() - radius, base.y() - radius, 2 * radius, 2 * radius);
    QPainterPath dome;
    dome.arcMoveTo(circle, 0);
    dome.arcTo(circle, 0, 180);
    dome.arcTo(QRectF(circle.left(), base.y() - radius * 0.3, 2 * radius, radius * 0.6), 180, 180);
    QRadialGradient light(base + QPointF(-radius * 0.4, -radius * 0.6), radius * 1.3);
    light.setColorAt(0, colour.lighter(140));
    light.setColorAt(1, colour.darker(120));
    Shape(p, dome, light);
}

// A row of windows across `area`.
void Windows(QPainter& p, const QRectF& area, int count, const QColor& glass = kGlass) {
    const qreal gap = 1.6;
    const qreal width = (area.width() - gap * (count - 1)) / count;
    for (int i = 0; i < count; ++i)
        Shape(p, RectPath({area.left() + i * (width + gap), area.top(), width, area.height()}), glass);
}

// A ridged roof over `front`, its ridge running back from the middle of the front's top edge.
void GableRoof(QPainter& p, const QRectF& front, qreal rise, qreal depth, const QColor& roof, const QColor& gable) {
    const QPointF back = kDepth * depth;
    const QPointF apex(front.center().x(), front.top() - rise);
    Shape(p, PolyPath({front.topLeft(), apex, apex + back, front.topLeft() + back}), roof.lighter(115));
    Shape(p, PolyPath({apex, front.topRight(), front.topRight() + back, apex + back}), roof);
    Shape(p, PolyPath({front.topLeft(), apex, front.topRight()}), gable);
}

// A lightning bolt: the power sign.
void Bolt(QPainter& p, QPointF top, qreal size) {
    const auto at = [&](qreal x, qreal y) { return top + QPointF(x * size, y * size); };
    Shape(p, PolyPath({at(0.2, 0), at(0.75, 0), at(0.5, 0.38), at(0.8, 0.38), at(0.1, 1), at(0.3, 0.55), at(0, 0.55)}),
          kYellow);
}

// A slatted garage door with a warning lintel.
void GarageDoor(QPainter& p, const QRectF& door) {
    Shape(p, RectPath(door), kSteel);
    for (qreal y = door.top() + 2.5; y < door.bottom() - 0.5; y += 2.5)
        Line(p, QPointF(door.left() + 0.8, y), QPointF(door.right() - 0.8, y), kSteelDark, 0.8);
    Hazard(p, {door.left() - 1, door.top() - 3, door.width() + 2, 3}, 2.2);
}

void Smoke(QPainter& p, QPointF from) {
    for (int i = 0; i < 3; ++i)
        Flat(p, CirclePath(from + QPointF(i * 2.5, -i * 3.5), 2 + i * 0.8), WithAlpha(kSteelLight, 150 - i * 35));
}

void Crane(QPainter& p, qreal towerX, qreal jibLeft) {
    const QColor crane(0xd9a521u);
    Box(p, {towerX, 10, 4.5, 39}, 3, crane);
    for (qreal y = 12; y < 47; y += 5)
        Line(p, QPointF(towerX + 0.6, y), QPointF(towerX + 3.9, y + 4.4), crane.darker(150), 0.7);
    Box(p, {jibLeft, 7, towerX + 9 - jibLeft, 3}, 3, crane);
    Shape(p, RectPath({towerX + 6, 5, 4, 5}), kSteelDark);  // counterweight
    Line(p, QPointF(jibLeft + 4, 10), QPointF(jibLeft + 4, 22), kInk, 0.8);
    Rod(p, {{jibLeft + 4, 22}, {jibLeft + 4, 24.5}, {jibLeft + 2.5, 24.5}}, kSteelDark, 1.1);
}

void IronCurtain(QPainter& p) {
    Foundation(p, 6, 50, 10);
    Box(p, {8, 37, 36, 12}, 10, kSteelDark);
    QLinearGradient glow(0, 12, 0, 38);
    glow.setColorAt(0, WithAlpha(kRed, 230));
    glow.setColorAt(1, WithAlpha(kRed.darker(150), 200));
    Flat(p, RectPath({15, 12, 22, 26}), glow);
    for (qreal x = 18; x < 36; x += 4.5)
        Line(p, QPointF(x, 13), QPointF(x, 37), WithAlpha(QColor(0xff8a70u), 190), 1.2);
    Box(p, {10, 11, 6, 27}, 5, QColor(0x5b5f5au));
    Box(p, {36, 11, 6, 27}, 5, QColor(0x5b5f5au));
    Box(p, {9, 7, 34, 4.5}, 6, QColor(0x5b5f5au));
    Shape(p, CirclePath({13, 17}, 1.6), kRed);
    Shape(p, CirclePath({39, 17}, 1.6), kRed);
}

void AlliedTech(QPainter& p) {
    Foundation(p, 5, 52, 10);
    Box(p, {8, 30, 34, 19}, 10, QColor(0xc9ced0u));
    Flat(p, RectPath({8.5, 33, 33, 2.5}), kBlue);
    Windows(p, {11, 38, 28, 4}, 5);
    Shape(p, RectPath({22, 43, 6, 6}), kSteelDark);
    Dome(p, {29, 27}, 10, QColor(0xdfe6ea));
    Rod(p, {{45, 25}, {45, 8}}, kSteelDark, 1.2);
    Shape(p, CirclePath({45, 7}, 2.2), kBlue);
}

void Chronosphere(QPainter& p) {
    Foundation(p, 4, 54, 10);
    Box(p, {7, 40, 40, 9}, 10, kSteel);
    Rod(p, {{15, 41}, {22, 31}}, kSteelDark, 2.4);
    Rod(p, {{41, 41}, {35, 31}}, kSteelDark, 2.4);
    const QPointF centre(29, 24);
    const QRectF ring(centre.x() - 21, centre.y() - 6, 42, 12);
    p.save();
    p.translate(centre);
    p.rotate(-14);
    p.translate(-centre);
    QPainterPath back;
    back.arcMoveTo(ring, 0);
    back.arcTo(ring, 0, 180);
    Rod(p, back, kCyan, 1.8);
    p.restore();
    QRadialGradient sea(centre + QPointF(-4, -5), 17);
    sea.setColorAt(0, QColor(0x8fc8f5u));
    sea.setColorAt(1, QColor(0x1c4f9cu));
    const QPainterPath globe = CirclePath(centre, 13);
    Shape(p, globe, sea);
    p.save();
    p.setClipPath(globe, Qt::IntersectClip);
    for (qreal dy : {-7.0, 0.0, 7.0})
        Line(p, QPointF(centre.x() - 14, centre.y() + dy), QPointF(centre.x() + 14, centre.y() + dy),
             WithAlpha(kWhite, 110), 0.9);
    Line(p, EllipsePath({centre.x() - 6, centre.y() - 13, 12, 26}), WithAlpha(kWhite, 110), 0.9);
    p.restore();
    p.save();
    p.translate(centre);
    p.rotate(-14);
    p.translate(-centre);
    QPainterPath front;
    front.arcMoveTo(ring, 180);
    front.arcTo(ring, 180, 180);
    Rod(p, front, kCyan, 1.8);
    p.restore();
}

void WarFactory(QPainter& p) {
    Foundation(p, 3, 56, 10);
    Box(p, {6, 22, 42, 27}, 10, kConcrete);
    Box(p, {12, 18.5, 6, 3.5}, 4, kSteel);
    Box(p, {34, 18.5, 6, 3.5}, 4, kSteel);
    GarageDoor(p, {14, 31, 26, 18});
    Windows(p, {8, 26, 4, 3}, 1);
    Windows(p, {42, 26, 4, 3}, 1);
}

void Shipyard(QPainter& p) {
    Water(p, 40);
    Box(p, {3, 34, 9, 13}, 7, kConcrete);
    Box(p, {46, 34, 9, 13}, 7, kConcrete);
    Shape(p, PolyPath({{17, 36}, {41, 36}, {37, 43}, {20, 43}}), QColor(0x76838eu));  // hull being built
    for (qreal x = 20; x < 40; x += 5) Line(p, QPointF(x, 30), QPointF(x, 36), kWoodDark, 0.9);
    Line(p, QPointF(18, 31), QPointF(40, 31), kWoodDark, 0.9);
    const QColor crane(0xd9a521u);
    Rod(p, {{8, 34}, {10, 10}}, crane, 2.2);
    Rod(p, {{50, 34}, {48, 10}}, crane, 2.2);
    Box(p, {6, 7, 46, 3.5}, 4, crane);
    Shape(p, RectPath({27, 10.5, 6, 3}), kSteelDark);
    Line(p, QPointF(30, 13.5), QPointF(30, 25), kInk, 0.8);
    Rod(p, {{30, 25}, {30, 27.5}, {28.5, 27.5}}, kSteelDark, 1.1);
    Waves(p, 46);
}

void SubPen(QPainter& p) {
    Water(p, 42);
    const QColor wall(0x8f8c7au);
    Box(p, {5, 22, 42, 22}, 10, wall);
    Flat(p, RectPath({5.5, 22.5, 41, 2}), wall.lighter(115));
    QPainterPath arch(QPointF(13, 44));
    arch.lineTo(13, 35);
    arch.arcTo(QRectF(13, 27, 26, 16), 180, -180);
    arch.lineTo(39, 44);
    arch.closeSubpath();
    Shape(p, arch, QColor(0x1a1d18u));
    Shape(p, PolyPath({{22, 44}, {23.5, 36}, {29, 36}, {30.5, 44}}), QColor(0x3f4a52u));  // a sail inside
    Waves(p, 44);
}

// A low concrete pillbox, bare or under a camouflage net.
void Bunker(QPainter& p, bool camouflaged) {
    Shape(p, EllipsePath({6, 42, 52, 11}), QColor(0x6d5f3fu));
    QPainterPath mound(QPointF(11, 48));
    mound.lineTo(11, 40);
    mound.cubicTo(13, 25, 51, 25, 53, 40);
    mound.lineTo(53, 48);
    mound.closeSubpath();
    Shape(p, mound, camouflaged ? kOlive : kConcrete);
    p.save();
    p.setClipPath(mound, Qt::IntersectClip);
    if (camouflaged) {
        for (const QRectF& blob :
             {QRectF(13, 30, 14, 8), QRectF(33, 28, 12, 7), QRectF(40, 40, 14, 9), QRectF(10, 41, 10, 6)})
            Flat(p, EllipsePath(blob), kOliveDark);
        for (const QRectF& blob : {QRectF(26, 27, 9, 5), QRectF(18, 42, 11, 5), QRectF(45, 33, 8, 5)})
            Flat(p, EllipsePath(blob), kOliveLight);
    } else {
        Flat(p, EllipsePath({16, 28, 22, 8}), kConcrete.lighter(115));
    }
    p.restore();
    if (camouflaged)
        for (const auto& [x, tip] :
             {std::pair{16.0, 25.0}, std::pair{25.0, 23.5}, std::pair{35.0, 24.5}, std::pair{45.0, 26.0}})
            Flat(p, PolyPath({{x, 31}, {x + 2, tip}, {x + 4, 31}}), kGreen.darker(120));
    Shape(p, RectPath({21, 36, 22, 4}, 1.5), kBlack);
    Shape(p, BarPath({34, 38}, 13, 0, 2.2), kSteelDark);
}

void TeslaCoil(QPainter& p) {
    Foundation(p, 13, 47, 8);
    Box(p, {17, 40, 22, 9}, 8, kSteelDark);
    Shape(p, PolyPath({{22, 40}, {25.5, 14}, {30.5, 14}, {34, 40}}), kSteel);
    const QColor copper(0xc27a3au);
    for (int i = 0; i < 3; ++i) {
        const qreal y = 35 - i * 7, half = 9 - i * 1.8;
        Shape(p, EllipsePath({28 - half, y - 2, 2 * half, 4}), copper);
    }
    QRadialGradient orb(QPointF(26.5, 9), 7);
    orb.setColorAt(0, kWhite);
    orb.setColorAt(1, kSteel);
    Shape(p, CirclePath({28, 11}, 5.5), orb);
    for (int side : {-1, 1}) {
        QPainterPath bolt(QPointF(28 + side * 5, 10));
        bolt.lineTo(28 + side * 10, 6);
        bolt.lineTo(28 + side * 12, 11);
        bolt.lineTo(28 + side * 18, 5);
        Line(p, bolt, WithAlpha(kCyan, 120), 3.2);
        Line(p, bolt, kWhite, 1.1);
    }
}

void GunTurret(QPainter& p) {
    Foundation(p, 10, 50, 8);
    Box(p, {13, 38, 26, 11}, 8, kConcrete);
    Shape(p, BarPath({36, 30}, 19, 6, 3.4), kSteelDark);
    Shape(p, BarPath({51, 28.4}, 4, 6, 4.6), kSteelDark);
    Shape(p, EllipsePath({17, 24, 24, 14}), kSteel);
    Flat(p, EllipsePath({21, 26, 12, 4}), kSteelLight);
}

void AntiAircraftGun(QPainter& p) {
    Foundation(p, 10, 50, 8);
    Box(p, {13, 40, 26, 9}, 8, kConcrete);
    for (qreal offset : {-2.6, 2.6})
        Shape(p, BarPath(QPointF(29, 32) + QPointF(offset * 0.85, offset * 0.5), 24, 58, 2.2), kSteelDark);
    Shape(p, PolyPath({{19, 40}, {37, 40}, {34, 30}, {22, 30}}), kSteel);
    Shape(p, RectPath({24, 33, 8, 3}), kSteelDark);
}

void FlameTurret(QPainter& p) {
    Foundation(p, 8, 48, 8);
    Box(p, {11, 40, 26, 9}, 8, kBrickDark.lighter(140));
    Dome(p, {25, 40}, 11, kBrick);
    Shape(p, BarPath({33, 35}, 9, 4, 2.6), kSteelDark);
    Flame(p, Along({33, 35}, 9, 4), 19);
}

void ConstructionYard(QPainter& p) {
    Foundation(p, 3, 50, 10);
    Box(p, {5, 30, 36, 19}, 10, kConcrete);
    Hazard(p, {5, 30, 36, 3}, 2.5);
    GarageDoor(p, {10, 39, 16, 10});
    Windows(p, {30, 37, 8, 4}, 2);
    Crane(p, 45, 14);
}

void Refinery(QPainter& p) {
    Foundation(p, 3, 57, 10);
    Box(p, {5, 28, 31, 21}, 10, kConcrete);
    const QTransform top = TopFace({5, 28, 31, 21}, 10);
    for (const QPointF& nugget :
         {QPointF(0.25, 0.45), QPointF(0.42, 0.6), QPointF(0.58, 0.4), QPointF(0.4, 0.25), QPointF(0.72, 0.55)})
        Shape(p, CirclePath(top.map(nugget), 2.6), kGold);
    Cylinder(p, 47, 18, 48, 8, kSteel);
    Flat(p, RectPath({39.5, 30, 15, 3}), kGold);
    Rod(p, {{35, 33}, {39, 33}}, kSteelDark, 2.2);
    GarageDoor(p, {10, 38, 13, 11});
}

void OreSilos(QPainter& p) {
    Foundation(p, 6, 52, 10);
    for (const auto& [cx, top] : {std::pair{41.0, 22.0}, std::pair{23.0, 20.0}}) {
        Cylinder(p, cx, top, 48, 9, kConcrete);
        Flat(p, RectPath({cx - 9, top + 7, 18, 3.5}), kGold);
        Dome(p, {cx, top}, 4, kSteel);
    }
}

void Helipad(QPainter& p) {
    const QRectF slab(4, 40, 42, 8);
    Box(p, slab, 14, kAsphalt);
    p.save();
    p.setTransform(TopFace(slab, 14), true);
    Line(p, EllipsePath({0.14, 0.06, 0.72, 0.88}), kYellow, 0.08);
    Flat(p, RectPath({0.36, 0.2, 0.07, 0.6}), kWhite);
    Flat(p, RectPath({0.57, 0.2, 0.07, 0.6}), kWhite);
    Flat(p, RectPath({0.36, 0.43, 0.28, 0.14}), kWhite);
    p.restore();
    for (const QPointF& light : {slab.topLeft(), slab.topRight(), slab.topRight() + kDepth * 14})
        Shape(p, CirclePath(light, 1.3), kRed);
}

void RadarDome(QPainter& p) {
    Foundation(p, 6, 50, 10);
    Box(p, {8, 32, 30, 17}, 10, kConcrete);
    Windows(p, {11, 36, 24, 4}, 4);
    Shape(p, RectPath({19, 42, 7, 7}), kSteelDark);
    Rod(p, {{39, 27}, {39, 20}}, kSteelDark, 3);
    p.save();
    p.translate(39, 17);
    p.rotate(-28);
    QPainterPath bowl;
    bowl.arcMoveTo(QRectF(-13, -6, 26, 12), 180);
    bowl.arcTo(QRectF(-13, -6, 26, 12), 180, 180);
    bowl.closeSubpath();
    Shape(p, bowl, kSteelLight);
    Shape(p, EllipsePath({-13, -2.5, 26, 5}), kSteel);
    Rod(p, {{0, 0}, {0, -9}}, kSteelDark, 1);
    Shape(p, CirclePath({0, -9.5}, 1.5), kRed);
    p.restore();
}

void GapGenerator(QPainter& p) {
    Foundation(p, 13, 47, 8);
    Box(p, {17, 40, 22, 9}, 8, kSteelDark);
    Box(p, {24, 18, 8, 22}, 5, kSteel);
    const QPointF centre(30, 13);
    const QRectF ring(centre.x() - 15, centre.y() - 4, 30, 8);
    QPainterPath back;
    back.arcMoveTo(ring, 0);
    back.arcTo(ring, 0, 180);
    Rod(p, back, kSteelLight, 2);
    Shape(p, CirclePath(centre, 7.5), kBlack);
    Flat(p, CirclePath(centre + QPointF(-2.4, -2.6), 2), WithAlpha(kSteelLight, 120));
    QPainterPath front;
    front.arcMoveTo(ring, 180);
    front.arcTo(ring, 180, 180);
    Rod(p, front, kSteelLight, 2);
}

void SamSite(QPainter& p) {
    Foundation(p, 5, 52, 10);
    Box(p, {7, 40, 40, 9}, 10, kOlive);
    Box(p, {21, 35, 12, 5}, 5, kSteelDark);
    Missile(p, {13, 36}, 28, 30, 4.2);
    Missile(p, {17, 39}, 28, 30, 4.2);
}

void MissileSilo(QPainter& p) {
    const QRectF slab(4, 40, 46, 8);
    Box(p, slab, 14, kConcreteDark);
    const QTransform top = TopFace(slab, 14);
    p.save();
    p.setTransform(top, true);
    Flat(p, RectPath({0.22, 0.12, 0.56, 0.76}), kYellow);
    Flat(p, RectPath({0.28, 0.2, 0.44, 0.6}), kBlack);
    p.restore();
    // the hatch cover, swung up behind the opening
    const QPointF hingeLeft = top.map(QPointF(0.28, 0.8)), hingeRight = top.map(QPointF(0.72, 0.8));
    const QPointF raised(2.5, -15);
    Shape(p, PolyPath({hingeLeft, hingeRight, hingeRight + raised, hingeLeft + raised}), kSteel);
    Line(p, QPointF(hingeLeft + raised * 0.85), QPointF(hingeRight + raised * 0.85), kYellow, 1.6);
    Missile(p, top.map(QPointF(0.5, 0.5)) + QPointF(0, 2), 30, 90, 6);
}

void Airfield(QPainter& p) {
    const QRectF slab(3, 41, 46, 7);
    Box(p, slab, 12, kAsphalt);
    p.save();
    p.setTransform(TopFace(slab, 12), true);
    for (qreal x = 0.08; x < 0.95; x += 0.16) Flat(p, RectPath({x, 0.46, 0.09, 0.08}), kWhite);
    Flat(p, RectPath({0.02, 0.12, 0.96, 0.05}), kYellow);
    Flat(p, RectPath({0.02, 0.83, 0.96, 0.05}), kYellow);
    p.restore();
    Box(p, {7, 20, 7, 21}, 4, kConcrete);
    Box(p, {5, 14, 11, 6}, 6, kSteelDark);
    Windows(p, {6, 15.5, 9, 3}, 2);
    Line(p, QPointF(11, 11), QPointF(11, 4), kInk, 0.9);
}

void PowerPlant(QPainter& p) {
    Foundation(p, 6, 50, 10);
    Box(p, {8, 30, 30, 19}, 10, kConcrete);
    Cylinder(p, 33, 12, 27, 3.6, kBrick);
    Cylinder(p, 20, 9, 28, 3.6, kBrick);
    for (const auto& [x, y] : {std::pair{20.0, 13.0}, std::pair{33.0, 16.0}})
        Flat(p, RectPath({x - 3.6, y, 7.2, 2}), kWhite);
    Smoke(p, {21, 6});
    Smoke(p, {34, 9});
    Bolt(p, {18, 34}, 11);
}

// A cooling tower: a waisted cylinder.
void CoolingTower(QPainter& p, qreal cx, qreal top, qreal bottom, qreal radius) {
    const qreal waist = radius * 0.78, ry = radius * 0.32;
    QPainterPath shell(QPointF(cx - radius * 0.9, top));
    shell.quadTo(cx - waist, (top + bottom) / 2, cx - radius, bottom);
    shell.arcTo(QRectF(cx - radius, bottom - ry, 2 * radius, 2 * ry), 180, 180);
    shell.quadTo(cx + waist, (top + bottom) / 2, cx + radius * 0.9, top);
    shell.closeSubpath();
    QLinearGradient shade(cx - radius, 0, cx + radius, 0);
    shade.setColorAt(0, kConcrete.lighter(120));
    shade.setColorAt(1, kConcrete.darker(140));
    Shape(p, shell, shade);
    Shape(p, EllipsePath({cx - radius * 0.9, top - ry * 0.9, radius * 1.8, ry * 1.8}), kConcreteDark.darker(140));
}

void AdvancedPowerPlant(QPainter& p) {
    Foundation(p, 3, 57, 10);
    CoolingTower(p, 45, 11, 48, 9);
    Smoke(p, {45, 7});
    Box(p, {5, 30, 28, 19}, 10, kConcrete);
    Bolt(p, {8, 33}, 12);
    Bolt(p, {19, 33}, 12);
}

void SovietTech(QPainter& p) {
    Foundation(p, 4, 52, 10);
    const QRectF front(7, 28, 34, 21);
    Box(p, front, 10, kSovietWall);
    const QTransform top = TopFace(front, 10);
    Shape(
        p,
        PolyPath({top.map(QPointF(0.1, 0.1)), top.map(QPointF(0.9, 0.1)), top.map(QPointF(0.5, 0.6)) + QPointF(0, -9)}),
        kSovietWall.lighter(130));
    Shape(
        p,
        PolyPath({top.map(QPointF(0.9, 0.1)), top.map(QPointF(0.9, 0.9)), top.map(QPointF(0.5, 0.6)) + QPointF(0, -9)}),
        kSovietWall.darker(110));
    Rod(p, {top.map(QPointF(0.5, 0.6)) + QPointF(0, -9), top.map(QPointF(0.5, 0.6)) + QPointF(0, -19)}, kSteelDark,
        1.1);
    Shape(p, CirclePath(top.map(QPointF(0.5, 0.6)) + QPointF(0, -19.5), 1.6), kRed);
    StarBadge(p, {24, 39}, 6.5);
    Windows(p, {10, 33, 6, 12}, 1, QColor(0xe0a040u));
    Windows(p, {32, 33, 6, 12}, 1, QColor(0xe0a040u));
}

void Barracks(QPainter& p) {
    Foundation(p, 4, 52, 10);
    const QRectF front(6, 33, 36, 16);
    Box(p, front, 10, QColor(0x6a7440u));
    GableRoof(p, front, 11, 10, kBrick, QColor(0x6a7440u));
    StarBadge(p, {24, 28.5}, 4);
    Shape(p, RectPath({20, 40, 8, 9}), kOliveDark);
    Windows(p, {10, 39, 7, 4}, 1);
    Windows(p, {31, 39, 7, 4}, 1);
}

void Tent(QPainter& p) {
    const QColor canvas(0xb8a56au);
    const QRectF front(6, 50, 36, 0);
    GableRoof(p, front, 26, 12, canvas.darker(112), canvas);
    Shape(p, PolyPath({{19, 50}, {24, 31}, {29, 50}}), QColor(0x3d3824u));
    Shape(p, PolyPath({{24, 31}, {29, 50}, {32, 50}}), canvas.lighter(112));
    const QPointF pole = QPointF(24, 24) + kDepth * 12;
    Rod(p, {pole, pole - QPointF(0, 11)}, kWoodDark, 1.2);
    Shape(p, PolyPath({pole - QPointF(0, 11), pole - QPointF(-9, 8.5), pole - QPointF(0, 6)}), kBlue);
    Line(p, QPointF(6, 50), QPointF(2, 53), kInk, 0.7);
    Line(p, QPointF(42, 50), QPointF(47, 53), kInk, 0.7);
}

void Kennel(QPainter& p) {
    Foundation(p, 8, 46, 8);
    const QRectF front(12, 34, 24, 15);
    Box(p, front, 8, kWood);
    GableRoof(p, front.adjusted(-2, 0, 2, 0), 10, 9, kBrickDark, kWood);
    QPainterPath door(QPointF(19, 49));
    door.lineTo(19, 42);
    door.arcTo(QRectF(19, 38, 10, 8), 180, -180);
    door.lineTo(29, 49);
    door.closeSubpath();
    Shape(p, door, QColor(0x2a1e12u));
    Shape(p, RectPath({20, 29, 8, 3}, 1.5), kSand);  // the name board
    Shape(p, EllipsePath({42, 45, 10, 5}), kRed);
    Flat(p, EllipsePath({43.5, 45.5, 7, 2.4}), kBrickDark);
}

void ServiceDepot(QPainter& p) {
    const QRectF slab(4, 41, 42, 7);
    Box(p, slab, 15, kAsphalt);
    const QTransform top = TopFace(slab, 15);
    Line(p, top.map(RectPath({0.06, 0.12, 0.88, 0.76})), kYellow, 1.2);
    const QPointF signFoot = top.map(QPointF(0.5, 0.75));
    Rod(p, {signFoot, signFoot - QPointF(0, 9)}, kSteelDark, 1.6);
    const QRectF sign(signFoot.x() - 10, signFoot.y() - 22, 20, 14);
    Shape(p, RectPath(sign, 1.5), kBlue);
    Shape(p, WrenchPath(sign.bottomLeft() + QPointF(4.5, -3.5), 10.5, 35, 2.2), kWhite);
    const QColor arm(0xd9a521u);
    for (const auto& [foot, towards] :
         {std::pair{top.map(QPointF(0.04, 0.2)), 1.0}, std::pair{top.map(QPointF(0.96, 0.2)), -1.0}}) {
        Rod(p, {foot, foot + QPointF(0, -15), foot + QPointF(towards * 8, -9)}, arm, 2.4);
        Shape(p, CirclePath(foot + QPointF(0, -15), 1.8), kSteelDark);
    }
}

void Sandbags(QPainter& p) {
    const QColor bag(0xbfa970u);
    for (int row = 0; row < 4; ++row)
        for (int i = 0; i < 5 - (row % 2); ++i) {
            const QRectF r(5 + i * 10.6 + (row % 2) * 5.3, 43 - row * 6, 11, 6.5);
            Shape(p, RectPath(r, 3.2), bag);
            Flat(p, RectPath({r.left() + 2, r.top() + 1, r.width() - 4, 1.4}, 0.7), bag.lighter(118));
        }
}

void ConcreteWall(QPainter& p) {
    const QRectF front(6, 26, 42, 23);
    Box(p, front, 10, kConcrete);
    for (int row = 1; row < 4; ++row)
        Line(p, QPointF(front.left(), front.top() + row * front.height() / 4),
             QPointF(front.right(), front.top() + row * front.height() / 4), kConcreteDark, 0.9);
    for (int row = 0; row < 4; ++row)
        for (qreal x = front.left() + (row % 2 ? 7 : 14); x < front.right(); x += 14)
            Line(p, QPointF(x, front.top() + row * front.height() / 4),
                 QPointF(x, front.top() + (row + 1) * front.height() / 4), kConcreteDark, 0.9);
}

void BarbedWire(QPainter& p) {
    for (qreal x : {10.0, 30.0, 50.0}) Rod(p, {{x, 51}, {x, 22}}, kWood, 2.6);
    for (qreal y : {25.0, 33.0, 41.0}) {
        QPainterPath strand(QPointF(6, y));
        strand.quadTo(20, y + 3, 30, y);
        strand.quadTo(40, y + 3, 56, y);
        Line(p, strand, kSteelLight, 0.9);
        for (qreal at = 0.06; at < 1; at += 0.1) {
            const QPointF barb = strand.pointAtPercent(at);
            Line(p, barb + QPointF(-1, -1.2), barb + QPointF(1, 1.2), kSteelLight, 0.8);
        }
    }
    for (qreal x = 6; x < 56; x += 6) Line(p, EllipsePath({x, 44, 9, 8}), kSteel, 0.9);
}

// "FAKE" stamped in the top left corner of a decoy building's picture.
void FakeStamp(QPainter& p) {
    p.save();
    p.translate(21, 13);
    p.rotate(-12);
    const QFont font = PixelFont(10, true);
    const qreal width = QFontMetricsF(font).horizontalAdvance(QStringLiteral("FAKE"));
    const QRectF box(-width / 2 - 3, -7.5, width + 6, 15);
    p.setPen(QPen(kRed, 1.6));
    p.setBrush(WithAlpha(kWhite, 150));
    p.drawRoundedRect(box, 2, 2);
    p.setFont(font);
    p.drawText(box, Qt::AlignCenter, QStringLiteral("FAKE"));
    p.restore();
}

// ---------------------------------------------------------------------------------------------
// Object pictures: the object on a rounded olive tile, like a unit cameo, with its INI name.

template <std::size_t Look>
void SoldierPicture(QPainter& p) {
    DrawSoldier(p, kSoldiers[Look]);
}

template <std::size_t Look>
void VehiclePicture(QPainter& p) {
    p.save();
    p.translate(5.6, 8.4);
    p.scale(1.65, 1.65);
    DrawVehicle(p, kVehicles[Look]);
    p.restore();
}

template <std::size_t Look>
void AircraftPicture(QPainter& p) {
    p.save();
    p.translate(31, 29);
    p.rotate(45);
    DrawAircraft(p, kAircraft[Look]);
    p.restore();
}

void Pillbox(QPainter& p) { Bunker(p, false); }
void CamouflagedPillbox(QPainter& p) { Bunker(p, true); }

using PicturePainter = void (*)(QPainter&);

// How the object's shadow falls: on the ground just behind it, far below it, or not at all.
enum class Shadow { Near, Far, None };

struct ObjectEntry {
    std::uint16_t id;
    const char* name;
    PicturePainter paint;
    Shadow shadow = Shadow::Near;
    bool fake = false;
};

const ObjectEntry kObjects[] = {
    {2100, "DOG", DrawDog},
    {2101, "E1", SoldierPicture<0>},
    {2103, "E3", SoldierPicture<1>},
    {2104, "E4", SoldierPicture<2>},
    {2105, "E6", SoldierPicture<3>},
    {2106, "SPY", SoldierPicture<4>},
    {2107, "THF", SoldierPicture<5>},
    {2108, "E7", SoldierPicture<6>},
    {2109, "MEDI", SoldierPicture<7>},
    {2201, "V2RL", VehiclePicture<0>},
    {2202, "1TNK", VehiclePicture<1>},
    {2203, "3TNK", VehiclePicture<2>},
    {2204, "2TNK", VehiclePicture<3>},
    {2205, "4TNK", VehiclePicture<4>},
    {2206, "MRJ", VehiclePicture<5>},
    {2207, "MGG", VehiclePicture<6>},
    {2208, "ARTY", VehiclePicture<7>},
    {2209, "HARV", VehiclePicture<8>},
    {2210, "MCV", VehiclePicture<9>},
    {2211, "JEEP", VehiclePicture<10>},
    {2212, "APC", VehiclePicture<11>},
    {2213, "MNLY", VehiclePicture<12>},
    {2215, "SS", DrawSubmarine, Shadow::None},
    {2216, "DD", DrawDestroyer, Shadow::None},
    {2217, "CA", DrawCruiser, Shadow::None},
    {2218, "LST", DrawTransport, Shadow::None},
    {2219, "PT", DrawGunBoat, Shadow::None},
    {2301, "IRON", IronCurtain},
    {2303, "ATEK", AlliedTech},
    {2304, "PDOX", Chronosphere},
    {2305, "WEAP", WarFactory},
    {2306, "SYRD", Shipyard, Shadow::None},
    {2307, "SPEN", SubPen, Shadow::None},
    {2308, "PBOX", Pillbox},
    {2309, "HBOX", CamouflagedPillbox},
    {2310, "TSLA", TeslaCoil},
    {2311, "GUN", GunTurret},
    {2312, "AGUN", AntiAircraftGun},
    {2313, "FTUR", FlameTurret},
    {2314, "FACT", ConstructionYard},
    {2316, "PROC", Refinery},
    {2317, "SILO", OreSilos},
    {2318, "HPAD", Helipad},
    {2319, "DOME", RadarDome},
    {2320, "GAP", GapGenerator},
    {2321, "SAM", SamSite},
    {2322, "MSLO", MissileSilo},
    {2323, "AFLD", Airfield},
    {2324, "POWR", PowerPlant},
    {2325, "APWR", AdvancedPowerPlant},
    {2326, "STEK", SovietTech},
    {2327, "BARR", Barracks},
    {2328, "TENT", Tent},
    {2329, "KENN", Kennel},
    {2330, "FIX", ServiceDepot},
    {2332, "SBAG", Sandbags},
    {2333, "BRIK", ConcreteWall},
    {2336, "BARB", BarbedWire},
    {2341, "FACF", ConstructionYard, Shadow::Near, true},
    {2342, "WEAF", WarFactory, Shadow::Near, true},
    {2343, "SYRF", Shipyard, Shadow::None, true},
    {2344, "SPEF", SubPen, Shadow::None, true},
    {2345, "DOMF", RadarDome, Shadow::Near, true},
    {2400, "BADR", AircraftPicture<0>, Shadow::Far},
    {2401, "U2", AircraftPicture<1>, Shadow::Far},
    {2402, "MIG", AircraftPicture<2>, Shadow::Far},
    {2403, "YAK", AircraftPicture<3>, Shadow::Far},
    {2405, "HELI", AircraftPicture<4>, Shadow::Far},
    {2406, "HIND", AircraftPicture<5>, Shadow::Far},
};

const ObjectEntry* FindObject(std::uint16_t id) {
    for (const ObjectEntry& entry : kObjects)
        if (entry.id == id) return &entry;
    return nullptr;
}

QPainterPath TilePath() { return RectPath({0.5, 0.5, 63, 63}, 7); }

void PaintTile(QPainter& p) {
    QLinearGradient shade(0, 0, 0, 64);
    shade.setColorAt(0, QColor(0x5a6633u));
    shade.setColorAt(1, QColor(0x232913u));
    p.setPen(QPen(QColor(0x15180cu), 1));
    p.setBrush(shade);
    p.drawPath(TilePath());
    p.setPen(QPen(WithAlpha(kWhite, 45), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(1.5, 1.5, 61, 61), 6, 6);
}

void PaintName(QPainter& p, const char* name) {
    const QFont font = PixelFont(9, true);
    const QString text = QString::fromLatin1(name);
    const qreal width = QFontMetricsF(font).horizontalAdvance(text) + 6;
    const QRectF plate(61 - width, 51, width, 11);
    p.setPen(Qt::NoPen);
    p.setBrush(WithAlpha(kBlack, 190));
    p.drawRoundedRect(plate, 2.5, 2.5);
    p.setFont(font);
    p.setPen(kSand);
    p.drawText(plate, Qt::AlignCenter, text);
}

QImage PaintObject(const ObjectEntry& entry) {
    QImage layer = Canvas(64, 64);
    {
        QPainter p(&layer);
        Prepare(p);
        p.setClipPath(TilePath());
        entry.paint(p);
        if (entry.fake) FakeStamp(p);
    }
    QImage image = Canvas(64, 64);
    QPainter p(&image);
    Prepare(p);
    PaintTile(p);
    p.setClipPath(TilePath());
    if (entry.shadow == Shadow::Near) p.drawImage(QPointF(2, 1.5), Silhouette(layer, WithAlpha(Qt::black, 90)));
    if (entry.shadow == Shadow::Far) p.drawImage(QPointF(5, 9), Silhouette(layer, WithAlpha(Qt::black, 70)));
    p.drawImage(0, 0, layer);
    p.setClipping(false);
    PaintName(p, entry.name);
    return image;
}

// ---------------------------------------------------------------------------------------------
// The application icon: a sheet of rules on an olive tile, with a red star badge. Drawn on a
// 128-unit grid and scaled; small sizes leave out the text lines.

QImage PaintAppIcon(int size) {
    QImage image = Canvas(size, size);
    QPainter p(&image);
    Prepare(p);
    p.scale(size / 128.0, size / 128.0);
    p.setPen(InkPen(size >= 64 ? 2 : 1));
    QLinearGradient shade(0, 6, 0, 122);
    shade.setColorAt(0, QColor(0x75823du));
    shade.setColorAt(1, QColor(0x353d1bu));
    Shape(p, RectPath({6, 6, 116, 116}, 24), shade);
    Shape(p, PolyPath({{28, 16}, {82, 16}, {100, 34}, {100, 112}, {28, 112}}), QColor(0xece2c0u));
    Shape(p, PolyPath({{82, 16}, {82, 34}, {100, 34}}), kKhaki);
    if (size >= 32) {
        Flat(p, RectPath({38, 30, 30, 8}, 2), kBrick);
        // key = value lines: the widths of each key and value
        constexpr qreal kLines[][2] = {{18, 26}, {12, 32}, {22, 20}, {14, 14}, {20, 8}};
        qreal y = 46;
        for (const auto& [key, value] : kLines) {
            Flat(p, RectPath({38, y, key, 5}, 2), kOliveDark);
            Flat(p, RectPath({38 + key + 5, y, value, 5}, 2), kOliveLight);
            y += 11;
        }
    } else {
        Flat(p, RectPath({38, 34, 36, 12}, 3), kBrick);
    }
    Shape(p, CirclePath({90, 90}, 27), kRed);
    Flat(p, StarPath({90, 91.5}, 19, 7.6), kSand);
    return image;
}

// ---------------------------------------------------------------------------------------------
// The splash picture: a tank on a ridge against a setting sun, the name and subtitle beside it.

QImage PaintSplash() {
    QImage image = Canvas(289, 140);
    QPainter p(&image);
    Prepare(p);
    QLinearGradient sky(0, 0, 0, 140);
    sky.setColorAt(0, QColor(0x262c15u));
    sky.setColorAt(0.55, QColor(0x4a5228u));
    sky.setColorAt(0.85, QColor(0x9a6a3au));
    p.fillRect(image.rect(), sky);
    QRadialGradient sun(QPointF(70, 98), 34);
    sun.setColorAt(0, QColor(0xf6cf6au));
    sun.setColorAt(1, QColor(0xd8763au));
    Flat(p, CirclePath({70, 98}, 30), sun);
    QPainterPath farHills(QPointF(0, 112));
    farHills.cubicTo(40, 96, 90, 118, 150, 104);
    farHills.cubicTo(200, 94, 250, 110, 289, 100);
    farHills.lineTo(289, 140);
    farHills.lineTo(0, 140);
    Flat(p, farHills, QColor(0x3b4320u));
    QPainterPath ridge(QPointF(0, 124));
    ridge.cubicTo(30, 104, 90, 104, 130, 118);
    ridge.cubicTo(180, 134, 240, 126, 289, 130);
    ridge.lineTo(289, 140);
    ridge.lineTo(0, 140);
    Flat(p, ridge, QColor(0x1d2210u));
    QImage tank = Canvas(289, 140);
    {
        QPainter t(&tank);
        Prepare(t);
        t.translate(34, 63);
        t.scale(1.9, 1.9);
        t.rotate(-3);
        DrawVehicle(t, kVehicles[3]);
    }
    p.drawImage(0, 0, Silhouette(tank, QColor(0x1d2210u)));
    // the name, as large as fits the space beside the picture
    const QRectF textArea(128, 22, 152, 60);
    QFont title = PixelFont(40, true);
    const qreal natural = QFontMetricsF(title).horizontalAdvance(QStringLiteral("Morvane"));
    if (natural > textArea.width()) title.setPixelSize(static_cast<int>(40 * textArea.width() / natural));
    p.setFont(title);
    p.setPen(WithAlpha(Qt::black, 150));
    p.drawText(textArea.translated(2, 2), Qt::AlignLeft | Qt::AlignBottom, QStringLiteral("Morvane"));
    p.setPen(kSand);
    p.drawText(textArea, Qt::AlignLeft | Qt::AlignBottom, QStringLiteral("Morvane"));
    Flat(p, RectPath({textArea.left() + 2, textArea.bottom() + 5, textArea.width() - 4, 3}), kBrick.lighter(115));
    p.setFont(PixelFont(12, false));
    p.setPen(kKhaki);
    p.drawText(QRectF(textArea.left() + 2, textArea.bottom() + 12, textArea.width(), 18),
               Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Rules editor for Red Alert"));
    p.setPen(QPen(kInk, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, 288, 139));
    p.setPen(QPen(WithAlpha(kWhite, 40), 1));
    p.drawRect(QRectF(1.5, 1.5, 286, 137));
    return image;
}

}  // namespace

void SetScale(qreal scale) { g_scale = scale; }
qreal CurrentScale() { return g_scale; }

QImage PaintTreeImage(int index) { return PaintSmallImage(kTreeImages.at(static_cast<std::size_t>(index))); }

QImage PaintFolderPickerImage(int index) {
    return PaintSmallImage(kFolderPickerImages.at(static_cast<std::size_t>(index)));
}

std::vector<std::uint16_t> PaintedObjectIds() {
    std::vector<std::uint16_t> ids;
    for (const ObjectEntry& entry : kObjects) ids.push_back(entry.id);
    return ids;
}

QImage PaintObjectPicture(std::uint16_t objectId) {
    const ObjectEntry* entry = FindObject(objectId);
    return entry == nullptr ? QImage() : PaintObject(*entry);
}

QImage PaintApplicationIcon(int size) { return PaintAppIcon(size); }

QImage PaintSplashPicture() { return PaintSplash(); }

}  // namespace morvane::artwork
