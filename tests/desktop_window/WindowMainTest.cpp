#include "WindowMainProbe.h"

#include "desktop_window/MainMenuBar.h"
#include "platform/GL.h"
#include "platform/Label.h"

#include <gtest/gtest.h>

namespace {

// Records which screen index the Open event sees.
class RecordingWindow : public WindowMain {
public:
    using WindowMain::WindowMain;
    void Event_Open() override
    {
        seenInOpen = screen;
        WindowMain::Event_Open();
    }
    std::int64_t seenInOpen = -1;
};

std::shared_ptr<WindowMain> openWindow(platform::Rect bounds)
{
    auto w = std::make_shared<WindowMain>(0);
    w->SetBounds(bounds);
    EXPECT_TRUE(quill_test::WaitUntil([&] { return WindowMainProbe::factor(*w) != 0; })) << "the window never opened";
    return w;
}

std::vector<double> projection(WindowMain& w)
{
    WindowMainProbe::surface(w)->MakeCurrent();
    std::vector<double> m(16);
    glGetDoublev(GL_PROJECTION_MATRIX, m.data());
    return m;
}

} // namespace

TEST(WindowMain, NewWindowStartsEmptyWithItsScreenKnownThroughout)
{
    auto w = std::make_shared<RecordingWindow>(3);
    EXPECT_EQ(w->screen, 3);
    EXPECT_TRUE(WindowMainProbe::sprites(*w).empty());
    EXPECT_FALSE(WindowMainProbe::inited(*w));
    EXPECT_EQ(WindowMainProbe::fps(*w), 0);
    EXPECT_EQ(WindowMainProbe::factor(*w), 0.0f);
    EXPECT_EQ(WindowMainProbe::counter(*w), 0);
    EXPECT_EQ(w->MenuBar(), MainMenuBar::Instance());
    EXPECT_EQ(w->Title(), "Quillamere Live Desktop");
    EXPECT_EQ(w->Type(), platform::Window::TypePlainBox);
    EXPECT_FALSE(w->Resizeable());

    ASSERT_EQ(w->ControlCount(), 4u);
    const char* names[] = { "TimerUpdate", "TimerUpdateFPS", "Surface", "LabelDebug" };
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(w->ControlAt(i)->Name(), names[i]);
    EXPECT_TRUE(std::dynamic_pointer_cast<WindowMain::wrapper_TimerUpdate>(w->ControlAt(0)));
    EXPECT_TRUE(std::dynamic_pointer_cast<WindowMain::wrapper_TimerUpdateFPS>(w->ControlAt(1)));
    auto update = WindowMainProbe::timerUpdate(*w);
    auto spawn = WindowMainProbe::timerUpdateFPS(*w);
    EXPECT_EQ(update->Period(), 35);
    EXPECT_EQ(spawn->Period(), 500);
    for (const auto& t : { update, spawn }) {
        EXPECT_TRUE(t->Enabled());
        EXPECT_EQ(t->RunMode(), platform::Timer::RunModeMultiple);
    }
    auto label = WindowMainProbe::labelDebug(*w);
    EXPECT_FALSE(label->Visible());
    EXPECT_FALSE(label->Enabled());
    EXPECT_EQ(label->Text(), "Untitled");

    ASSERT_TRUE(quill_test::WaitUntil([&] { return w->seenInOpen != -1; }));
    EXPECT_EQ(w->seenInOpen, 3);
    w->Close();
}

TEST(WindowMain, OpenKeepsTheWidthAndSetsFactorAndProjection)
{
    auto w = std::make_shared<WindowMain>(0);
    ASSERT_TRUE(quill_test::WaitUntil([&] { return WindowMainProbe::factor(*w) != 0; }));
    EXPECT_EQ(w->Width(), 926); // nudged up and back
    EXPECT_EQ(WindowMainProbe::factor(*w), 0.926f);
    auto m = projection(*w);
    EXPECT_FLOAT_EQ(m[0], 2.0 / 926);
    EXPECT_FLOAT_EQ(m[5], 2.0 / 648);
    EXPECT_FLOAT_EQ(m[10], -2.0 / 200);
    EXPECT_FLOAT_EQ(m[12], -1.0);
    EXPECT_FLOAT_EQ(m[13], -1.0);
    w->Close();
}

TEST(WindowMain, FactorFollowsTheWidthAlone)
{
    auto w = openWindow({ 0, 0, 800, 600 });
    EXPECT_EQ(WindowMainProbe::factor(*w), 0.8f);
    EXPECT_EQ(static_cast<double>(WindowMainProbe::factor(*w)), 0.800000011920929);

    // Each size is handled as it is set, so the checks follow at once.
    w->SetBounds({ 0, 0, 800, 300 }); // height alone: same factor, new top
    EXPECT_EQ(WindowMainProbe::factor(*w), 0.8f);
    auto m = projection(*w);
    EXPECT_FLOAT_EQ(m[0], 2.0 / 800);
    EXPECT_FLOAT_EQ(m[5], 2.0 / 300);

    w->SetBounds({ 0, 0, 600, 800 }); // taller than wide
    EXPECT_EQ(WindowMainProbe::factor(*w), 0.6f);

    w->SetBounds({ 0, 0, 10, 20 }); // raised to the minimum size
    EXPECT_EQ(w->Width(), 64);
    EXPECT_EQ(w->Height(), 64);
    EXPECT_EQ(WindowMainProbe::factor(*w), static_cast<float>(64 / 1000.0));

    // The surface always covers the whole content area.
    w->SetBounds({ 0, 0, 1200, 700 });
    auto surface = WindowMainProbe::surface(*w);
    EXPECT_EQ(surface->Left(), 0);
    EXPECT_EQ(surface->Top(), 0);
    EXPECT_EQ(surface->Width(), 1200);
    EXPECT_EQ(surface->Height(), 700);
    w->Close();
}

TEST(WindowMain, TimersStopWithTheirWindowAndHoldItOnlyWeakly)
{
    auto w = std::make_shared<WindowMain>(0);
    auto timer = WindowMainProbe::timerUpdate(*w);
    ASSERT_TRUE(quill_test::WaitUntil([&] { return WindowMainProbe::counter(*w) >= 3; }))
        << "the update tick does not run";
    EXPECT_EQ(timer->Window(), w);
    w->Close();
    std::int64_t counted = WindowMainProbe::counter(*w);
    quill_test::Spin(150); // time for three ticks, which must not come
    EXPECT_EQ(WindowMainProbe::counter(*w), counted) << "ticks after close";
    w.reset();
    EXPECT_EQ(timer->Window(), nullptr);
}
