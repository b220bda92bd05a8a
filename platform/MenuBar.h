#pragma once

#include "platform/MenuItem.h"

namespace platform {

// The root of a menu tree: its children are the bar's menus. Install it with
// Application::SetMenuBar (the application-wide bar, also shown as the tray
// icon's menu) and Window::SetMenuBar (shown above a titled window's content
// area, and as the context menu of a plain-box window). A window without a bar
// of its own uses the application's for its shortcuts and context menu.
class MenuBar : public MenuItem { };

} // namespace platform
