#pragma once

// The windows that exist, and the framework's references to those that are
// open: for finding the window of a Qt widget, for quitting and for the
// finalisers.

#include <functional>
#include <memory>
#include <vector>

class QWidget;

namespace platform {
class Window;
}

namespace platform::qt {

void RegisterLiveWindow(platform::Window* window);
void UnregisterLiveWindow(platform::Window* window);
std::vector<platform::Window*> LiveWindows();
// The window whose top-level widget topLevel is, or none.
platform::Window* WindowOfWidget(const QWidget* topLevel);
// The framework's references to open windows, held until they close.
void KeepOpen(std::shared_ptr<platform::Window> window);
void ReleaseOpen(const platform::Window* window);
std::vector<std::shared_ptr<platform::Window>> OpenWindows();
void ReleaseAllOpen();
// Whether a window is open, or constructed and about to open.
bool AnyWindowOpenOrOpening();
// Called whenever ReleaseOpen releases the last open window (none: nothing).
void OnLastWindowClosed(std::function<void()> call);
// Closes an open window without raising its Close event (once events have
// stopped): hides it, tears it down and releases the framework's reference.
void CloseWithoutEvent(platform::Window& window);
// Destroys the Qt objects of every window still alive (before the Qt
// application goes); the Window objects stay valid but closed.
void DestroyAllNativeWindows();

} // namespace platform::qt
