#pragma once

class QWidget;

namespace platform {

// The desktop window level on X11, after the Extended Window Manager Hints:
// a window of type _NET_WM_WINDOW_TYPE_DESKTOP, kept below the others
// (_NET_WM_STATE_BELOW), on every workspace (_NET_WM_DESKTOP 0xFFFFFFFF and
// _NET_WM_STATE_STICKY), left out of taskbar and pager. A window manager acts
// on the hints; without one the window is lowered in the X stacking order
// each time it is mapped.
class X11WindowLevel {
public:
    // Best called after the native window exists and before it is first shown,
    // so that the first map already carries the hints. A window manager reads
    // the type only at map time, so a shown window is unmapped, and mapped
    // again once the manager has let it go (soon after the call returns);
    // further changes before then only change the level it is mapped with.
    static void SetDesktop(QWidget& window);
    // Ordinary stacking: undoes SetDesktop; does nothing to a window that
    // was never put on the desktop.
    static void SetNormal(QWidget& window);
};

} // namespace platform
