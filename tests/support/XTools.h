#pragma once

// Small wrappers around the X command-line tools (xprop, xwininfo, xrandr,
// xdotool, import) through which the tests see and drive the display, as a
// user's tools would.
//
// The tests that open windows of their own call these from the thread of
// their QApplication: while a tool runs or a wait polls, that application's
// event loop keeps going, so that its windows answer the window manager and
// go on drawing. Without an application (the end-to-end tests) they simply
// block. Waits go through quill_test::WaitUntil (EventLoop.h).

#include "tests/support/EventLoop.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

class QProcess;

namespace xtools {

using WindowId = unsigned long;

// Runs a tool to completion and returns its standard output.
QString run(const QString& program, const QStringList& arguments, int timeoutMs = 10000);

// What a program run to its end left behind.
struct Finished {
    int exitCode = -1; // -1 unless it exited by itself
    bool crashed = false; // ended by a signal, or killed when its time was up
    std::string out;
    std::string err;
};

// Runs a program (a tool or a test's own probe) to its end, killed by its
// PID after timeoutMs, with the NAME=value entries added to its environment.
Finished runToEnd(
    const QString& program, const QStringList& arguments, const QStringList& environment = {}, int timeoutMs = 20000);

// A program that runs beside the test (another client's window, a tray, a
// window manager) until stop() or the end of its scope; stopped by its PID.
class Tool {
public:
    Tool();
    ~Tool();
    Tool(const Tool&) = delete;
    Tool& operator=(const Tool&) = delete;

    // The NAME=value entries are added to its environment; its output is
    // kept for output() unless quiet.
    bool start(
        const QString& program, const QStringList& arguments, const QStringList& environment = {}, bool quiet = true);
    qint64 pid() const;
    bool running() const;
    // Its standard output so far.
    QString output();
    // Kills it (SIGKILL) and reaps it.
    void stop();
    // Asks it to end (SIGTERM), as the end of a session would, and waits
    // until it has; true if it ended in time.
    bool terminate(int timeoutMs = 20000);

private:
    std::unique_ptr<QProcess> process_;
};

// Starts xlogo, an ordinary window of another client, at the X geometry
// given; its window once it is mapped, or 0.
WindowId startXlogo(Tool& xlogo, const QString& geometry, int timeoutMs = 20000);
// Starts trayer, a system tray, along the bottom edge; true once its panel shows.
bool startTray(Tool& tray);
// The frames, in root coordinates, of the icons of this WM_CLASS embedded in the tray.
std::vector<QRect> trayIcons(const Tool& tray, const QString& className);

// The RandR monitors, the primary first, then in xrandr's order.
std::vector<QRect> monitors();
bool setMonitor(const QString& name, const QString& geometry);
bool deleteMonitor(const QString& name);

bool windowManagerRunning();
std::vector<WindowId> clientList();
// _NET_CLIENT_LIST_STACKING, bottom first.
std::vector<WindowId> stacking();
// Whether the window manager manages the window (it is in the stacking list).
bool managed(WindowId window);
// Whether both are managed and lower is stacked beneath upper.
bool stackedBelow(WindowId lower, WindowId upper);
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
// The property's values (atoms, numbers), none when it is not set.
QStringList propertyValues(WindowId window, const QString& name);
// Sets a property of the root window, as xprop -f NAME FORMAT -set NAME VALUE.
void setRootProperty(const QString& name, const QString& format, const QString& value);
// The ICCCM state the window manager gave the window: "Normal", "Iconic", or none.
QString wmState(WindowId window);
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
bool activate(WindowId window, int timeoutMs = 20000);
// Asks the X server to raise the window, as another program might.
void raise(WindowId window);
// Asks the window manager to minimise the window, as a taskbar would.
void minimize(WindowId window);
// Asks for a new size, as a user's drag of the frame would, and returns once
// the window has it (or xdotool gave up).
void resize(WindowId window, QSize size);
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

// The value's place in the list, or -1.
template <typename T> std::ptrdiff_t indexOf(const std::vector<T>& list, const T& value)
{
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i] == value)
            return static_cast<std::ptrdiff_t>(i);
    }
    return -1;
}

} // namespace xtools
