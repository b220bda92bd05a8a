#include "artwork/ToasterPainter.h"

#include "artwork/LightBarPainter.h"
#include "artwork/ToastPainter.h"
#include "artwork/WingPainter.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <cmath>
#include <numbers>

namespace {
// The body, in picture pixels before the flight tilt.
const QRectF side(40, 128, 152, 80);
const QRectF top(48, 104, 136, 34);
const QRectF farSlot(68, 110, 96, 5);
const QRectF nearSlot(62, 121, 108, 5.5);
const QRectF plinth(50, 200, 132, 14);
const QPointF nearHinge(104, 131);
const QPointF farHinge(118, 111);
const QPointF tiltCentre(120, 160);
constexpr double tilt = -9; // nose down: it flies down and to the left
const QColor outlineColour(58, 64, 78);
constexpr double fit = 0.86; // the whole sprite within the picture, wings included
}

ToasterPainter::ToasterPainter(Livery livery)
    : livery(livery)
{
}

void ToasterPainter::paintTop(QPainter& painter) const
{
    QLinearGradient fill(top.topLeft(), top.bottomLeft());
    if (livery == Livery::Chrome) {
        fill.setColorAt(0, QColor(150, 160, 174));
        fill.setColorAt(0.35, QColor(236, 241, 247));
        fill.setColorAt(1, QColor(176, 186, 200));
    } else {
        fill.setColorAt(0, QColor(60, 90, 170));
        fill.setColorAt(0.35, QColor(190, 208, 245));
        fill.setColorAt(1, QColor(90, 120, 200));
    }
    painter.setBrush(fill);
    painter.setPen(QPen(outlineColour, 2));
    painter.drawRoundedRect(top, 13, 13);
}

void ToasterPainter::paintSlot(QPainter& painter, const QRectF& slot, double toastRise, double light) const
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(24, 26, 32));
    painter.drawRoundedRect(slot, slot.height() / 2, slot.height() / 2);
    if (toastRise > 0) {
        // The top of a slice standing in the slot; the slot's front lip hides the rest.
        painter.save();
        painter.setClipRect(QRectF(slot.left() - 4, 0, slot.width() + 8, slot.center().y()));
        const double scale = slot.width() * 0.46;
        QTransform place;
        place.translate(slot.center().x(), slot.center().y() - toastRise + 1.0 * scale);
        place.scale(scale, scale * 0.95);
        const QPainterPath slice = place.map(ToastPainter::sliceOutline());
        QLinearGradient bread(0, slot.center().y() - toastRise, 0, slot.center().y());
        const auto lit
            = [light](int r, int g, int b) { return QColor(int(r * light), int(g * light), int(b * light)); };
        bread.setColorAt(0, lit(214, 150, 70));
        bread.setColorAt(0.35, lit(244, 204, 120));
        bread.setColorAt(1, lit(190, 130, 60));
        painter.setBrush(bread);
        painter.setPen(QPen(QColor(140, 78, 28), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPath(slice);
        painter.restore();
    }
    // The lip in front of the slot catches the light.
    painter.setPen(QPen(QColor(255, 255, 255, 170), 1.2));
    painter.drawLine(QPointF(slot.left() + 3, slot.bottom() + 0.8), QPointF(slot.right() - 3, slot.bottom() + 0.8));
}

void ToasterPainter::paintSide(QPainter& painter) const
{
    // Chrome mirrors the sky above the horizon and the ground below it.
    QLinearGradient fill(side.topLeft(), side.bottomLeft());
    if (livery == Livery::Chrome) {
        fill.setColorAt(0, QColor(246, 249, 252));
        fill.setColorAt(0.10, QColor(222, 230, 239));
        fill.setColorAt(0.38, QColor(150, 163, 180));
        fill.setColorAt(0.50, QColor(84, 94, 110));
        fill.setColorAt(0.55, QColor(214, 221, 229));
        fill.setColorAt(0.75, QColor(140, 150, 164));
        fill.setColorAt(0.92, QColor(206, 214, 223));
        fill.setColorAt(1, QColor(110, 120, 134));
    } else {
        fill.setColorAt(0, QColor(200, 216, 250));
        fill.setColorAt(0.12, QColor(80, 120, 220));
        fill.setColorAt(0.45, QColor(28, 58, 150));
        fill.setColorAt(0.55, QColor(110, 150, 240));
        fill.setColorAt(0.80, QColor(30, 62, 160));
        fill.setColorAt(1, QColor(18, 38, 110));
    }
    painter.setBrush(fill);
    painter.setPen(QPen(outlineColour, 2.2));
    painter.drawRoundedRect(side, 18, 18);

    painter.save();
    QPainterPath body;
    body.addRoundedRect(side.adjusted(1, 1, -1, -1), 17, 17);
    painter.setClipPath(body);
    painter.setPen(Qt::NoPen);
    if (livery == Livery::Police) {
        // A white band along the side, between thin dark lines.
        const QRectF band(side.left(), side.top() + 36, side.width(), 17);
        QLinearGradient white(band.topLeft(), band.bottomLeft());
        white.setColorAt(0, QColor(255, 255, 255));
        white.setColorAt(1, QColor(206, 214, 230));
        painter.setBrush(white);
        painter.drawRect(band);
        painter.setBrush(QColor(14, 26, 70));
        painter.drawRect(QRectF(band.left(), band.top() - 1.5, band.width(), 1.5));
        painter.drawRect(QRectF(band.left(), band.bottom(), band.width(), 1.5));
    }
    // The rounded ends fall into shadow.
    QLinearGradient ends(side.topLeft(), side.topRight());
    ends.setColorAt(0, QColor(0, 0, 0, 90));
    ends.setColorAt(0.1, QColor(0, 0, 0, 0));
    ends.setColorAt(0.86, QColor(0, 0, 0, 0));
    ends.setColorAt(1, QColor(0, 0, 0, 110));
    painter.setBrush(ends);
    painter.drawRect(side);
    // A soft vertical highlight near the front.
    QLinearGradient sheen(QPointF(side.left() + 14, 0), QPointF(side.left() + 34, 0));
    sheen.setColorAt(0, QColor(255, 255, 255, 0));
    sheen.setColorAt(0.5, QColor(255, 255, 255, 150));
    sheen.setColorAt(1, QColor(255, 255, 255, 0));
    painter.setBrush(sheen);
    painter.drawRect(QRectF(side.left() + 14, side.top(), 20, side.height()));
    painter.restore();
}

void ToasterPainter::paintLever(QPainter& painter) const
{
    // The groove, the lever knob and the browning dial, at the back end.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(30, 34, 42));
    painter.drawRoundedRect(QRectF(168, 142, 5, 50), 2.5, 2.5);

    const QRectF knob(160, 152, 26, 11);
    QLinearGradient knobFill(knob.topLeft(), knob.bottomLeft());
    knobFill.setColorAt(0, QColor(110, 116, 126));
    knobFill.setColorAt(0.3, QColor(40, 44, 52));
    knobFill.setColorAt(1, QColor(14, 16, 20));
    painter.setBrush(knobFill);
    painter.setPen(QPen(QColor(10, 12, 16), 1.4));
    painter.drawRoundedRect(knob, 4.5, 4.5);

    const QPointF dial(150, 190);
    QRadialGradient dialFill(dial - QPointF(2, 2), 8);
    dialFill.setColorAt(0, QColor(120, 126, 136));
    dialFill.setColorAt(1, QColor(20, 22, 28));
    painter.setBrush(dialFill);
    painter.drawEllipse(dial, 6.5, 6.5);
    painter.setPen(QPen(QColor(235, 235, 235), 1.6, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(dial, dial + QPointF(-3, -4));
}

void ToasterPainter::paintBadge(QPainter& painter) const
{
    // A gold star on the white band.
    const QPointF centre(78, 172.5);
    QPainterPath star;
    for (int i = 0; i < 10; ++i) {
        const double r = i % 2 == 0 ? 11.0 : 4.6;
        const double a = (-90 + 36 * i) * std::numbers::pi / 180;
        const QPointF point = centre + QPointF(r * std::cos(a), r * std::sin(a));
        if (i == 0)
            star.moveTo(point);
        else
            star.lineTo(point);
    }
    star.closeSubpath();
    QRadialGradient gold(centre - QPointF(3, 4), 13);
    gold.setColorAt(0, QColor(255, 244, 170));
    gold.setColorAt(0.6, QColor(236, 184, 48));
    gold.setColorAt(1, QColor(170, 112, 20));
    painter.setBrush(gold);
    painter.setPen(QPen(QColor(120, 76, 10), 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(star);
}

void ToasterPainter::paint(QPainter& painter, const FlightPose& pose, double redLight) const
{
    painter.save();
    // The upward stroke needs most of the picture's height.
    painter.translate(128, 128);
    painter.scale(fit, fit);
    painter.translate(-128, -128 + 31 + pose.bob);
    painter.translate(tiltCentre);
    painter.rotate(tilt - pose.pitch);
    painter.translate(-tiltCentre);

    WingPainter(farHinge, WingPainter::Side::Far, pose).paint(painter);

    // The plinth of dark plastic under the chrome.
    QLinearGradient base(plinth.topLeft(), plinth.bottomLeft());
    base.setColorAt(0, QColor(70, 74, 82));
    base.setColorAt(1, QColor(22, 24, 28));
    painter.setBrush(base);
    painter.setPen(QPen(QColor(12, 12, 14), 1.5));
    painter.drawRoundedRect(plinth, 6, 6);

    paintTop(painter);
    const bool toast = livery == Livery::Chrome;
    paintSlot(painter, farSlot, toast ? 12 : 0, 0.82);
    paintSlot(painter, nearSlot, toast ? 15 : 0, 1.0);
    paintSide(painter);
    paintLever(painter);
    if (livery == Livery::Police) {
        paintBadge(painter);
        LightBarPainter(QRectF(56, 106, 58, 10), redLight).paint(painter);
    }

    WingPainter(nearHinge, WingPainter::Side::Near, pose).paint(painter);
    painter.restore();
}
