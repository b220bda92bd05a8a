#include "platform/Picture.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

#include <utility>

namespace platform {

namespace {

    // Far beyond any picture the program draws, and small enough that the
    // ARGB copy (4 bytes a pixel, 128 MiB at most) cannot exhaust memory.
    // Qt's own allocation limit guards the decoder as well.
    constexpr std::int64_t maxSide = 16384;
    constexpr std::int64_t maxPixels = std::int64_t { 1 } << 25;

} // namespace

Picture::Picture(std::int64_t width, std::int64_t height, std::shared_ptr<platform::RGBSurface> surface)
    : width_(width)
    , height_(height)
    , surface_(std::move(surface))
{
}

std::shared_ptr<Picture> Picture::Open(const FolderItem& file)
{
    const QString path = QFile::decodeName(QByteArray::fromStdString(file.NativePath()));
    // Checked first, so that a missing file or a folder is refused quietly.
    if (!QFileInfo(path).isFile())
        return nullptr;
    QImageReader reader(path, "png");
    // Only PNG: a file of another kind is refused, whatever its name says.
    reader.setAutoDetectImageFormat(false);
    if (!reader.canRead())
        return nullptr;

    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty() || size.width() > maxSide || size.height() > maxSide
        || std::int64_t { size.width() } * size.height() > maxPixels)
        return nullptr;

    QImage decoded;
    if (!reader.read(&decoded) || decoded.size() != size)
        return nullptr;
    // One conversion, so that Pixel reads every kind of PNG the same way.
    auto image = std::make_shared<const QImage>(decoded.convertToFormat(QImage::Format_ARGB32));
    decoded = QImage();
    if (image->isNull())
        return nullptr;

    const auto* bits = image->constBits();
    const std::int64_t stride = image->bytesPerLine();
    auto surface = std::shared_ptr<platform::RGBSurface>(
        new platform::RGBSurface(image, bits, stride, image->width(), image->height()));
    return std::shared_ptr<Picture>(new Picture(image->width(), image->height(), std::move(surface)));
}

} // namespace platform
