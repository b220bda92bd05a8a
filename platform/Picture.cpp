#include "platform/Picture.h"

#include <QFile>
#include <QImage>
#include <QImageReader>

#include <algorithm>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace platform {

namespace {

    // Far beyond any picture the program draws, and small enough that the
    // ARGB copy (4 bytes a pixel, 128 MiB at most) cannot exhaust memory.
    // Qt's own allocation limit guards the decoder as well.
    constexpr std::int64_t maxSide = 16384;
    constexpr std::int64_t maxPixels = std::int64_t { 1 } << 25;

    // The most a PNG of these pixels can take: every row at the deepest kind
    // (8 bytes a pixel) with its filter byte and the interlaced passes' extra
    // ones, twice over for chunk and compression overhead, and room for
    // ancillary chunks such as colour profiles. The decoder would read a
    // larger file to its end after the last row, for seconds a gigabyte.
    std::int64_t largestFileFor(std::int64_t width, std::int64_t height)
    {
        return 2 * height * (8 * width + 2) + (std::int64_t { 16 } << 20);
    }

} // namespace

Picture::Picture(std::int64_t width, std::int64_t height, std::shared_ptr<platform::RGBSurface> surface)
    : width_(width)
    , height_(height)
    , surface_(std::move(surface))
{
}

std::shared_ptr<Picture> Picture::Open(const FolderItem& file, std::int64_t largestSide)
{
    // Opened first, then what was opened is checked: a FIFO or a device put
    // in place of the file between a check and an open could block the
    // program or feed the decoder endlessly. Non-blocking, so that opening a
    // FIFO returns at once; for a regular file the flag changes nothing.
    const int descriptor = ::open(file.NativePath().c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0)
        return nullptr;
    struct stat status { };
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(descriptor);
        return nullptr;
    }
    QFile device;
    if (!device.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return nullptr;
    }

    QImageReader reader(&device, "png");
    // Only PNG: a file of another kind is refused, whatever its name says.
    reader.setAutoDetectImageFormat(false);
    if (!reader.canRead())
        return nullptr;

    const QSize size = reader.size();
    const std::int64_t side = std::min(maxSide, largestSide);
    if (!size.isValid() || size.isEmpty() || size.width() > side || size.height() > side
        || std::int64_t { size.width() } * size.height() > maxPixels
        || std::int64_t { status.st_size } > largestFileFor(size.width(), size.height()))
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
