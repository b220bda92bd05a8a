// The desktop level on a real X server: the raw EWMH properties that the
// window carries and where the window ends up in the stacking order, under
// openbox (WindowLevel) and with no window manager (WindowLevelWithoutWm).
#include "WindowLevels.h"
#include "platform/NativeMessage.h"
#include "platform/RuntimeException.h"
#include "platform/UnrecognizedSelectorException.h"

#include <QCoreApplication>
#include <QWidget>

#include <cstdint>
#include <gtest/gtest.h>
#include <memory>

namespace {

using namespace level_test;
using xtools::managed;
using xtools::stackedBelow;

// The same 32 bits as the desktop level, read as unsigned: an ordinary level.
constexpr std::int64_t unsignedLookalike = 2147483673;

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
        EXPECT_TRUE(quill_test::WaitUntil([&] { return atDesktopLevel(id); })) << describe(id);
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
        EXPECT_TRUE(withoutDesktopHints(id)) << describe(id);
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
    EXPECT_TRUE(quill_test::WaitUntil([&] { return managed(id) && atDesktopLevel(id); })) << describe(id);
    EXPECT_TRUE(activateAndRaise(id)) << describe(id);
    EXPECT_TRUE(staysBelow(id, other));
    EXPECT_TRUE(window->isVisible());

    setLevel(*window, 0);
    EXPECT_TRUE(quill_test::WaitUntil([&] { return managed(id) && withoutDesktopHints(id); })) << describe(id);
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
