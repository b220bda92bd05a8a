#pragma once

#include <QColor>
#include <QRectF>

class QPainter;

// The police light bar: a red and a blue lamp on a dark base, each lit lamp
// throwing a soft glow around it.
class LightBarPainter {
public:
    // base: the bar's foot, sitting on the toaster's top; red: the red lamp's
    // brightness, 0 to 1, the blue lamp showing the rest.
    LightBarPainter(const QRectF& base, double red);

    void paint(QPainter& painter) const;

private:
    void paintLamp(QPainter& painter, const QRectF& dome, const QColor& lit, const QColor& dark, double on) const;
    void paintGlow(QPainter& painter, const QRectF& dome, const QColor& lit, double on) const;

    QRectF base;
    double red;
};
