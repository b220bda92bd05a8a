#pragma once

// The program's X display: tried before Qt connects, so that a missing one is
// an ordinary start-up failure rather than Qt's abort, and watched while the
// application lives, so that a display that goes away ends the program at once
// with one line instead of in destructors that run after Qt has gone.

class QApplication;

namespace platform::qt {

// Raises RuntimeException saying what to set when the X display named by
// DISPLAY cannot be reached or has no screen of the number it names.
void RequireDisplay();
// Watches app's X connection until UnwatchDisplay.
void WatchDisplay(QApplication& app);
void UnwatchDisplay();

} // namespace platform::qt
