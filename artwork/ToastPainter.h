#pragma once

#include <QPainterPath>

class QPainter;

// A slice of toast, tilted in flight, golden or burnt. The burnt slice keeps a
// lighter crust so it still shows against a black desktop.
class ToastPainter {
public:
    explicit ToastPainter(bool burnt);

    void paint(QPainter& painter) const;

    // The outline of a slice of bread, centred on the origin, about 2 units wide and high.
    static QPainterPath sliceOutline();

private:
    void paintCrumb(QPainter& painter, const QPainterPath& crumb) const;

    bool burnt;
};
