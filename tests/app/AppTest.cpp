// The application object: the windows it opens on the App's Open event, and
// which window covers a screen.
#include "AppTestSupport.h"

#include <algorithm>
#include <deque>

using app_test::RegisteredApp;
using app_test::SameRect;

// Run once per monitor layout: 1, 2 and 3 side by side (QUILL_EXPECT_SCREENS).
class AppOpen : public RegisteredApp { };

TEST_F(AppOpen, OpensOneWindowPerScreenOverItsFullFrame)
{
    const std::int64_t count = platform::Screen::ScreenCount();
    ASSERT_EQ(count, app_test::EnvNumber("QUILL_EXPECT_SCREENS", count))
        << "the display has not the monitors asked for";

    // A strip of 25 pixels along the top is kept free, as by a panel: the
    // windows cover it all the same.
    long right = 0, bottom = 0;
    for (std::int64_t k = 0; k < count; ++k) {
        const platform::Screen s = platform::Screen::ScreenAt(k);
        right = std::max<long>(right, s.Left() + s.Width());
        bottom = std::max<long>(bottom, s.Top() + s.Height());
    }
    ASSERT_TRUE(app_test::SetWorkArea(0, 25, right, bottom - 25));
    for (std::int64_t k = 0; k < count; ++k)
        ASSERT_EQ(platform::Screen::ScreenAt(k).AvailableTop(), 25) << "screen " << k;

    OpenApp();

    ASSERT_EQ(static_cast<std::int64_t>(app->windows.size()), count);
    for (std::int64_t k = 0; k < count; ++k) {
        const auto& window = app->windows[static_cast<std::size_t>(k)];
        const platform::Screen screen = platform::Screen::ScreenAt(k);
        EXPECT_EQ(window->screen, k);
        EXPECT_TRUE(SameRect(window->Bounds(), screen))
            << "window " << k << " at " << window->Bounds().Left << "," << window->Bounds().Top << " "
            << window->Bounds().Width << "x" << window->Bounds().Height;
    }
    // Nothing else opens at launch.
    EXPECT_FALSE(app->prefsWindow);
}

// An App whose screen count follows a script: the display cannot show no
// screen at all, nor change its count in the middle of the loop.
class ScriptedCountApp : public App {
public:
    std::deque<std::int64_t> counts;
    int reads = 0;

protected:
    std::int64_t ScreenCount() const override
    {
        auto* self = const_cast<ScriptedCountApp*>(this);
        ++self->reads;
        if (self->counts.empty())
            return 0;
        const std::int64_t count = self->counts.front();
        if (self->counts.size() > 1)
            self->counts.pop_front();
        return count;
    }
};

class AppOpenScripted : public RegisteredApp {
protected:
    std::shared_ptr<App> MakeApp() override { return std::make_shared<ScriptedCountApp>(); }
    ScriptedCountApp& scripted() { return static_cast<ScriptedCountApp&>(*app); }
};

// Needs two monitors: a count read once would open one window too many or too few.
TEST_F(AppOpenScripted, FollowsTheCountReadOnEveryPass)
{
    ASSERT_EQ(platform::Screen::ScreenCount(), 2);
    struct Case {
        std::deque<std::int64_t> counts;
        std::size_t windows;
    };
    const Case cases[] = {
        { { 0 }, 0 }, // no screen: no window
        { { 2, 1 }, 1 }, // a screen went away after the first window
        { { 1, 2 }, 2 }, // a screen came after the first window
    };
    for (const Case& c : cases) {
        for (auto& w : app->windows)
            w->Close();
        app->windows.clear();
        scripted().counts = c.counts;
        scripted().reads = 0;
        OpenApp();
        EXPECT_EQ(app->windows.size(), c.windows) << "first count " << c.counts.front();
        EXPECT_EQ(scripted().reads, static_cast<int>(c.windows) + 1);
        for (std::size_t k = 0; k < app->windows.size(); ++k)
            EXPECT_EQ(app->windows[k]->screen, static_cast<std::int64_t>(k));
    }
}

class ExistsFor : public RegisteredApp {
protected:
    std::shared_ptr<WindowMain> Add(std::int64_t screen)
    {
        auto w = std::make_shared<WindowMain>(screen);
        app->windows.push_back(w);
        return w;
    }
};

TEST_F(ExistsFor, FindsTheFirstWindowOfTheScreenInTheRegisteredApp)
{
    auto first0 = Add(0);
    auto window1 = Add(1);
    auto second0 = Add(0);

    EXPECT_EQ(app->existsFor(0), first0) << "the earlier of two windows on one screen";
    EXPECT_EQ(app->existsFor(1), window1);
    EXPECT_EQ(app->existsFor(-1), nullptr);
    EXPECT_EQ(app->existsFor(2), nullptr);

    // A screen whose window was taken out of the list has none.
    app->windows.erase(app->windows.begin() + 1);
    EXPECT_EQ(app->existsFor(1), nullptr);

    // Asked through any App object, the answer is the registered one's.
    App other;
    EXPECT_EQ(other.existsFor(0), first0);
}
