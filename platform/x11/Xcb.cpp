#include "platform/x11/Xcb.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <algorithm>

namespace platform::xcb {

xcb_connection_t* Connection()
{
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    auto* x11 = app ? app->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_window_t RootOf(xcb_connection_t* c, xcb_window_t window)
{
    Reply<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr));
    return geometry ? geometry->root : xcb_window_t { XCB_WINDOW_NONE };
}

std::optional<std::uint32_t> ReadCardinal(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property)
{
    Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, window, property, XCB_ATOM_CARDINAL, 0, 1), nullptr));
    if (!reply || reply->type != XCB_ATOM_CARDINAL || reply->format != 32 || reply->value_len < 1)
        return std::nullopt;
    return *static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
}

void SendToRoot(
    xcb_connection_t* c, xcb_window_t root, xcb_window_t window, xcb_atom_t type, std::array<std::uint32_t, 5> data)
{
    xcb_client_message_event_t event {};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = type;
    std::copy(data.begin(), data.end(), event.data.data32);
    xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
        reinterpret_cast<const char*>(&event));
}

} // namespace platform::xcb
