#pragma once

#include "platform/MenuItem.h"

namespace platform {

// The framework's quit item: when no registered handler of its Name returns
// true, choosing it quits the application (platform::Quit(): every open window
// is closed, the event loop returns, exit code 0).
class QuitMenuItem : public MenuItem { };

} // namespace platform
