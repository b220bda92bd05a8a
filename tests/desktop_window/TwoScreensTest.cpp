#include "WindowMainProbe.h"

#include "platform/GL.h"
#include "platform/Screen.h"

#include <gtest/gtest.h>

// Two monitors of different widths, one window each.
TEST(TwoScreens, WindowsKeepTheirOwnListsCountersFactorsAndTextures)
{
    ASSERT_EQ(platform::Screen::ScreenCount(), 2);
    std::shared_ptr<WindowMain> windows[2];
    for (std::int64_t i = 0; i < 2; ++i) {
        auto screen = platform::Screen::ScreenAt(i);
        windows[i] = std::make_shared<WindowMain>(i);
        windows[i]->SetBounds({ static_cast<double>(screen.Left()), static_cast<double>(screen.Top()),
            static_cast<double>(screen.Width()), static_cast<double>(screen.Height()) });
    }
    auto& a = *windows[0];
    auto& b = *windows[1];
    // Both open, draw their first frame (loading their textures) and tick.
    ASSERT_TRUE(quill_test::WaitUntil([&] {
        return WindowMainProbe::textureNames(a).size() == 163 && WindowMainProbe::textureNames(b).size() == 163
            && !WindowMainProbe::sprites(a).empty() && !WindowMainProbe::sprites(b).empty();
    }));
    WindowMainProbe::stopTimers(a);
    WindowMainProbe::stopTimers(b);
    EXPECT_EQ(WindowMainProbe::factor(a), 1.6f);
    EXPECT_EQ(WindowMainProbe::factor(b), 1.28f);

    for (const auto& s : WindowMainProbe::sprites(a))
        for (const auto& t : WindowMainProbe::sprites(b))
            EXPECT_NE(s, t);
    std::int64_t before = WindowMainProbe::counter(b);
    a.TimerUpdate_Action(*WindowMainProbe::timerUpdate(a));
    EXPECT_EQ(WindowMainProbe::counter(b), before);

    // Each context holds its own 163 textures.
    WindowMainProbe::surface(a)->MakeCurrent();
    for (auto name : WindowMainProbe::textureNames(a))
        ASSERT_TRUE(glIsTexture(name));
    a.Close();
    b.Close();
}
