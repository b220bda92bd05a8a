#pragma once

#include "artwork/FlightPose.h"

#include <QRectF>

class QPainter;

// A winged toaster seen from the side and a little above, facing left: the far
// wing, the body with its slots and lever, then the near wing. The police
// livery paints the body blue and white and carries a light bar instead of toast.
class ToasterPainter {
public:
    enum class Livery { Chrome, Police };

    explicit ToasterPainter(Livery livery);

    // redLight: brightness of the light bar's red lamp (police only), 0 to 1.
    void paint(QPainter& painter, const FlightPose& pose, double redLight = 0) const;

private:
    void paintTop(QPainter& painter) const;
    // light: 1 for the near slice, less for the one behind it.
    void paintSlot(QPainter& painter, const QRectF& slot, double toastRise, double light) const;
    void paintSide(QPainter& painter) const;
    void paintLever(QPainter& painter) const;
    void paintBadge(QPainter& painter) const;

    Livery livery;
};
