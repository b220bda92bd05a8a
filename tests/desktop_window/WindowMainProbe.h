#pragma once

#include "desktop_window/WindowMain.h"
#include "platform/OpenGLSurface.h"

#include "tests/support/EventLoop.h"
#include "tests/support/NativeWidget.h"

#include <QSize>
#include <QWidget>
#include <QWindow>

// Opens WindowMain's private state to the tests.
struct WindowMainProbe {
    static SpriteArray& sprites(WindowMain& w) { return w.sprites; }
    static bool& inited(WindowMain& w) { return w.inited; }
    static std::int64_t& fps(WindowMain& w) { return w.fps; }
    static float& factor(WindowMain& w) { return w.factor; }
    static std::int64_t& counter(WindowMain& w) { return w.counter; }
    static std::vector<std::uint32_t>& textureNames(WindowMain& w) { return w.textureNames; }
    static std::shared_ptr<platform::Timer> timerUpdate(WindowMain& w) { return w.TimerUpdate(); }
    static std::shared_ptr<platform::Timer> timerUpdateFPS(WindowMain& w) { return w.TimerUpdateFPS(); }
    static std::shared_ptr<platform::OpenGLSurface> surface(WindowMain& w) { return w.Surface(); }
    static std::shared_ptr<platform::Label> labelDebug(WindowMain& w) { return w.LabelDebug(); }
    static void initialise(WindowMain& w) { w.initialise(); }
    static void loadTextureFromPNGFile(WindowMain& w, const std::string& path) { w.loadTextureFromPNGFile(path); }

    // Stops both ticks so a test drives them by hand.
    static void stopTimers(WindowMain& w)
    {
        w.TimerUpdate()->SetEnabled(false);
        w.TimerUpdateFPS()->SetEnabled(false);
    }
};

// Shown at this size and exposed: the window system's reports of the
// window's opening have come in.
inline bool shownAt(const platform::Window& w, QSize size)
{
    QWidget* top = quill_test::TopLevel(w);
    return top && top->isVisible() && top->windowHandle() && top->windowHandle()->isExposed() && top->size() == size;
}

// The X window id behind a window's handle.
inline unsigned long xWindowOf(const platform::Window& w) { return quill_test::TopLevel(w)->winId(); }
