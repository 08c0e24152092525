// The small pictures that say what kind of value a key of the tree holds. They are plain signs
// on a coloured tile, so that each kind reads at a glance at 16 pixels and stays crisp at 32.
#include <QPainter>
#include <QPainterPath>

#include <cmath>

#include "ArtworkPainter.h"

namespace morvane::artwork {
namespace {

constexpr int kSide = 16;

const QColor kEdge(0x1d2114u);
const QColor kPaper(0xfbf8eeu);

QPen Stroke(const QColor& colour, qreal width) {
    QPen pen(colour, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

// A rounded tile of `fill` with a dark edge, the ground of most kinds.
void Tile(QPainter& p, const QColor& fill) {
    p.setPen(Stroke(fill.darker(170), 1));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 2.5, 2.5);
}

// "#": a whole or a real number.
void Number(QPainter& p) {
    Tile(p, QColor(0x2f6cd0u));
    p.setPen(Stroke(kPaper, 1.6));
    p.drawLine(QPointF(6.6, 4.2), QPointF(5.6, 11.8));
    p.drawLine(QPointF(10.4, 4.2), QPointF(9.4, 11.8));
    p.drawLine(QPointF(4.0, 6.5), QPointF(12.2, 6.5));
    p.drawLine(QPointF(3.8, 9.5), QPointF(12.0, 9.5));
}

// A ticked box: yes or no, true or false.
void YesNo(QPainter& p) {
    p.setPen(Stroke(kEdge, 1));
    p.setBrush(kPaper);
    p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 2, 2);
    p.setPen(Stroke(QColor(0x2f8f2fu), 2.2));
    QPainterPath tick(QPointF(4.2, 8.4));
    tick.lineTo(6.9, 11.0);
    tick.lineTo(11.8, 4.6);
    p.setBrush(Qt::NoBrush);
    p.drawPath(tick);
}

// "%": a share of something.
void Percentage(QPainter& p) {
    Tile(p, QColor(0xe07a1fu));
    p.setPen(Stroke(kPaper, 1.6));
    p.drawLine(QPointF(11.2, 4.2), QPointF(4.8, 11.8));
    p.setPen(Stroke(kPaper, 1.3));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(5.4, 5.4), 1.5, 1.5);
    p.drawEllipse(QPointF(10.6, 10.6), 1.5, 1.5);
}

// Three bulleted lines: one or several names out of a list.
void List(QPainter& p) {
    p.setPen(Stroke(kEdge, 1));
    p.setBrush(kPaper);
    p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 2, 2);
    for (const qreal y : {4.8, 8.0, 11.2}) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x7a4fb0u));
        p.drawEllipse(QPointF(4.6, y), 1.2, 1.2);
        p.setPen(Stroke(QColor(0x4f5b66u), 1.4));
        p.drawLine(QPointF(7.0, y), QPointF(12.0, y));
    }
}

// A shield: how much damage each armour class takes.
void Armour(QPainter& p) {
    QPainterPath shield(QPointF(8, 1.2));
    shield.cubicTo(QPointF(10.2, 2.6), QPointF(12.4, 3.0), QPointF(14.2, 3.0));
    shield.cubicTo(QPointF(14.4, 9.0), QPointF(11.8, 12.8), QPointF(8, 14.8));
    shield.cubicTo(QPointF(4.2, 12.8), QPointF(1.6, 9.0), QPointF(1.8, 3.0));
    shield.cubicTo(QPointF(3.6, 3.0), QPointF(5.8, 2.6), QPointF(8, 1.2));
    p.setPen(Stroke(kEdge, 1));
    p.setBrush(QColor(0x8797a4u));
    p.drawPath(shield);
    // The right half lighter, a band across: metal catching the light.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xc3ced6u));
    p.drawPath(shield.intersected(QPainterPath([] {
        QPainterPath half;
        half.addRect(8, 0, 8, 16);
        return half;
    }())));
    p.setPen(Stroke(kEdge, 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shield);
    p.setPen(Stroke(QColor(0xd8362au), 1.6));
    p.drawLine(QPointF(8, 3.4), QPointF(8, 12.6));
}

// A wooden crate with a cross brace: what a crate holds and how often.
void Crate(QPainter& p) {
    const QColor wood(0xb07a3cu);
    p.setPen(Stroke(kEdge, 1));
    p.setBrush(wood);
    p.drawRect(QRectF(1.5, 2.5, 13, 12));
    p.setPen(Stroke(wood.darker(160), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(3.5, 4.5, 9, 8));
    p.setPen(Stroke(QColor(0xe6dab0u), 1.5));
    p.drawLine(QPointF(4.2, 5.2), QPointF(11.8, 11.8));
    p.drawLine(QPointF(11.8, 5.2), QPointF(4.2, 11.8));
}

}  // namespace

QImage PaintKindIcon(art::KindIcon kind) {
    QImage image(kSide * static_cast<int>(std::lround(CurrentScale())),
                 kSide * static_cast<int>(std::lround(CurrentScale())), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(CurrentScale(), CurrentScale());
    switch (kind) {
        case art::KindIcon::Number:
            Number(p);
            break;
        case art::KindIcon::YesNo:
            YesNo(p);
            break;
        case art::KindIcon::Percentage:
            Percentage(p);
            break;
        case art::KindIcon::List:
            List(p);
            break;
        case art::KindIcon::Armour:
            Armour(p);
            break;
        case art::KindIcon::Crate:
            Crate(p);
            break;
    }
    return image;
}

}  // namespace morvane::artwork
