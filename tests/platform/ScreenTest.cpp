#include "PlatformTestSupport.h"
#include "tests/support/XTools.h"

#include "platform/RuntimeException.h"
#include "platform/Screen.h"

#include <gtest/gtest.h>

using namespace platform_test;
using platform::Screen;

namespace {

struct Frame {
    std::int64_t left, top, width, height;
};

void expectFrame(const Screen& s, Frame f)
{
    EXPECT_EQ(s.Left(), f.left);
    EXPECT_EQ(s.Top(), f.top);
    EXPECT_EQ(s.Width(), f.width);
    EXPECT_EQ(s.Height(), f.height);
    // No panel or dock on the test display: the available area is the frame.
    EXPECT_EQ(s.AvailableLeft(), f.left);
    EXPECT_EQ(s.AvailableTop(), f.top);
    EXPECT_EQ(s.AvailableWidth(), f.width);
    EXPECT_EQ(s.AvailableHeight(), f.height);
}

} // namespace

TEST(ScreenOne, OneMonitor)
{
    ASSERT_EQ(Screen::ScreenCount(), 1);
    expectFrame(Screen::ScreenAt(0), { 0, 0, 1920, 1080 });
    EXPECT_THROW(Screen::ScreenAt(1), platform::OutOfBoundsException);
    EXPECT_THROW(Screen::ScreenAt(-1), platform::OutOfBoundsException);
}

TEST(ScreenTwo, TwoMonitorsPrimaryFirstAndAScreenThatGoesAway)
{
    ASSERT_EQ(Screen::ScreenCount(), 2);
    const Screen main = Screen::ScreenAt(0);
    const Screen right = Screen::ScreenAt(1);
    expectFrame(main, { 0, 0, 1920, 1080 });
    expectFrame(right, { 1920, 0, 1920, 1080 });

    ASSERT_TRUE(xtools::deleteMonitor("quill1"));
    ASSERT_TRUE(WaitUntil([] { return Screen::ScreenCount() == 1; }));
    // A screen taken before its monitor went keeps its values; its index is gone.
    expectFrame(right, { 1920, 0, 1920, 1080 });
    EXPECT_THROW(Screen::ScreenAt(1), platform::OutOfBoundsException);

    ASSERT_TRUE(xtools::setMonitor("quill1", "1920/508x1080/286+1920+0"));
    ASSERT_TRUE(WaitUntil([] { return Screen::ScreenCount() == 2; }));
    expectFrame(Screen::ScreenAt(1), { 1920, 0, 1920, 1080 });
}
