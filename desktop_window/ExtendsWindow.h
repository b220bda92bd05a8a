#pragma once

#include <cstdint>

namespace platform {
class Window;
}

namespace ExtendsWindow {

// The window level of the desktop picture: beneath every ordinary window.
inline constexpr std::int64_t DesktopLevel = -2147483623; // INT32_MIN + 25

// Moves the window to the given level by sending "setLevel:" to its native
// window.
void setLevel(platform::Window& window, std::int64_t level);

} // namespace ExtendsWindow
