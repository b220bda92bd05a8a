#pragma once

class QWidget;

namespace platform {

// Workspaces on X11, after the Extended Window Manager Hints: the root's
// _NET_CURRENT_DESKTOP is the workspace shown, a window's _NET_WM_DESKTOP the
// one it is on (0xFFFFFFFF: every workspace).
class X11Workspace {
public:
    // Puts the window on the workspace shown, unless it is on every
    // workspace already: the window asks the window manager, which owns the
    // workspaces of the windows it manages. Without a window manager that
    // keeps workspaces, nothing happens.
    static void MoveToCurrent(QWidget& window);
};

} // namespace platform
