#pragma once

// The framework's own sources reach the private parts of windows and controls
// through this, and nothing else does.

#include "platform/Control.h"
#include "platform/RectControl.h"
#include "platform/Window.h"
#include "platform/qt/RectControlImpl.h"
#include "platform/qt/WindowImpl.h"

#include <string>

namespace platform {

struct WindowAccess {
    static Window::Impl& Of(Window& window) { return *window.impl_; }
    static RectControl::Impl& Of(RectControl& control) { return *control.rectImpl_; }
    static void WindowClosed(Control& control) { control.WindowClosed(); }
    static void Register(Control& control, const std::string& name) { control.name_ = name; }
    static bool BelongsTo(const Control& control, const Window& window) { return control.owner_ == &window; }
};

} // namespace platform
