#include "section_pictures.h"

#include <cmath>
#include <numbers>

#include <QPainter>
#include <QPainterPath>

#include "ui_common.h"

namespace tarvelo::ui {
namespace {

// Every picture is drawn in a box of its own, scaled to the widget keeping its proportions.
QSizeF Box(SectionPictureKind kind) {
    switch (kind) {
        case SectionPictureKind::VertexNumbering:
        case SectionPictureKind::BarNumbering:
            return {140, 140};
        default:
            return {190, 170};
    }
}

const QColor kConcrete(205, 205, 205);
const QColor kDimension(0, 0, 160);
const QColor kAxis(160, 0, 0);

void Arrowhead(QPainter& p, QPointF tip, QPointF from, double size) {
    ui::Arrowhead(p, tip, from, size, 0.4);
}

// A dimension line with arrows at both ends and its text beside the middle.
void Dimension(QPainter& p, QPointF a, QPointF b, const QString& text, QPointF textOffset) {
    p.save();
    p.setPen(QPen(kDimension, 0.8));
    p.drawLine(a, b);
    Arrowhead(p, a, b, 5);
    Arrowhead(p, b, a, 5);
    const QPointF mid = (a + b) / 2 + textOffset;
    const QRectF box(mid.x() - 20, mid.y() - 8, 40, 16);
    p.drawText(box, Qt::AlignCenter, text);
    p.restore();
}

// Thin extension line from the section to a dimension line.
void Extension(QPainter& p, QPointF a, QPointF b) {
    p.save();
    p.setPen(QPen(kDimension, 0.5, Qt::DashLine));
    p.drawLine(a, b);
    p.restore();
}

void Axes(QPainter& p, QPointF origin, double length) {
    p.save();
    p.setPen(QPen(kAxis, 1.0));
    const QPointF xEnd = origin + QPointF(length, 0);
    const QPointF yEnd = origin + QPointF(0, -length);
    p.drawLine(origin, xEnd);
    p.drawLine(origin, yEnd);
    Arrowhead(p, xEnd, origin, 5);
    Arrowhead(p, yEnd, origin, 5);
    p.drawText(QRectF(xEnd.x() + 2, xEnd.y() - 8, 12, 16), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("x"));
    p.drawText(QRectF(yEnd.x() - 6, yEnd.y() - 16, 12, 14), Qt::AlignCenter, QStringLiteral("y"));
    p.restore();
}

void Bar(QPainter& p, QPointF centre, double radius = 3.0) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawEllipse(centre, radius, radius);
    p.restore();
}

void DrawRectangular(QPainter& p, bool hollow) {
    const QRectF outer(42, 14, 100, 122);
    QPainterPath section;
    section.addRect(outer);
    const QRectF opening(62, 38, 60, 74);
    if (hollow) section.addRect(opening);
    section.setFillRule(Qt::OddEvenFill);
    p.setPen(QPen(Qt::black, 1.2));
    p.setBrush(kConcrete);
    p.drawPath(section);
    const double c = 8;  // cover of the sketched bars
    for (QPointF bar : {outer.topLeft() + QPointF(c, c), outer.topRight() + QPointF(-c, c),
                        outer.bottomLeft() + QPointF(c, -c), outer.bottomRight() + QPointF(-c, -c),
                        QPointF(outer.left() + c, outer.center().y()),
                        QPointF(outer.right() - c, outer.center().y())}) {
        Bar(p, bar);
    }
    // hx below, hy on the right.
    Extension(p, outer.bottomLeft(), outer.bottomLeft() + QPointF(0, 18));
    Extension(p, outer.bottomRight(), outer.bottomRight() + QPointF(0, 18));
    Dimension(p, outer.bottomLeft() + QPointF(0, 15), outer.bottomRight() + QPointF(0, 15),
              QStringLiteral("hx"), QPointF(0, 11));
    Extension(p, outer.topRight(), outer.topRight() + QPointF(18, 0));
    Extension(p, outer.bottomRight(), outer.bottomRight() + QPointF(18, 0));
    Dimension(p, outer.topRight() + QPointF(15, 0), outer.bottomRight() + QPointF(15, 0),
              QStringLiteral("hy"), QPointF(24, 0));
    if (hollow) {
        Dimension(p, QPointF(opening.left(), opening.top() + 12),
                  QPointF(opening.right(), opening.top() + 12), QStringLiteral("bx"),
                  QPointF(-6, 11));
        Dimension(p, QPointF(opening.right() - 10, opening.top()),
                  QPointF(opening.right() - 10, opening.bottom()), QStringLiteral("by"),
                  QPointF(-15, 16));
    }
    Axes(p, outer.bottomLeft(), 30);
    p.setPen(kAxis);
    p.drawText(QRectF(0, outer.bottom() + 2, outer.left() - 3, 16), Qt::AlignRight | Qt::AlignTop,
               QStringLiteral("(0,0)"));
}

void DrawCircular(QPainter& p, bool hollow) {
    const QPointF centre(95, 74);
    const double radius = 60;
    const double inner = 28;
    const double barRadius = radius - 10;
    QPainterPath section;
    section.addEllipse(centre, radius, radius);
    if (hollow) section.addEllipse(centre, inner, inner);
    section.setFillRule(Qt::OddEvenFill);
    p.setPen(QPen(Qt::black, 1.2));
    p.setBrush(kConcrete);
    p.drawPath(section);
    constexpr int kBars = 8;
    for (int j = 0; j < kBars; ++j) {
        const double angle = 2 * std::numbers::pi * j / kBars;
        Bar(p, centre + QPointF(barRadius * std::cos(angle), -barRadius * std::sin(angle)));
    }
    // Outer diameter below the section.
    const double y = centre.y() + radius + 12;
    Extension(p, centre + QPointF(-radius, 0), QPointF(centre.x() - radius, y + 3));
    Extension(p, centre + QPointF(radius, 0), QPointF(centre.x() + radius, y + 3));
    Dimension(p, QPointF(centre.x() - radius, y), QPointF(centre.x() + radius, y),
              hollow ? QStringLiteral("De") : QStringLiteral("D"), QPointF(0, 11));
    if (hollow) {
        Dimension(p, centre + QPointF(-inner, 13), centre + QPointF(inner, 13),
                  QStringLiteral("Di"), QPointF(-14, -11));
    }
    // Cover d': from the outer face to the centre of the top-right bar, along its radius.
    const double angle = std::numbers::pi / 4;
    const QPointF dir(std::cos(angle), -std::sin(angle));
    const QPointF face = centre + dir * radius;
    const QPointF barCentre = centre + dir * barRadius;
    p.save();
    p.setPen(QPen(kDimension, 0.8));
    p.drawLine(face + dir * 16, barCentre);
    Arrowhead(p, barCentre, face, 5);
    Arrowhead(p, face, face + dir * 16, 5);
    p.drawText(QRectF(face.x() + 12, face.y() - 22, 26, 16), Qt::AlignLeft, QStringLiteral("d'"));
    p.restore();
    Axes(p, centre, 30);
}

// An L-shaped section, 60 x 60 with legs 20 thick, drawn at 1.75 units per unit.
QPointF L(double x, double y) {
    return {15 + 1.75 * x, 120 - 1.75 * y};
}

QPolygonF NumberingOutline() {
    return QPolygonF({L(0, 0), L(60, 0), L(60, 20), L(20, 20), L(20, 60), L(0, 60)});
}

void Label(QPainter& p, QPointF centre, const QString& text, const QColor& colour) {
    p.setPen(colour);
    p.drawText(QRectF(centre.x() - 9, centre.y() - 8, 18, 16), Qt::AlignCenter, text);
}

void DrawVertexNumbering(QPainter& p) {
    p.setPen(QPen(Qt::black, 1.2));
    p.setBrush(kConcrete);
    p.drawPolygon(NumberingOutline());
    const QPointF labels[] = {L(0, 0) + QPointF(-7, 9),   L(60, 0) + QPointF(8, 9),
                              L(60, 20) + QPointF(8, -8), L(20, 20) + QPointF(9, -8),
                              L(20, 60) + QPointF(9, -6), L(0, 60) + QPointF(-7, -6)};
    int number = 1;
    for (QPointF at : labels)
        Label(p, at, QString::number(number++), Qt::black);
    // Counter-clockwise arrow inside the corner of the section.
    p.setPen(QPen(kDimension, 1.4));
    p.setBrush(Qt::NoBrush);
    const QPointF centre = L(10, 10);
    const double r = 11;
    p.drawArc(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r), 200 * 16, 260 * 16);
    const double end = (200.0 + 260.0) * std::numbers::pi / 180.0;
    const QPointF tip(centre.x() + r * std::cos(end), centre.y() - r * std::sin(end));
    const QPointF tangent(-std::sin(end), -std::cos(end));  // counter-clockwise on the screen
    Arrowhead(p, tip, tip - tangent * 6, 6);
}

void DrawBarNumbering(QPainter& p) {
    p.setPen(QPen(Qt::black, 1.2));
    p.setBrush(kConcrete);
    p.drawPolygon(NumberingOutline());
    const QPointF bars[] = {L(4, 4),   L(32, 4),  L(56, 4), L(56, 16),
                            L(16, 16), L(16, 56), L(4, 56), L(4, 32)};
    const QPointF offsets[] = {QPointF(0, 15),  QPointF(0, 15), QPointF(0, 15),  QPointF(0, -15),
                               QPointF(15, -9), QPointF(15, 0), QPointF(-15, 0), QPointF(-15, 0)};
    for (int i = 0; i < 8; ++i) {
        Bar(p, bars[i], 3.4);
        Label(p, bars[i] + offsets[i], QString::number(i + 1), kDimension);
    }
}

}  // namespace

SectionPicture::SectionPicture(SectionPictureKind kind, QWidget* parent)
    : QWidget(parent), kind_(kind) {
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    setMinimumSize(90, 72);
}

void SectionPicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(150, 150, 150), 1));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    const QSizeF box = Box(kind_);
    const double scale = std::min(width() / box.width(), height() / box.height());
    p.translate((width() - box.width() * scale) / 2, (height() - box.height() * scale) / 2);
    p.scale(scale, scale);
    QFont font = p.font();
    font.setPixelSize(static_cast<int>(std::lround(13 / std::min(scale, 1.0))));
    font.setItalic(true);
    p.setFont(font);
    switch (kind_) {
        case SectionPictureKind::RectangularSolid:
            DrawRectangular(p, false);
            break;
        case SectionPictureKind::RectangularHollow:
            DrawRectangular(p, true);
            break;
        case SectionPictureKind::CircularSolid:
            DrawCircular(p, false);
            break;
        case SectionPictureKind::CircularHollow:
            DrawCircular(p, true);
            break;
        case SectionPictureKind::VertexNumbering:
            DrawVertexNumbering(p);
            break;
        case SectionPictureKind::BarNumbering:
            DrawBarNumbering(p);
            break;
    }
}

}  // namespace tarvelo::ui
