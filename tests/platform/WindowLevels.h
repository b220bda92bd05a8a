#pragma once

// Window levels as the level tests set them and read them back from X: the
// one account of which hints put a window at the desktop level.

#include "platform/NativeMessage.h"
#include "tests/support/XTools.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <string>

namespace level_test {

using xtools::WindowId;

constexpr std::int64_t desktopLevel = platform::DesktopWindowLevel;
constexpr std::int64_t normalLevel = 0;

inline void setLevel(QWidget& window, std::int64_t level)
{
    platform::objc_msgSend(reinterpret_cast<std::intptr_t>(&window), platform::sel_registerName("setLevel:"), level);
}

// Like the animation window: frameless, covering the screen, its native
// window created before any level is set.
inline std::unique_ptr<QWidget> screenWindow()
{
    auto window = std::make_unique<QWidget>(nullptr, Qt::Window | Qt::FramelessWindowHint);
    window->setGeometry(QGuiApplication::primaryScreen()->geometry());
    window->winId();
    return window;
}

// The desktop level: of the desktop type (a window manager takes the first
// type it knows), kept below the others, left out of taskbar and pager, and
// on every workspace, as the sticky state or as workspace 0xFFFFFFFF (a
// window manager may keep only one of the two).
inline bool atDesktopLevel(WindowId window)
{
    const QStringList types = xtools::propertyValues(window, "_NET_WM_WINDOW_TYPE");
    const QStringList states = xtools::propertyValues(window, "_NET_WM_STATE");
    const bool everyWorkspace = states.contains("_NET_WM_STATE_STICKY")
        || xtools::propertyValues(window, "_NET_WM_DESKTOP") == QStringList { "4294967295" };
    return !types.isEmpty() && types.first() == "_NET_WM_WINDOW_TYPE_DESKTOP" && states.contains("_NET_WM_STATE_BELOW")
        && states.contains("_NET_WM_STATE_SKIP_TASKBAR") && states.contains("_NET_WM_STATE_SKIP_PAGER")
        && everyWorkspace;
}

// An ordinary window: none of the desktop level's hints.
inline bool withoutDesktopHints(WindowId window)
{
    const QStringList types = xtools::propertyValues(window, "_NET_WM_WINDOW_TYPE");
    const QStringList states = xtools::propertyValues(window, "_NET_WM_STATE");
    for (const char* hint :
        { "_NET_WM_STATE_BELOW", "_NET_WM_STATE_STICKY", "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER" })
        if (states.contains(hint))
            return false;
    return !types.contains("_NET_WM_WINDOW_TYPE_DESKTOP")
        && xtools::propertyValues(window, "_NET_WM_DESKTOP") != QStringList { "4294967295" };
}

// The window's hints, and whether it is managed, mapped and its state, for a
// failed expectation.
inline std::string describe(WindowId window)
{
    const QString state = xtools::wmState(window);
    return std::string(xtools::managed(window) ? "managed" : "not managed")
        + (xtools::viewable(window) ? ", viewable" : ", not viewable") + "; WM_STATE "
        + (state.isEmpty() ? "none" : state.toStdString()) + "; type "
        + xtools::propertyValues(window, "_NET_WM_WINDOW_TYPE").join(", ").toStdString() + "; state "
        + xtools::propertyValues(window, "_NET_WM_STATE").join(", ").toStdString() + "; workspace "
        + xtools::propertyValues(window, "_NET_WM_DESKTOP").join(", ").toStdString();
}

} // namespace level_test
