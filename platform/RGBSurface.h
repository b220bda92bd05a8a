#pragma once

#include <cstdint>
#include <cstring>
#include <memory>

namespace platform {

class Picture;

// Per-pixel access to a picture's colours. The pixels are 32-bit
// non-premultiplied ARGB, one scan line after another, converted once when the
// picture was opened; Pixel reads them in place.
class RGBSurface {
public:
    // The colour of pixel (x, y), x from the left and y from the top row, as
    // &hAARRGGBB where AA counts transparency: 0 is opaque, 0xFF fully
    // transparent. Outside the picture it raises OutOfBoundsException.
    std::uint32_t Pixel(std::int64_t x, std::int64_t y) const
    {
        if (x < 0 || y < 0 || x >= width_ || y >= height_)
            outOfBounds(x, y);
        std::uint32_t argb;
        std::memcpy(&argb, bits_ + y * stride_ + x * 4, sizeof argb);
        // The stored alpha counts opacity; the surface reports transparency.
        return argb ^ 0xFF000000u;
    }

private:
    friend class Picture;
    RGBSurface(std::shared_ptr<const void> pixels, const std::uint8_t* bits, std::int64_t stride, std::int64_t width,
        std::int64_t height);
    [[noreturn]] void outOfBounds(std::int64_t x, std::int64_t y) const;

    std::shared_ptr<const void> pixels_; // keeps the memory behind bits_ alive
    const std::uint8_t* bits_;
    std::int64_t stride_;
    std::int64_t width_;
    std::int64_t height_;
};

} // namespace platform
