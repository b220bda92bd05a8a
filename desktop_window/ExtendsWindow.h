#pragma once

#include "platform/NativeMessage.h"

#include <cstdint>

namespace platform {
class Window;
}

namespace ExtendsWindow {

// The window level of the desktop picture: beneath every ordinary window.
inline constexpr std::int64_t DesktopLevel = platform::DesktopWindowLevel;

// Moves the window to the given level by sending "setLevel:" to its native
// window.
void setLevel(platform::Window& window, std::int64_t level);

} // namespace ExtendsWindow
