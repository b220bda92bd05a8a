#pragma once

// Helpers shared by the framework layer's tests: waiting on the real event
// loop and reaching a window's native objects. The X tools, and the probe
// programs, are run through tests/support/XTools.h.

#include "platform/Window.h"
#include "tests/support/EventLoop.h"
#include "tests/support/NativeWidget.h"
#include "tests/support/XTools.h"

namespace platform_test {

using quill_test::Spin;
using quill_test::TopLevel;
using quill_test::WaitUntil;

} // namespace platform_test
