#pragma once

// Helpers shared by the framework layer's tests: waiting on the real event
// loop and reaching a window's native objects. The X tools, and the probe
// programs, are run through tests/support/XTools.h.

#include "platform/Window.h"
#include "tests/support/EventLoop.h"
#include "tests/support/XTools.h"

#include <QWidget>
#include <cstdint>

namespace platform_test {

using quill_test::Spin;
using quill_test::WaitUntil;

inline QWidget* TopLevel(const platform::Window& window)
{
    return reinterpret_cast<QWidget*>(static_cast<std::intptr_t>(window.Handle()));
}

} // namespace platform_test
