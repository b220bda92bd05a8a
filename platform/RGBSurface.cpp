#include "platform/RGBSurface.h"

#include "platform/RuntimeException.h"

#include <string>
#include <utility>

namespace platform {

RGBSurface::RGBSurface(std::shared_ptr<const void> pixels, const std::uint8_t* bits, std::int64_t stride,
    std::int64_t width, std::int64_t height)
    : pixels_(std::move(pixels))
    , bits_(bits)
    , stride_(stride)
    , width_(width)
    , height_(height)
{
}

void RGBSurface::outOfBounds(std::int64_t x, std::int64_t y) const
{
    throw OutOfBoundsException("pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") outside the picture of "
        + std::to_string(width_) + " x " + std::to_string(height_) + " pixels");
}

} // namespace platform
