#include "platform/Picture.h"

#include <QFile>
#include <QImage>
#include <QImageReader>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
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
    std::string whyNot;
    return Open(file, largestSide, {}, whyNot);
}

namespace {

    std::string reasonOf(int error)
    {
        switch (error) {
        case ENOENT:
            return "no such file";
        case EACCES:
        case EPERM:
            return "permission denied";
        case ENOMEM:
            return "out of memory";
        default:
            std::string text = std::strerror(error);
            if (!text.empty())
                text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
            return text;
        }
    }

    std::string sizeText(std::int64_t width, std::int64_t height)
    {
        return std::to_string(width) + " \u00D7 " + std::to_string(height);
    }

    // Closes the descriptor unless a QFile has taken it over.
    struct Descriptor {
        int fd;
        ~Descriptor()
        {
            if (fd >= 0)
                ::close(fd);
        }
    };

} // namespace

std::shared_ptr<Picture> Picture::Open(
    const FolderItem& file, std::int64_t largestSide, const std::string& largestSideName, std::string& whyNot)
{
    try {
        // Opened first, then what was opened is checked: a FIFO or a device
        // put in place of the file between a check and an open could block
        // the program or feed the decoder endlessly. Non-blocking, so that
        // opening a FIFO returns at once; for a regular file the flag changes
        // nothing.
        Descriptor descriptor { ::open(file.NativePath().c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC) };
        if (descriptor.fd < 0) {
            whyNot = reasonOf(errno);
            return nullptr;
        }
        struct stat status { };
        if (::fstat(descriptor.fd, &status) != 0) {
            whyNot = reasonOf(errno);
            return nullptr;
        }
        if (!S_ISREG(status.st_mode)) {
            whyNot = S_ISDIR(status.st_mode) ? "a directory" : "not a regular file";
            return nullptr;
        }
        QFile device;
        if (!device.open(descriptor.fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
            whyNot = device.errorString().toStdString();
            return nullptr;
        }
        descriptor.fd = -1;

        QImageReader reader(&device, "png");
        // Only PNG: a file of another kind is refused, whatever its name says.
        reader.setAutoDetectImageFormat(false);
        if (!reader.canRead()) {
            whyNot = status.st_size == 0 ? "an empty file" : "not a PNG file";
            return nullptr;
        }

        const QSize size = reader.size();
        if (!size.isValid() || size.isEmpty()) {
            whyNot = "damaged";
            return nullptr;
        }
        const std::int64_t width = size.width();
        const std::int64_t height = size.height();
        if (width > largestSide || height > largestSide) {
            whyNot
                = sizeText(width, height) + " is larger than " + largestSideName + " of " + std::to_string(largestSide);
            return nullptr;
        }
        if (width > maxSide || height > maxSide || width * height > maxPixels) {
            whyNot = sizeText(width, height) + " is larger than the largest picture read, " + std::to_string(maxSide)
                + " pixels a side and " + std::to_string(maxPixels) + " in all";
            return nullptr;
        }
        if (std::int64_t { status.st_size } > largestFileFor(width, height)) {
            whyNot = "far larger than its pixels need: " + std::to_string(status.st_size) + " bytes for "
                + sizeText(width, height);
            return nullptr;
        }

        // The decoder fills an image of its own size and format where it is
        // given one, so a failed allocation shows here and is not taken for
        // damage.
        QImage decoded;
        if (const QImage::Format format = reader.imageFormat(); format != QImage::Format_Invalid) {
            decoded = QImage(size, format);
            if (decoded.isNull()) {
                whyNot = "out of memory";
                return nullptr;
            }
        }
        if (!reader.read(&decoded) || decoded.size() != size) {
            whyNot = "damaged";
            return nullptr;
        }
        // One conversion, so that Pixel reads every kind of PNG the same way.
        auto image = std::make_shared<const QImage>(decoded.convertToFormat(QImage::Format_ARGB32));
        decoded = QImage();
        if (image->isNull()) {
            whyNot = "out of memory";
            return nullptr;
        }

        const auto* bits = image->constBits();
        const std::int64_t stride = image->bytesPerLine();
        auto surface = std::shared_ptr<platform::RGBSurface>(
            new platform::RGBSurface(image, bits, stride, image->width(), image->height()));
        return std::shared_ptr<Picture>(new Picture(image->width(), image->height(), std::move(surface)));
    } catch (const std::bad_alloc&) {
        whyNot = "out of memory";
        return nullptr;
    }
}

} // namespace platform
