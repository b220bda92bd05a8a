#pragma once

// Small wrappers around the X command-line tools (xprop, xwininfo, xrandr,
// xdotool, import) through which the tests see and drive the display, as a
// user's tools would.
//
// The tests that open windows of their own call these from the thread of
// their QApplication: while a tool runs or a wait polls, that application's
// event loop keeps going, so that its windows answer the window manager and
// go on drawing. Without an application (the end-to-end tests) they simply
// block.

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace xtools {

using WindowId = unsigned long;

// Runs a tool to completion and returns its standard output.
QString run(const QString& program, const QStringList& arguments, int timeoutMs = 10000);

// Lets ms milliseconds pass. Only for a check that nothing happens: wait for
// anything that should happen with waitUntil.
void sleepMs(int ms);

// Polls the condition until it holds or the time is up; true if it held.
bool waitUntil(const std::function<bool()>& condition, int timeoutMs, int stepMs = 100);

// The RandR monitors, the primary first, then in xrandr's order.
std::vector<QRect> monitors();
bool setMonitor(const QString& name, const QString& geometry);
bool deleteMonitor(const QString& name);

bool windowManagerRunning();
std::vector<WindowId> clientList();
// _NET_CLIENT_LIST_STACKING, bottom first.
std::vector<WindowId> stacking();
// Managed windows under a window manager, else the root's children.
std::vector<WindowId> topLevelWindows();
// The root's children in stacking order, top first.
std::vector<WindowId> rootChildren();
// Mapped windows whose WM_CLASS instance name is this one.
std::vector<WindowId> visibleWindowsOfClass(const QString& className);
// Mapped top-level windows of a process whose title matches the pattern
// (an extended regular expression, as xdotool takes it).
std::vector<WindowId> visibleWindows(qint64 pid, const QString& titlePattern);
// Mapped popup menus of a process.
std::vector<WindowId> popupMenus(qint64 pid);

// xprop's line for the property: "NAME(TYPE) = value, value", or a line
// saying it is not set.
QString property(WindowId window, const QString& name);
// Whether the window and all its ancestors are mapped.
bool viewable(WindowId window);
QString title(WindowId window);
// Position and size of the window's own area, in root coordinates.
QRect geometry(WindowId window);
// Orders frames left to right, then top to bottom.
bool lessRect(const QRect& a, const QRect& b);
// The frames of these windows, in lessRect order.
std::vector<QRect> framesOf(const std::vector<WindowId>& windows);

WindowId activeWindow();
// Asks the window manager to activate the window; true once it is active.
bool activate(WindowId window, int timeoutMs = 10000);
// Asks the X server to raise the window, as another program might.
void raise(WindowId window);
// Key combinations separated by spaces, pressed in turn.
void key(const QString& keys);
void click(QPoint at, int button = 1);
void clickRepeatedly(QPoint at, int repeat, int delayMs);

QImage screenshot();

template <typename T> bool contains(const std::vector<T>& list, const T& value)
{
    for (const T& item : list) {
        if (item == value)
            return true;
    }
    return false;
}

} // namespace xtools
