#pragma once

#include "artwork/FlightPose.h"

#include <QColor>
#include <QPainterPath>
#include <QPointF>

class QPainter;

// A feathered wing hinged along the top edge of the body. The wing is drawn
// flat, in its own plane (x along the body, s out along the span), and then
// folded into the picture: the elevation at each point of the span decides
// how far up or down that point appears, as seen from slightly above.
class WingPainter {
public:
    enum class Side { Near, Far };

    WingPainter(QPointF hinge, Side side, const FlightPose& pose);

    void paint(QPainter& painter) const;

private:
    QPointF map(double x, double s) const;
    QPainterPath project(QPainterPath local) const;
    QColor shaded(const QColor& colour) const;
    void paintFeather(QPainter& painter, QPointF root, double angle, double length, double width) const;
    void paintCoverts(QPainter& painter) const;

    QPointF hinge;
    Side side;
    FlightPose pose;
};
