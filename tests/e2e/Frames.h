#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <set>
#include <vector>

namespace e2e {

// Reads screenshots of the animation: which kinds of sprite they show,
// judged loosely by the colours of our artwork, and which way the picture
// moved between two shots.
class Frames {
public:
    enum class Kind { Toaster, PoliceToaster, Toast, BurntToast };

    struct Blob {
        QRect bounds;
        int area = 0;
        bool classified = false;
        Kind kind = Kind::Toaster;
    };

    // Connected areas of lit pixels on the black background, large enough
    // to be a sprite, each with the kind its colours suggest.
    static std::vector<Blob> blobs(const QImage& shot);
    static std::set<Kind> kindsIn(const QImage& shot);

    // The shift (dx, dy) in screen pixels that best lays the sprites of the
    // first shot that lie wholly on one of the screens onto the lit pixels
    // of the second, searched within maxShift; (0, 0) if none is in view.
    static QPoint bestShift(const QImage& before, const QImage& after, int maxShift, const std::vector<QRect>& screens);

    static long changedPixels(const QImage& a, const QImage& b);
    static const char* name(Kind kind);
};

} // namespace e2e
