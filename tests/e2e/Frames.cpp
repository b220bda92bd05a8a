#include "Frames.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace e2e {
namespace {

    // A sprite is drawn tinted grey (its RGB scaled by the same factor), so
    // its hue and saturation are the artwork's; only the value changes.
    struct Hsv {
        float h = 0; // degrees
        float s = 0;
        int v = 0;
    };

    Hsv hsv(QRgb c)
    {
        int r = qRed(c), g = qGreen(c), b = qBlue(c);
        int mx = std::max({ r, g, b }), mn = std::min({ r, g, b });
        Hsv out;
        out.v = mx;
        if (mx == 0 || mx == mn)
            return out;
        float d = static_cast<float>(mx - mn);
        out.s = d / static_cast<float>(mx);
        float h;
        if (mx == r)
            h = 60.0f * std::fmod((static_cast<float>(g - b) / d) + 6.0f, 6.0f);
        else if (mx == g)
            h = 60.0f * ((static_cast<float>(b - r) / d) + 2.0f);
        else
            h = 60.0f * ((static_cast<float>(r - g) / d) + 4.0f);
        out.h = h;
        return out;
    }

    constexpr int litValue = 24;
    constexpr int minimumArea = 400;

    bool lit(QRgb c) { return std::max({ qRed(c), qGreen(c), qBlue(c) }) > litValue; }

    void classify(const QImage& shot, const std::vector<QPoint>& pixels, Frames::Blob& blob)
    {
        int brightest = 0;
        for (QPoint p : pixels)
            brightest = std::max(brightest, hsv(shot.pixel(p)).v);
        int grey = 0, blue = 0, golden = 0, dark = 0;
        for (QPoint p : pixels) {
            Hsv c = hsv(shot.pixel(p));
            float relative = static_cast<float>(c.v) / static_cast<float>(brightest);
            if (c.s < 0.15f && relative > 0.3f)
                ++grey;
            else if (c.h >= 195 && c.h <= 255 && c.s > 0.3f)
                ++blue;
            else if (c.h >= 20 && c.h <= 55 && c.s > 0.2f && relative > 0.5f)
                ++golden;
            if (relative < 0.4f)
                ++dark;
        }
        // Burnt toast is mostly dark inside its crust; at a deep tint its
        // middle falls below the lit threshold and the blob is a ring.
        float fill = static_cast<float>(pixels.size()) / static_cast<float>(blob.bounds.width() * blob.bounds.height());
        float n = static_cast<float>(pixels.size());
        blob.classified = true;
        if (blue / n > 0.12f)
            blob.kind = Frames::Kind::PoliceToaster;
        else if (grey / n > 0.3f)
            blob.kind = Frames::Kind::Toaster;
        else if (grey / n < 0.1f && (dark / n > 0.4f || fill < 0.4f))
            blob.kind = Frames::Kind::BurntToast;
        else if (grey / n < 0.1f && golden / n > 0.5f)
            blob.kind = Frames::Kind::Toast;
        else
            blob.classified = false;
    }

    // Calls back with every 4-connected area of lit pixels and its bounds.
    void forEachComponent(
        const QImage& shot, const std::function<void(const std::vector<QPoint>&, const QRect&)>& found)
    {
        const int w = shot.width(), h = shot.height();
        auto at = [w](QPoint p) {
            return static_cast<std::size_t>(p.y()) * static_cast<std::size_t>(w) + static_cast<std::size_t>(p.x());
        };
        std::vector<unsigned char> seen(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0);
        std::vector<QPoint> stack, pixels;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                if (seen[at(QPoint(x, y))] || !lit(shot.pixel(x, y)))
                    continue;
                seen[at(QPoint(x, y))] = 1;
                pixels.clear();
                stack.assign(1, QPoint(x, y));
                QRect bounds(x, y, 1, 1);
                while (!stack.empty()) {
                    QPoint p = stack.back();
                    stack.pop_back();
                    pixels.push_back(p);
                    bounds |= QRect(p, QSize(1, 1));
                    for (QPoint d : { QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1) }) {
                        QPoint q = p + d;
                        if (q.x() < 0 || q.y() < 0 || q.x() >= w || q.y() >= h || seen[at(q)] || !lit(shot.pixel(q)))
                            continue;
                        seen[at(q)] = 1;
                        stack.push_back(q);
                    }
                }
                found(pixels, bounds);
            }
        }
    }

} // namespace

std::vector<Frames::Blob> Frames::blobs(const QImage& shot)
{
    std::vector<Blob> found;
    forEachComponent(shot, [&](const std::vector<QPoint>& pixels, const QRect& bounds) {
        if (static_cast<int>(pixels.size()) < minimumArea)
            return;
        Blob blob;
        blob.bounds = bounds;
        blob.area = static_cast<int>(pixels.size());
        classify(shot, pixels, blob);
        found.push_back(blob);
    });
    return found;
}

std::set<Frames::Kind> Frames::kindsIn(const QImage& shot)
{
    std::set<Kind> kinds;
    for (const Blob& blob : blobs(shot)) {
        if (blob.classified)
            kinds.insert(blob.kind);
    }
    return kinds;
}

QPoint Frames::bestShift(const QImage& before, const QImage& after, int maxShift, const std::vector<QRect>& screens)
{
    // Only sprites wholly in view: one that is coming in or going out
    // changes its visible shape as it moves.
    std::vector<QPoint> moving;
    forEachComponent(before, [&](const std::vector<QPoint>& pixels, const QRect& bounds) {
        bool inside = false;
        for (const QRect& screen : screens)
            inside = inside || screen.adjusted(2, 2, -2, -2).contains(bounds);
        if (inside && pixels.size() >= 100)
            moving.insert(moving.end(), pixels.begin(), pixels.end());
    });
    // Every other pixel and every other shift: enough to see a few pixels'
    // motion at a fraction of the cost.
    const int step = 2;
    long bestScore = 0;
    QPoint best;
    for (int dy = -maxShift; dy <= maxShift; dy += step) {
        for (int dx = -maxShift; dx <= maxShift; dx += step) {
            long score = 0;
            for (std::size_t i = 0; i < moving.size(); i += step) {
                QPoint q = moving[i] + QPoint(dx, dy);
                if (after.rect().contains(q) && lit(after.pixel(q)))
                    ++score;
            }
            if (score > bestScore) {
                bestScore = score;
                best = QPoint(dx, dy);
            }
        }
    }
    return best;
}

long Frames::changedPixels(const QImage& a, const QImage& b)
{
    long changed = 0;
    const int w = std::min(a.width(), b.width()), h = std::min(a.height(), b.height());
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (a.pixel(x, y) != b.pixel(x, y))
                ++changed;
        }
    }
    return changed;
}

const char* Frames::name(Kind kind)
{
    switch (kind) {
    case Kind::Toaster:
        return "toaster";
    case Kind::PoliceToaster:
        return "police toaster";
    case Kind::Toast:
        return "toast";
    case Kind::BurntToast:
        return "burnt toast";
    }
    return "?";
}

} // namespace e2e
