#pragma once

// The few pieces of xcb that the X11 files share: the application's
// connection, replies freed as xcb wants, and the client messages of the
// Extended Window Manager Hints.

#include <xcb/xcb.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>

namespace platform::xcb {

// _NET_WM_DESKTOP of a window on every workspace.
constexpr std::uint32_t AllDesktops = 0xFFFFFFFF;
// The source indication of a request from an ordinary application.
constexpr std::uint32_t SourceApplication = 1;

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeDeleter>;

// The Qt application's X connection, or none (no application, or not on X11).
xcb_connection_t* Connection();
// The root window of the window's screen, or none.
xcb_window_t RootOf(xcb_connection_t* c, xcb_window_t window);
// The first value of a 32-bit CARDINAL property, or none where it is not set.
std::optional<std::uint32_t> ReadCardinal(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property);
// Sends a client message about window to the root, where the window manager
// listens for requests.
void SendToRoot(
    xcb_connection_t* c, xcb_window_t root, xcb_window_t window, xcb_atom_t type, std::array<std::uint32_t, 5> data);

} // namespace platform::xcb
