#pragma once

// The windows that exist, and the framework's references to those that are
// open: for finding the window of a Qt widget, for quitting and for the
// finalisers.

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
// Destroys the Qt objects of every window still alive (before the Qt
// application goes); the Window objects stay valid but closed.
void DestroyAllNativeWindows();

} // namespace platform::qt
