#include "tests/artwork/ArtworkNames.h"

#include <QDir>
#include <QImage>

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <vector>

namespace {
// Frames are numbered as the renderer numbers its textures: toaster 0-130,
// police 131-160.
class ArtworkSeams : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        const QDir resources(QStringLiteral(QUILL_RESOURCES_DIR));
        const QStringList names = ArtworkNames::all();
        frames.clear();
        for (int i = 0; i <= 160; ++i)
            frames.push_back(QImage(resources.filePath(names[i])).convertToFormat(QImage::Format_ARGB32));
    }

    // Mean change per pixel of what shows on black, plus the change of coverage.
    static double difference(int a, int b)
    {
        const QImage& p = frames.at(a);
        const QImage& q = frames.at(b);
        double sum = 0;
        for (int y = 0; y < p.height(); ++y) {
            const QRgb* u = reinterpret_cast<const QRgb*>(p.constScanLine(y));
            const QRgb* v = reinterpret_cast<const QRgb*>(q.constScanLine(y));
            for (int x = 0; x < p.width(); ++x) {
                const int ua = qAlpha(u[x]), va = qAlpha(v[x]);
                sum += std::abs(ua - va);
                sum += std::abs(qRed(u[x]) * ua - qRed(v[x]) * va) / 255.0;
                sum += std::abs(qGreen(u[x]) * ua - qGreen(v[x]) * va) / 255.0;
                sum += std::abs(qBlue(u[x]) * ua - qBlue(v[x]) * va) / 255.0;
            }
        }
        return sum / (p.width() * p.height());
    }

    static std::vector<QImage> frames;
};
std::vector<QImage> ArtworkSeams::frames;

struct Seam {
    int from, to;
};
}

// At each place where the player jumps in frame numbers, the step must look
// like the ordinary steps around it: the three before 'from' and the three
// after 'to'.
TEST_F(ArtworkSeams, JumpsInNumberingAreOrdinarySteps)
{
    const Seam seams[] = {
        { 63, 0 }, // the flap loop
        { 63, 64 }, // flapping into the spread
        { 85, 86 }, // the spread into the glide
        { 110, 86 }, // the glide loop
        { 110, 111 }, // gliding into the return
        { 130, 0 }, // the return into flapping
        { 160, 131 }, // the police loop
    };
    for (const Seam& seam : seams) {
        SCOPED_TRACE(testing::Message() << seam.from << " -> " << seam.to);
        double ordinary = 0;
        for (int k = 0; k < 3; ++k) {
            ordinary = std::max(ordinary, difference(seam.from - k - 1, seam.from - k));
            ordinary = std::max(ordinary, difference(seam.to + k, seam.to + k + 1));
        }
        EXPECT_GT(ordinary, 0.1) << "the frames around the seam do not move";
        EXPECT_LE(difference(seam.from, seam.to), 1.5 * ordinary);
    }
}
