#include "artwork/LightBarPainter.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {
QColor mixed(const QColor& a, const QColor& b, double t)
{
    return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t, a.greenF() + (b.greenF() - a.greenF()) * t,
        a.blueF() + (b.blueF() - a.blueF()) * t, a.alphaF() + (b.alphaF() - a.alphaF()) * t);
}
}

LightBarPainter::LightBarPainter(const QRectF& base, double red)
    : base(base)
    , red(red)
{
}

void LightBarPainter::paintLamp(
    QPainter& painter, const QRectF& dome, const QColor& lit, const QColor& dark, double on) const
{
    QPainterPath shape;
    shape.moveTo(dome.bottomLeft());
    shape.cubicTo(dome.left(), dome.top() - 2, dome.right(), dome.top() - 2, dome.right(), dome.bottom());
    shape.closeSubpath();
    QRadialGradient fill(dome.center() + QPointF(-2, 0), dome.width() * 0.6);
    fill.setColorAt(0, mixed(dark.lighter(130), QColor(255, 255, 240), on));
    fill.setColorAt(0.45, mixed(dark, lit, on));
    fill.setColorAt(1, mixed(dark.darker(160), lit.darker(130), on));
    painter.setBrush(fill);
    painter.setPen(QPen(QColor(20, 20, 26), 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(shape);
    // A glint on the glass, lit or not.
    painter.setPen(QPen(QColor(255, 255, 255, 170), 1.6, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(dome.topLeft() + QPointF(dome.width() * 0.28, dome.height() * 0.42),
        dome.topLeft() + QPointF(dome.width() * 0.45, dome.height() * 0.22));
}

void LightBarPainter::paintGlow(QPainter& painter, const QRectF& dome, const QColor& lit, double on) const
{
    const double radius = 34;
    QRadialGradient glow(dome.center(), radius);
    QColor inner = lit;
    // Blue reads darker than red on black, so it glows a little stronger.
    inner.setAlphaF((lit.blue() > lit.red() ? 0.85 : 0.7) * on);
    QColor outer = lit;
    outer.setAlphaF(0);
    glow.setColorAt(0, inner);
    glow.setColorAt(1, outer);
    painter.setPen(Qt::NoPen);
    painter.setBrush(glow);
    painter.drawEllipse(dome.center(), radius, radius);
}

void LightBarPainter::paint(QPainter& painter) const
{
    const QColor redLit(255, 48, 40), redDark(90, 18, 18);
    const QColor blueLit(90, 170, 255), blueDark(16, 30, 92);
    const double blue = 1 - red;
    const double domeWidth = base.width() / 2 - 3;
    const double domeHeight = 16;
    const QRectF redDome(base.left() + 2, base.top() - domeHeight, domeWidth, domeHeight);
    const QRectF blueDome(base.center().x() + 1, base.top() - domeHeight, domeWidth, domeHeight);

    paintGlow(painter, redDome, redLit, red);
    paintGlow(painter, blueDome, blueLit, blue);

    QLinearGradient foot(base.topLeft(), base.bottomLeft());
    foot.setColorAt(0, QColor(120, 124, 132));
    foot.setColorAt(0.4, QColor(46, 50, 58));
    foot.setColorAt(1, QColor(18, 20, 24));
    painter.setBrush(foot);
    painter.setPen(QPen(QColor(12, 12, 16), 1.4));
    painter.drawRoundedRect(base, 3, 3);

    paintLamp(painter, redDome, redLit, redDark, red);
    paintLamp(painter, blueDome, blueLit, blueDark, blue);
}
