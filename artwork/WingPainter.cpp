#include "artwork/WingPainter.h"

#include <QLinearGradient>
#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
constexpr double degree = std::numbers::pi / 180;
// How much of the depth axis shows as height: the viewer looks from a little above.
constexpr double depthShows = 0.28;
constexpr double span = 150; // farthest reach of a feather tip, in the wing's plane
constexpr int steps = 48;
constexpr double scale = 0.9; // the wing's size against the body

double smooth(double t)
{
    t = std::clamp(t, 0.0, 1.0);
    return t * t * (3 - 2 * t);
}
}

WingPainter::WingPainter(QPointF hinge, Side side, const FlightPose& pose)
    : hinge(hinge)
    , side(side)
    , pose(pose)
{
}

QPointF WingPainter::map(double x, double s) const
{
    // Height gained along the span, integrated because the elevation bends
    // from the shoulder's to the hand's.
    const double depth = side == Side::Near ? depthShows : -depthShows;
    x *= scale;
    s *= scale;
    const double sClamped = std::clamp(s, 0.0, span);
    const double ds = sClamped / steps;
    double y = 0;
    for (int i = 0; i < steps; ++i) {
        const double at = (i + 0.5) * ds;
        const double elevation
            = (pose.wingElevation + (pose.handElevation - pose.wingElevation) * smooth((at - 30) / 55)) * degree;
        y += (-std::sin(elevation) + depth * std::cos(elevation)) * ds;
    }
    // The wing sweeps back (to the right: the toaster faces left).
    const double sweep = 0.42 * s + 0.0022 * s * s;
    return { hinge.x() + x + sweep, hinge.y() + y };
}

QPainterPath WingPainter::project(QPainterPath local) const
{
    for (int i = 0; i < local.elementCount(); ++i) {
        const auto e = local.elementAt(i);
        const QPointF m = map(e.x, e.y);
        local.setElementPositionAt(i, m.x(), m.y());
    }
    return local;
}

QColor WingPainter::shaded(const QColor& colour) const
{
    if (side == Side::Near)
        return colour;
    const double f = 0.74;
    return QColor::fromRgbF(colour.redF() * f, colour.greenF() * f, colour.blueF() * f, colour.alphaF());
}

void WingPainter::paintFeather(QPainter& painter, QPointF root, double angle, double length, double width) const
{
    // A long teardrop, its leading vane narrower than its trailing one.
    QPainterPath feather;
    feather.moveTo(0, -width * 0.22);
    feather.cubicTo(length * 0.3, -width * 0.42, length * 0.78, -width * 0.40, length, 0);
    feather.cubicTo(length * 0.8, width * 0.62, length * 0.3, width * 0.58, 0, width * 0.25);
    feather.closeSubpath();
    QPainterPath shaft;
    shaft.moveTo(0, 0);
    shaft.quadTo(length * 0.5, width * 0.04, length * 0.86, width * 0.02);

    // angle: 0 points back along the body, 90 straight out along the span.
    QTransform place;
    place.translate(root.x(), root.y());
    place.rotate(angle);
    const QPainterPath outline = project(place.map(feather));
    const QPointF base = map(root.x(), root.y());
    const QPointF tip = map(root.x() + length * std::cos(angle * degree), root.y() + length * std::sin(angle * degree));

    QLinearGradient fill(base, tip);
    fill.setColorAt(0, shaded(QColor(255, 255, 255)));
    fill.setColorAt(0.6, shaded(QColor(238, 240, 248)));
    fill.setColorAt(1, shaded(QColor(196, 202, 220)));
    painter.setBrush(fill);
    painter.setPen(QPen(shaded(QColor(100, 106, 130, 230)), 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(outline);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(shaded(QColor(170, 176, 196, 200)), 1.1, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(project(place.map(shaft)));
}

void WingPainter::paintCoverts(QPainter& painter) const
{
    // The arm: a rounded leading edge with a scalloped row of small feathers behind it.
    QPainterPath arm;
    arm.moveTo(-4, 0);
    arm.cubicTo(-7, 30, -6, 62, 2, 84);
    arm.quadTo(8, 96, 14, 84);
    const int scallops = 7;
    for (int i = 0; i < scallops; ++i) {
        const double s0 = 84 - 84.0 * i / scallops;
        const double s1 = 84 - 84.0 * (i + 1) / scallops;
        const double depth = 16 + 14 * (double(i + 1) / scallops);
        arm.quadTo(depth + 8, (s0 + s1) / 2, depth - 2, s1);
    }
    arm.lineTo(-4, 0);
    arm.closeSubpath();
    const QPainterPath outline = project(arm);

    QLinearGradient fill(map(-4, 40), map(30, 40));
    fill.setColorAt(0, shaded(QColor(255, 255, 255)));
    fill.setColorAt(0.7, shaded(QColor(242, 243, 250)));
    fill.setColorAt(1, shaded(QColor(214, 218, 232)));
    painter.setBrush(fill);
    painter.setPen(QPen(shaded(QColor(88, 94, 116, 230)), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(outline);

    // A soft sheen along the leading edge.
    QPainterPath edge;
    edge.moveTo(-1, 6);
    edge.cubicTo(-3, 32, -2, 60, 5, 80);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(255, 255, 255, side == Side::Near ? 200 : 120), 2.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(project(edge));
}

void WingPainter::paint(QPainter& painter) const
{
    painter.save();
    // Primaries fan out from the hand, the outermost pointing almost along the span.
    const int primaries = 7;
    for (int j = primaries - 1; j >= 0; --j) {
        const double fan = (j - (primaries - 1) / 2.0) * (2 + 5 * pose.spread);
        const double angle = 50 + 6.5 * j + fan;
        const double length = 50 + 3.5 * j + 6 * pose.spread;
        paintFeather(painter, QPointF(8, 50 + 4.5 * j), angle, length, 21);
    }
    // Secondaries hang back from the arm.
    const int secondaries = 7;
    for (int i = secondaries - 1; i >= 0; --i) {
        const double angle = 12 + 4.5 * i + pose.spread * 1.5 * i;
        paintFeather(painter, QPointF(12, 5 + 7.5 * i), angle, 45 + 2 * i, 21);
    }
    paintCoverts(painter);
    painter.restore();
}
