#pragma once

#include "platform/RectControl.h"

#include <cstdint>
#include <string>

namespace platform {

// A static text control (a QLabel).
class Label : public RectControl {
public:
    explicit Label(platform::Window& owner);

    std::string Text() const;
    void SetText(const std::string& text);
    // Colour as &hAARRGGBB, AA counting transparency (0 opaque).
    void SetTextColor(std::uint32_t color);
};

} // namespace platform
