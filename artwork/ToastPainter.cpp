#include "artwork/ToastPainter.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <cstdint>

namespace {
// A fixed-seed generator for the crumb's pores, so every run draws the same slice.
class Pores {
public:
    double next()
    {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return double(state >> 11) / double(1ULL << 53);
    }

private:
    std::uint64_t state = 0x5eed70a57ULL;
};

const QPointF centre(128, 128);
constexpr double size = 66;
constexpr double angle = -12;
}

QPainterPath ToastPainter::sliceOutline()
{
    // A square loaf's slice: straight sides and a domed top with rounded shoulders.
    QPainterPath p;
    p.moveTo(-0.70, 1.0);
    p.lineTo(0.70, 1.0);
    p.quadTo(0.86, 1.0, 0.86, 0.84);
    p.lineTo(0.86, -0.22);
    p.cubicTo(1.06, -0.32, 1.06, -0.84, 0.70, -0.94);
    p.cubicTo(0.40, -1.08, -0.40, -1.08, -0.70, -0.94);
    p.cubicTo(-1.06, -0.84, -1.06, -0.32, -0.86, -0.22);
    p.lineTo(-0.86, 0.84);
    p.quadTo(-0.86, 1.0, -0.70, 1.0);
    p.closeSubpath();
    return p;
}

ToastPainter::ToastPainter(bool burnt)
    : burnt(burnt)
{
}

void ToastPainter::paintCrumb(QPainter& painter, const QPainterPath& crumb) const
{
    QRadialGradient fill(QPointF(-0.15, -0.1), 1.0);
    if (burnt) {
        fill.setColorAt(0, QColor(64, 42, 28));
        fill.setColorAt(0.6, QColor(44, 29, 19));
        fill.setColorAt(1, QColor(30, 19, 12));
    } else {
        fill.setColorAt(0, QColor(250, 222, 150));
        fill.setColorAt(0.55, QColor(238, 184, 96));
        fill.setColorAt(1, QColor(206, 138, 56));
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawPath(crumb);

    painter.save();
    painter.setClipPath(crumb);
    Pores pores;
    if (burnt) {
        // Charred patches, then a few specks of ash.
        for (int i = 0; i < 14; ++i) {
            const QPointF at(pores.next() * 1.6 - 0.8, pores.next() * 1.7 - 0.85);
            const double r = 0.10 + 0.16 * pores.next();
            QRadialGradient patch(at, r);
            patch.setColorAt(0, QColor(10, 6, 4, 200));
            patch.setColorAt(1, QColor(10, 6, 4, 0));
            painter.setBrush(patch);
            painter.drawEllipse(at, r, r);
        }
        for (int i = 0; i < 26; ++i) {
            const QPointF at(pores.next() * 1.6 - 0.8, pores.next() * 1.7 - 0.85);
            painter.setBrush(QColor(130, 118, 108, 110));
            painter.drawEllipse(at, 0.018 + 0.02 * pores.next(), 0.014 + 0.015 * pores.next());
        }
    } else {
        for (int i = 0; i < 70; ++i) {
            const QPointF at(pores.next() * 1.6 - 0.8, pores.next() * 1.7 - 0.85);
            const bool dark = pores.next() < 0.6;
            painter.setBrush(dark ? QColor(170, 100, 36, 70) : QColor(255, 246, 210, 90));
            painter.drawEllipse(at, 0.02 + 0.03 * pores.next(), 0.015 + 0.02 * pores.next());
        }
    }
    // A sheen over the upper left.
    QRadialGradient sheen(QPointF(-0.35, -0.45), 0.7);
    sheen.setColorAt(0, QColor(255, 255, 255, burnt ? 36 : 80));
    sheen.setColorAt(1, QColor(255, 255, 255, 0));
    painter.setBrush(sheen);
    painter.drawRect(QRectF(-1.2, -1.2, 2.4, 2.4));
    painter.restore();
}

void ToastPainter::paint(QPainter& painter) const
{
    painter.save();
    painter.translate(centre);
    painter.rotate(angle);
    painter.scale(size, size);
    const QPainterPath outline = sliceOutline();

    // The slice's edge, seen behind it: its thickness.
    painter.setPen(Qt::NoPen);
    painter.setBrush(burnt ? QColor(70, 42, 24) : QColor(120, 66, 22));
    painter.drawPath(outline.translated(0.07, 0.06));

    QLinearGradient crust(QPointF(0, -1), QPointF(0, 1));
    if (burnt) {
        crust.setColorAt(0, QColor(176, 116, 68));
        crust.setColorAt(1, QColor(130, 82, 46));
    } else {
        crust.setColorAt(0, QColor(176, 104, 40));
        crust.setColorAt(1, QColor(136, 76, 26));
    }
    painter.setBrush(crust);
    painter.setPen(QPen(burnt ? QColor(210, 156, 106) : QColor(96, 52, 16), 0.025));
    painter.drawPath(outline);

    QTransform inset;
    inset.translate(0, 0.01);
    inset.scale(0.86, 0.87);
    paintCrumb(painter, inset.map(outline));
    painter.restore();
}
