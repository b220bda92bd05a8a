#pragma once

// Reaches the Qt widget behind a framework window, for tests that look at or
// drive it as the window system sees it.

#include "platform/Window.h"

#include <QWidget>
#include <cstdint>

namespace quill_test {

// The window's top-level widget, or none once the window is closed.
inline QWidget* TopLevel(const platform::Window& window)
{
    return reinterpret_cast<QWidget*>(static_cast<std::intptr_t>(window.Handle()));
}

} // namespace quill_test
