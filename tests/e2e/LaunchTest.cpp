#include "Program.h"
#include "tests/support/XTools.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace e2e;
using namespace xtools;

// Registered once with one monitor and once with two of different sizes.
TEST(Launch, OneDesktopWindowPerMonitorBeneathOrdinaryWindows)
{
    std::vector<QRect> screens = monitors();
    ASSERT_FALSE(screens.empty());
    std::sort(screens.begin(), screens.end(), lessRect);
    ASSERT_TRUE(windowManagerRunning());

    Program program;
    ASSERT_TRUE(program.start());
    ASSERT_TRUE(quill_test::WaitUntil([&] { return program.desktopWindows().size() == screens.size(); }))
        << "desktop windows: " << program.desktopWindows().size() << ", monitors: " << screens.size();
    std::vector<WindowId> desktops = program.desktopWindows();
    // The frame is set right after the window is made; give the window
    // manager a moment to apply it.
    EXPECT_TRUE(quill_test::WaitUntil([&] { return framesOf(desktops) == screens; }));
    std::vector<QRect> frames = framesOf(desktops);
    for (std::size_t i = 0; i < screens.size() && i < frames.size(); ++i)
        EXPECT_EQ(frames[i], screens[i]) << "monitor " << i;
    for (WindowId id : desktops) {
        EXPECT_EQ(title(id), "Quillamere Live Desktop");
        EXPECT_TRUE(property(id, "_NET_WM_WINDOW_TYPE").contains("= _NET_WM_WINDOW_TYPE_DESKTOP"))
            << property(id, "_NET_WM_WINDOW_TYPE").toStdString();
        EXPECT_TRUE(contains(clientList(), id));
    }

    Tool xlogo;
    const WindowId logo = startXlogo(xlogo, "300x300+100+100");
    ASSERT_NE(logo, 0u);
    ASSERT_TRUE(quill_test::WaitUntil([&] { return managed(logo); }));
    // Neither activating nor raising a desktop window lifts it over xlogo.
    // Nothing comes of the raise, so the check follows a short settle.
    for (WindowId id : desktops) {
        EXPECT_TRUE(activate(id)) << "desktop window " << id;
        raise(id);
        quill_test::Spin(500);
        std::vector<WindowId> order = stacking();
        ASSERT_GE(indexOf(order, id), 0);
        ASSERT_GE(indexOf(order, logo), 0);
        EXPECT_LT(indexOf(order, id), indexOf(order, logo)) << "desktop window " << id << " is above xlogo";
    }
    xlogo.stop();

    EXPECT_TRUE(program.isRunning());
    EXPECT_EQ(program.standardError().toStdString(), "");
    program.stop();
}
