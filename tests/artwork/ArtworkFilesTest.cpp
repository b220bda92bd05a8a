#include "tests/artwork/ArtworkNames.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include <algorithm>
#include <gtest/gtest.h>

namespace {
const QDir resources(QStringLiteral(QUILL_RESOURCES_DIR));
}

TEST(ArtworkFiles, FolderHoldsExactlyTheNamedPictures)
{
    QStringList present = resources.entryList(QDir::Files | QDir::Hidden);
    QStringList expected = ArtworkNames::all();
    present.sort();
    expected.sort();
    EXPECT_EQ(expected.size(), 163);
    EXPECT_EQ(present, expected);
    // The four-digit numbering, at its ends.
    EXPECT_TRUE(present.contains(QStringLiteral("toaster_0007.png")));
    EXPECT_TRUE(present.contains(QStringLiteral("toaster_0130.png")));
    EXPECT_FALSE(present.contains(QStringLiteral("toaster_0131.png")));
    EXPECT_TRUE(present.contains(QStringLiteral("police_0029.png")));
    EXPECT_FALSE(present.contains(QStringLiteral("police_0030.png")));
}

// Every picture: an 8-bit RGBA PNG of 256 x 256, nothing clipped at its edge,
// a solid body with antialiased edges, and bright enough to see on black
// under the darkest grey tint the sprites get (0.4).
TEST(ArtworkFiles, EveryPictureIsASquareRgbaSpriteOnTransparency)
{
    for (const QString& name : ArtworkNames::all()) {
        SCOPED_TRACE(name.toStdString());
        QFile file(resources.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray head = file.read(26);
        ASSERT_EQ(head.size(), 26);
        EXPECT_EQ(head.left(8), QByteArray("\x89PNG\r\n\x1a\n", 8));
        EXPECT_EQ(head.mid(12, 4), QByteArray("IHDR"));
        EXPECT_EQ(quint8(head[24]), 8) << "bit depth";
        EXPECT_EQ(quint8(head[25]), 6) << "colour type: RGB with alpha";

        const QImage image(file.fileName());
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.width(), 256);
        EXPECT_EQ(image.height(), 256);
        EXPECT_EQ(image.format(), QImage::Format_ARGB32);

        int borderAlpha = 0, opaque = 0, soft = 0, brightest = 0;
        for (int y = 0; y < image.height(); ++y) {
            const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                const int a = qAlpha(line[x]);
                if (x == 0 || y == 0 || x == image.width() - 1 || y == image.height() - 1)
                    borderAlpha = std::max(borderAlpha, a);
                if (a == 255) {
                    ++opaque;
                    brightest = std::max({ brightest, qRed(line[x]), qGreen(line[x]), qBlue(line[x]) });
                } else if (a > 0) {
                    ++soft;
                }
            }
        }
        EXPECT_EQ(borderAlpha, 0) << "the sprite touches the picture's edge";
        EXPECT_GT(opaque, 256 * 256 / 10);
        EXPECT_GT(soft, 200) << "edges without antialiasing";
        EXPECT_GE(brightest * 0.4, 48) << "too dark to see on black under the darkest tint";
    }
}
