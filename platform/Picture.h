#pragma once

#include "platform/FolderItem.h"
#include "platform/RGBSurface.h"

#include <cstdint>
#include <limits>
#include <memory>
#include <string>

namespace platform {

// A decoded picture file.
class Picture {
public:
    // Reads the PNG file that file names. Gives none for a file that is
    // missing, not a regular file, unreadable, not a PNG, damaged, too large
    // to hold in memory, wider or higher than largestSide (a texture loader
    // passes its context's largest texture), or far larger than its pixels
    // could need; the size is checked from the file's header before anything
    // is decoded.
    static std::shared_ptr<Picture> Open(
        const FolderItem& file, std::int64_t largestSide = std::numeric_limits<std::int64_t>::max());
    // The same, and where it gives none, whyNot says why in a few words
    // ("no such file", "not a PNG file", "out of memory"); a picture wider or
    // higher than largestSide is "W × H is larger than " + largestSideName +
    // " of " + largestSide.
    static std::shared_ptr<Picture> Open(
        const FolderItem& file, std::int64_t largestSide, const std::string& largestSideName, std::string& whyNot);

    std::int64_t Width() const { return width_; }
    std::int64_t Height() const { return height_; }
    // The picture's pixels; the surface stays valid as long as it is held.
    std::shared_ptr<platform::RGBSurface> RGBSurface() const { return surface_; }

private:
    Picture(std::int64_t width, std::int64_t height, std::shared_ptr<platform::RGBSurface> surface);

    std::int64_t width_;
    std::int64_t height_;
    std::shared_ptr<platform::RGBSurface> surface_;
};

} // namespace platform
