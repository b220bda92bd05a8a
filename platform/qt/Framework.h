#pragma once

// The framework's shared state behind the public API: the Qt application, the
// event boundary, the registered application object and the windows.

#include "platform/Runtime.h"

#include <QColor>
#include <QKeySequence>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QApplication;
class QWidget;

namespace platform {
class Window;
class MenuItem;
} // namespace platform

namespace platform::qt {

// The process's QApplication: the existing one, adopted, or one created now.
// Raises RuntimeException, before Qt is asked, when the X display cannot be
// opened.
QApplication& EnsureApplication();
// Deletes the QApplication if the framework created it.
void DeleteOwnedApplication();

// The event boundary: calls call through the installed exception helper and
// hands whatever escapes to the unhandled-exception handling, so that no C++
// exception reaches Qt. Returns true when call returned normally. Does nothing
// (and returns false) once an unhandled exception or a quit stopped event
// delivery.
bool Deliver(const std::function<void()>& call);
void SetExceptionHelper(ExceptionHelper helper);
bool EventsStopped();
// Stops event delivery and ends the event loop with exitCode.
void EndEventLoop(int exitCode);
// Called by RuntimeRun before it runs the loop.
bool BeginEventLoop();
void EventLoopReturned();
int ExitCode();

// Windows that exist (for the frontmost-window lookup and the finalisers).
void RegisterLiveWindow(platform::Window* window);
void UnregisterLiveWindow(platform::Window* window);
std::vector<platform::Window*> LiveWindows();
platform::Window* WindowOfWidget(const QWidget* topLevel);
// The framework's references to open windows, held until they close.
void KeepOpen(std::shared_ptr<platform::Window> window);
void ReleaseOpen(const platform::Window* window);
std::vector<std::shared_ptr<platform::Window>> OpenWindows();
void ReleaseAllOpen();
// Destroys the Qt objects of every window still alive (before the Qt
// application goes); the Window objects stay valid but closed.
void DestroyAllNativeWindows();

// Chooses a menu item: the handlers of window (if any), then the
// application's, then the quit item's own action.
void Choose(const std::shared_ptr<platform::MenuItem>& item, platform::Window* window);

// Brings the tray icon up to date with the registered application: its menu
// bar as the menu, its tray tooltip and picture. No menu bar, no tray icon.
void RefreshTray();

// "Cmd+Q" -> Ctrl+Q; "Option" -> Alt. Empty for no shortcut.
QKeySequence ShortcutFor(const std::string& text);
QString ToQt(const std::string& text);
// A colour as &hAARRGGBB, AA counting transparency (0 opaque).
QColor ToQtColor(std::uint32_t color);
std::string FromQt(const QString& text);

} // namespace platform::qt
