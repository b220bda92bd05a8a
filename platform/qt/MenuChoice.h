#pragma once

// Which code answers a chosen menu item (a click, a shortcut such as Ctrl+W,
// the tray's menu): the handlers of the window it was chosen in, then the
// application's, then the quit item's own action.

#include <memory>

namespace platform {
class Window;
class MenuItem;
} // namespace platform

namespace platform::qt {

// window is the frontmost window of the program, or none.
void Choose(const std::shared_ptr<platform::MenuItem>& item, platform::Window* window);

} // namespace platform::qt
