#include "platform/x11/X11Workspace.h"

#include "platform/x11/Xcb.h"

#include <QWidget>

#include <cstring>

namespace platform {

namespace {

    // None where no client has named it yet: then no window carries it.
    xcb_atom_t existingAtom(xcb_connection_t* c, const char* name)
    {
        xcb::Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
            c, xcb_intern_atom(c, 1, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr));
        return reply ? reply->atom : xcb_atom_t { XCB_ATOM_NONE };
    }

} // namespace

void X11Workspace::MoveToCurrent(QWidget& widget)
{
    auto* c = xcb::Connection();
    if (!c || !widget.testAttribute(Qt::WA_WState_Created))
        return;
    const auto window = static_cast<xcb_window_t>(widget.winId());
    const xcb_window_t root = xcb::RootOf(c, window);
    if (root == XCB_WINDOW_NONE)
        return;
    const xcb_atom_t currentDesktop = existingAtom(c, "_NET_CURRENT_DESKTOP");
    const xcb_atom_t wmDesktop = existingAtom(c, "_NET_WM_DESKTOP");
    if (currentDesktop == XCB_ATOM_NONE || wmDesktop == XCB_ATOM_NONE)
        return;
    const std::optional<std::uint32_t> current = xcb::ReadCardinal(c, root, currentDesktop);
    const std::optional<std::uint32_t> desktop = xcb::ReadCardinal(c, window, wmDesktop);
    // A window the window manager does not hold (never shown, or hidden)
    // carries no workspace: it is mapped onto the one shown.
    if (!current || !desktop || *desktop == *current || *desktop == xcb::AllDesktops)
        return;
    xcb::SendToRoot(c, root, window, wmDesktop, { *current, xcb::SourceApplication, 0, 0, 0 });
    xcb_flush(c);
}

} // namespace platform
