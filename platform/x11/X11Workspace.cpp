#include "platform/x11/X11Workspace.h"

#include <QGuiApplication>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>

namespace platform {

namespace {

    constexpr std::uint32_t allDesktops = 0xFFFFFFFF;
    constexpr std::uint32_t sourceApplication = 1;

    struct FreeDeleter {
        void operator()(void* p) const { std::free(p); }
    };
    template <typename T> using Reply = std::unique_ptr<T, FreeDeleter>;

    xcb_connection_t* x11Connection()
    {
        auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
        auto* x11 = app ? app->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
        return x11 ? x11->connection() : nullptr;
    }

    // None where no client has named it yet: then no window carries it.
    xcb_atom_t existingAtom(xcb_connection_t* c, const char* name)
    {
        Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
            c, xcb_intern_atom(c, 1, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr));
        return reply ? reply->atom : xcb_atom_t { XCB_ATOM_NONE };
    }

    std::optional<std::uint32_t> readCardinal(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property)
    {
        Reply<xcb_get_property_reply_t> reply(
            xcb_get_property_reply(c, xcb_get_property(c, 0, window, property, XCB_ATOM_CARDINAL, 0, 1), nullptr));
        if (!reply || reply->type != XCB_ATOM_CARDINAL || reply->format != 32 || reply->value_len < 1)
            return std::nullopt;
        return *static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    }

    xcb_window_t rootOf(xcb_connection_t* c, xcb_window_t window)
    {
        Reply<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr));
        return geometry ? geometry->root : xcb_window_t { XCB_WINDOW_NONE };
    }

} // namespace

void X11Workspace::MoveToCurrent(QWidget& widget)
{
    auto* c = x11Connection();
    if (!c || !widget.testAttribute(Qt::WA_WState_Created))
        return;
    const auto window = static_cast<xcb_window_t>(widget.winId());
    const xcb_window_t root = rootOf(c, window);
    if (root == XCB_WINDOW_NONE)
        return;
    const xcb_atom_t currentDesktop = existingAtom(c, "_NET_CURRENT_DESKTOP");
    const xcb_atom_t wmDesktop = existingAtom(c, "_NET_WM_DESKTOP");
    if (currentDesktop == XCB_ATOM_NONE || wmDesktop == XCB_ATOM_NONE)
        return;
    const std::optional<std::uint32_t> current = readCardinal(c, root, currentDesktop);
    const std::optional<std::uint32_t> desktop = readCardinal(c, window, wmDesktop);
    // A window the window manager does not hold (never shown, or hidden)
    // carries no workspace: it is mapped onto the one shown.
    if (!current || !desktop || *desktop == *current || *desktop == allDesktops)
        return;
    xcb_client_message_event_t event {};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = wmDesktop;
    event.data.data32[0] = *current;
    event.data.data32[1] = sourceApplication;
    xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
        reinterpret_cast<const char*>(&event));
    xcb_flush(c);
}

} // namespace platform
