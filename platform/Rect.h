#pragma once

namespace platform {

// A rectangle in global screen coordinates (y grows downward): the framework's
// rectangle type, as taken by Window::SetBounds and returned by Window::Bounds.
struct Rect {
    double Left = 0;
    double Top = 0;
    double Width = 0;
    double Height = 0;
};

} // namespace platform
