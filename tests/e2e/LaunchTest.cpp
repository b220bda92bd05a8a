#include "Program.h"
#include "tests/support/XTools.h"

#include <QProcess>
#include <algorithm>
#include <gtest/gtest.h>

using namespace e2e;

namespace {

std::ptrdiff_t positionIn(const std::vector<WindowId>& list, WindowId id)
{
    auto it = std::find(list.begin(), list.end(), id);
    return it == list.end() ? -1 : it - list.begin();
}

} // namespace

// Registered once with one monitor and once with two of different sizes.
TEST(Launch, OneDesktopWindowPerMonitorBeneathOrdinaryWindows)
{
    std::vector<QRect> screens = monitors();
    ASSERT_FALSE(screens.empty());
    std::sort(screens.begin(), screens.end(), lessRect);
    ASSERT_TRUE(windowManagerRunning());

    Program program;
    ASSERT_TRUE(program.start());
    ASSERT_TRUE(program.waitForDesktopWindows(screens.size(), 15000))
        << "desktop windows: " << program.desktopWindows().size() << ", monitors: " << screens.size();
    std::vector<WindowId> desktops = program.desktopWindows();
    // The frame is set right after the window is made; give the window
    // manager a moment to apply it.
    EXPECT_TRUE(waitUntil([&] { return framesOf(desktops) == screens; }, 5000));
    std::vector<QRect> frames = framesOf(desktops);
    for (std::size_t i = 0; i < screens.size() && i < frames.size(); ++i)
        EXPECT_EQ(frames[i], screens[i]) << "monitor " << i;
    for (WindowId id : desktops) {
        EXPECT_EQ(title(id), "Quillamere Live Desktop");
        EXPECT_TRUE(property(id, "_NET_WM_WINDOW_TYPE").contains("= _NET_WM_WINDOW_TYPE_DESKTOP"))
            << property(id, "_NET_WM_WINDOW_TYPE").toStdString();
        EXPECT_TRUE(contains(clientList(), id));
    }

    QProcess xlogo;
    xlogo.start("xlogo", { "-geometry", "300x300+100+100" });
    ASSERT_TRUE(xlogo.waitForStarted());
    WindowId logo = 0;
    ASSERT_TRUE(waitUntil(
        [&] {
            for (WindowId id : clientList()) {
                if (!contains(desktops, id))
                    logo = id;
            }
            return logo != 0;
        },
        10000));
    // Neither activating nor raising a desktop window lifts it over xlogo.
    // Nothing comes of the raise, so the check follows a short settle.
    for (WindowId id : desktops) {
        EXPECT_TRUE(activate(id)) << "desktop window " << id;
        raise(id);
        sleepMs(500);
        std::vector<WindowId> order = stacking();
        ASSERT_GE(positionIn(order, id), 0);
        ASSERT_GE(positionIn(order, logo), 0);
        EXPECT_LT(positionIn(order, id), positionIn(order, logo)) << "desktop window " << id << " is above xlogo";
    }
    xlogo.kill();
    xlogo.waitForFinished(3000);

    EXPECT_TRUE(program.isRunning());
    EXPECT_EQ(program.standardError().toStdString(), "");
    program.stop();
}
