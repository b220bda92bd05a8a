// The desktop level on a real X server: the raw EWMH properties that the
// window carries and where the window ends up in the stacking order, under
// openbox (WindowLevel) and with no window manager (WindowLevelWithoutWm).
#include "platform/NativeMessage.h"
#include "platform/RuntimeException.h"
#include "platform/UnrecognizedSelectorException.h"
#include "tests/support/XTools.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr std::int64_t desktopLevel = platform::DesktopWindowLevel;
// The same 32 bits as the desktop level, read as unsigned: an ordinary level.
constexpr std::int64_t unsignedLookalike = 2147483673;

using xtools::managed;
using xtools::stackedBelow;
using xtools::WindowId;

// The atoms or numbers of a window property, as xprop prints them.
QStringList property(WindowId window, const char* name) { return xtools::propertyValues(window, name); }

bool hasDesktopType(WindowId window)
{
    // A window manager takes the first type it knows.
    const QStringList types = property(window, "_NET_WM_WINDOW_TYPE");
    return !types.isEmpty() && types.first() == "_NET_WM_WINDOW_TYPE_DESKTOP";
}

bool hasDesktopStates(WindowId window)
{
    const QStringList states = property(window, "_NET_WM_STATE");
    const bool sticky = states.contains("_NET_WM_STATE_STICKY")
        || property(window, "_NET_WM_DESKTOP") == QStringList { "4294967295" };
    return states.contains("_NET_WM_STATE_BELOW") && states.contains("_NET_WM_STATE_SKIP_TASKBAR")
        && states.contains("_NET_WM_STATE_SKIP_PAGER") && sticky;
}

bool hasNoDesktopHint(WindowId window)
{
    const QStringList types = property(window, "_NET_WM_WINDOW_TYPE");
    const QStringList states = property(window, "_NET_WM_STATE");
    for (const char* hint :
        { "_NET_WM_STATE_BELOW", "_NET_WM_STATE_STICKY", "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER" })
        if (states.contains(hint))
            return false;
    return !types.contains("_NET_WM_WINDOW_TYPE_DESKTOP");
}

// What a failed expectation prints about a window.
std::string describe(WindowId window)
{
    return (managed(window) ? "managed; type " : "not managed; type ")
        + property(window, "_NET_WM_WINDOW_TYPE").join(", ").toStdString() + "; state "
        + property(window, "_NET_WM_STATE").join(", ").toStdString() + "; desktop "
        + property(window, "_NET_WM_DESKTOP").join(", ").toStdString();
}

void setLevel(QWidget& window, std::int64_t level)
{
    platform::objc_msgSend(reinterpret_cast<std::intptr_t>(&window), platform::sel_registerName("setLevel:"), level);
}

// Like the animation window: frameless, covering the screen, native window
// created before the level is set.
std::unique_ptr<QWidget> screenWindow()
{
    auto window = std::make_unique<QWidget>(nullptr, Qt::Window | Qt::FramelessWindowHint);
    window->setGeometry(QGuiApplication::primaryScreen()->geometry());
    window->winId();
    return window;
}

class WindowLevelBase : public testing::Test {
protected:
    void SetUp() override
    {
        if (!QCoreApplication::instance())
            GTEST_SKIP() << "needs a display";
    }

    // An ordinary window of another client.
    WindowId startXlogo() { return xtools::startXlogo(xlogo_, "300x300+100+100"); }

    xtools::Tool xlogo_;
};

class WindowLevel : public WindowLevelBase {
protected:
    // Activates and raises window the way a user or another program might;
    // true once the window manager has made it the active window.
    static bool activateAndRaise(WindowId window)
    {
        const bool active = xtools::activate(window);
        xtools::raise(window);
        return active;
    }

    // Whether lower is still beneath upper a moment after the window
    // manager was asked to lift lower: nothing should come of it, so there
    // is no event to wait for.
    static bool staysBelow(WindowId lower, WindowId upper)
    {
        quill_test::Spin(500);
        return stackedBelow(lower, upper);
    }
};

class WindowLevelWithoutWm : public WindowLevelBase { };

} // namespace

TEST_F(WindowLevel, DesktopWindowCarriesTheHintsAndStaysBelow)
{
    const WindowId other = startXlogo();
    ASSERT_TRUE(other != 0 && quill_test::WaitUntil([&] { return managed(other); }))
        << other << ": " << describe(other);

    auto window = screenWindow();
    const WindowId id = window->winId();
    setLevel(*window, desktopLevel);
    window->show();
    ASSERT_TRUE(quill_test::WaitUntil([&] { return managed(id); }));

    for (const char* pass : { "first map", "mapped again" }) {
        SCOPED_TRACE(pass);
        EXPECT_TRUE(hasDesktopType(id)) << describe(id);
        EXPECT_TRUE(quill_test::WaitUntil([&] { return hasDesktopStates(id); })) << describe(id);
        EXPECT_TRUE(activateAndRaise(id)) << describe(id);
        EXPECT_TRUE(staysBelow(id, other));

        window->hide();
        ASSERT_TRUE(quill_test::WaitUntil([&] { return !managed(id); }));
        window->show();
        ASSERT_TRUE(quill_test::WaitUntil([&] { return managed(id); }));
    }
}

TEST_F(WindowLevel, OtherLevelsStackNormally)
{
    const WindowId other = startXlogo();
    ASSERT_TRUE(other != 0 && quill_test::WaitUntil([&] { return managed(other); }))
        << other << ": " << describe(other);

    for (std::int64_t level : { std::int64_t { 0 }, unsignedLookalike }) {
        SCOPED_TRACE(level);
        auto window = screenWindow();
        const WindowId id = window->winId();
        setLevel(*window, level);
        window->show();
        ASSERT_TRUE(quill_test::WaitUntil([&] { return managed(id); }));
        EXPECT_TRUE(activateAndRaise(id));
        EXPECT_TRUE(quill_test::WaitUntil([&] { return stackedBelow(other, id); }));
        EXPECT_TRUE(hasNoDesktopHint(id)) << describe(id);
    }
}

TEST_F(WindowLevel, LevelChangesOnAShownWindow)
{
    const WindowId other = startXlogo();
    ASSERT_TRUE(other != 0 && quill_test::WaitUntil([&] { return managed(other); }))
        << other << ": " << describe(other);
    auto window = screenWindow();
    const WindowId id = window->winId();
    window->show();
    ASSERT_TRUE(quill_test::WaitUntil([&] { return managed(id); }));

    setLevel(*window, desktopLevel);
    EXPECT_TRUE(quill_test::WaitUntil([&] { return managed(id) && hasDesktopType(id) && hasDesktopStates(id); }))
        << describe(id);
    EXPECT_TRUE(activateAndRaise(id)) << describe(id);
    EXPECT_TRUE(staysBelow(id, other));
    EXPECT_TRUE(window->isVisible());

    setLevel(*window, 0);
    EXPECT_TRUE(quill_test::WaitUntil([&] { return managed(id) && hasNoDesktopHint(id); })) << describe(id);
    EXPECT_TRUE(activateAndRaise(id));
    EXPECT_TRUE(quill_test::WaitUntil([&] { return stackedBelow(other, id); }));
}

TEST_F(WindowLevel, OnlyWindowsOfThisProgramReceiveMessages)
{
    auto window = screenWindow();
    auto* child = new QWidget(window.get());
    int local = 0;
    const auto selector = platform::sel_registerName("setLevel:");
    for (std::int64_t handle : { std::int64_t { 0 }, std::int64_t { 12345 }, reinterpret_cast<std::int64_t>(child),
             reinterpret_cast<std::int64_t>(&local) })
        EXPECT_THROW(platform::objc_msgSend(handle, selector, desktopLevel), platform::NilObjectException) << handle;

    EXPECT_THROW(platform::objc_msgSend(
                     reinterpret_cast<std::intptr_t>(window.get()), platform::sel_registerName("orderOut:"), 0),
        platform::UnrecognizedSelectorException);
    EXPECT_THROW(platform::sel_registerName(nullptr), platform::NilObjectException);
    EXPECT_FALSE(window->testAttribute(Qt::WA_X11NetWmWindowTypeDesktop));
}

TEST_F(WindowLevelWithoutWm, DesktopWindowIsLoweredEachTimeItIsMapped)
{
    const WindowId other = startXlogo();
    ASSERT_TRUE(other != 0 && quill_test::WaitUntil([&] { return xtools::viewable(other); }));

    auto window = screenWindow();
    const WindowId id = window->winId();
    setLevel(*window, desktopLevel);
    const auto lowest = [&] {
        const auto ids = xtools::rootChildren();
        const auto a = xtools::indexOf(ids, id);
        const auto b = xtools::indexOf(ids, other);
        return b >= 0 && a > b && xtools::viewable(id);
    };
    for (const char* pass : { "first map", "mapped again" }) {
        SCOPED_TRACE(pass);
        window->show();
        EXPECT_TRUE(quill_test::WaitUntil(lowest));
        window->hide();
        ASSERT_TRUE(quill_test::WaitUntil([&] { return !xtools::viewable(id); }));
    }
}
