#pragma once

#include <cstdint>

namespace platform {

// A snapshot of one screen (monitor), in global coordinates, y downward, in
// device-independent pixels. Screens come and go while the program runs: a
// Screen keeps the values it was taken with, so one that outlived its monitor
// stays safe to read; indexes are checked against the current count.
class Screen {
public:
    // The number of screens now (at least 1 while a display is connected).
    static std::int64_t ScreenCount();
    // Screen index: 0 is the primary screen, the others follow in Qt's order.
    // Raises OutOfBoundsException for an index outside 0 to ScreenCount() - 1.
    static Screen ScreenAt(std::int64_t index);

    // The full frame.
    std::int64_t Left() const { return left_; }
    std::int64_t Top() const { return top_; }
    std::int64_t Width() const { return width_; }
    std::int64_t Height() const { return height_; }
    // The area that panels and docks leave free.
    std::int64_t AvailableLeft() const { return availableLeft_; }
    std::int64_t AvailableTop() const { return availableTop_; }
    std::int64_t AvailableWidth() const { return availableWidth_; }
    std::int64_t AvailableHeight() const { return availableHeight_; }

private:
    std::int64_t left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    std::int64_t availableLeft_ = 0, availableTop_ = 0, availableWidth_ = 0, availableHeight_ = 0;
};

} // namespace platform
