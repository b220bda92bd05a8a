#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <QTemporaryDir>

#include <string>
#include <vector>

// Writes small PNG pictures for the texture and drawing tests.
class PictureFixtures {
public:
    // A picture of the given non-premultiplied colours, row by row, top first.
    std::string write(const QString& name, int width, int height, const std::vector<QRgb>& pixels)
    {
        QImage image(width, height, QImage::Format_ARGB32);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                image.setPixel(x, y, pixels[static_cast<std::size_t>(y * width + x)]);
        QString path = dir_.filePath(name);
        image.save(path, "PNG");
        return path.toStdString();
    }

    // Large enough that the blend with the border at the clamped edges stays
    // within a pixel of the drawn square's edge.
    std::string solid(const QString& name, QRgb colour)
    {
        return write(name, 64, 64, std::vector<QRgb>(64 * 64, colour));
    }

    QString path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
};
