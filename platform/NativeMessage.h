#pragma once

#include "platform/Selector.h"

#include <cstdint>

// Messages to the native window behind a Window's Handle, in the manner of
// libobjc's sel_registerName and objc_msgSend.
//
// The one message understood is "setLevel:" with a 64-bit signed level:
// the desktop level, DesktopWindowLevel, puts the window on the desktop,
// beneath every ordinary window, on every workspace and out of the taskbar
// and pager; any other level gives the window ordinary stacking.
namespace platform {

// The desktop level: -2147483623.
inline constexpr std::int64_t DesktopWindowLevel = std::int64_t { INT32_MIN } + 25;

// The selector named name, looked up afresh on every call. A null name
// raises NilObjectException.
Selector sel_registerName(const char* name);

// Sends selector with one integer argument to the native object receiver, the
// Handle of one of this process's top-level windows. A receiver that is not
// such a window (none included) raises NilObjectException; a selector the
// window does not understand raises UnrecognizedSelectorException.
void objc_msgSend(std::int64_t receiver, const Selector& selector, std::int64_t argument);

} // namespace platform
