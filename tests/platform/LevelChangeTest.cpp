// Level changes that follow one another on a shown window, with no wait in
// between, under openbox (LevelChange) and with no window manager
// (LevelChangeWithoutWm): the window must end up shown again, at the last
// level asked for.
#include "PlatformTestSupport.h"

#include "WindowLevels.h"

#include <QWidget>

#include <cstdint>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

using namespace platform_test;

namespace {

using namespace level_test;
using xtools::managed;
using xtools::stackedBelow;
using xtools::viewable;

// Lower beneath upper among the root's children, as they stand without a
// window manager (xwininfo lists them top first).
bool belowAmongRootChildren(WindowId lower, WindowId upper)
{
    const auto topFirst = xtools::rootChildren();
    const auto a = xtools::indexOf(topFirst, lower);
    const auto b = xtools::indexOf(topFirst, upper);
    return a >= 0 && b >= 0 && a > b;
}

// The window carries the hints of its level, and only those.
bool carriesLevel(WindowId window, bool desktop)
{
    return desktop ? atDesktopLevel(window) : withoutDesktopHints(window);
}

struct Changes {
    const char* name;
    std::int64_t before; // the level set before the first show
    std::vector<std::int64_t> levels; // then set one after another on the shown window
};

const Changes changes[] = {
    { "desktop, normal", normalLevel, { desktopLevel, normalLevel } },
    { "desktop twice", normalLevel, { desktopLevel, desktopLevel } },
    { "normal, desktop", desktopLevel, { normalLevel, desktopLevel } },
    { "desktop twice on the desktop", desktopLevel, { desktopLevel, desktopLevel } },
    { "desktop, normal, desktop", normalLevel, { desktopLevel, normalLevel, desktopLevel } },
    { "normal, desktop, normal", desktopLevel, { normalLevel, desktopLevel, normalLevel } },
};

class LevelChangeBase : public testing::Test {
protected:
    void SetUp() override
    {
        if (!QCoreApplication::instance())
            GTEST_SKIP() << "needs a display";
        otherId_ = xtools::startXlogo(other_, "300x300+100+100");
        ASSERT_NE(otherId_, 0u);
    }

    // A screen window shown at this level.
    static std::unique_ptr<QWidget> shownAt(std::int64_t level)
    {
        auto window = screenWindow();
        setLevel(*window, level);
        window->show();
        return window;
    }

    xtools::Tool other_;
    WindowId otherId_ = 0;
};

class LevelChange : public LevelChangeBase { };
class LevelChangeWithoutWm : public LevelChangeBase { };

} // namespace

TEST_F(LevelChange, BackToBackChangesEndAtTheLastLevelShown)
{
    ASSERT_TRUE(WaitUntil([&] { return managed(otherId_); }));
    for (const auto& c : changes) {
        SCOPED_TRACE(c.name);
        auto window = shownAt(c.before);
        const WindowId id = window->winId();
        ASSERT_TRUE(WaitUntil([&] {
            return managed(id) && viewable(id) && carriesLevel(id, c.before == desktopLevel);
        })) << describe(id);

        for (std::int64_t level : c.levels)
            setLevel(*window, level);

        const bool desktop = c.levels.back() == desktopLevel;
        EXPECT_TRUE(WaitUntil([&] {
            return window->isVisible() && managed(id) && viewable(id) && carriesLevel(id, desktop);
        })) << describe(id);
        // Focused, a screen-sized frameless window is lifted above the others
        // unless it is a desktop window.
        EXPECT_TRUE(xtools::activate(id));
        if (desktop)
            EXPECT_TRUE(stackedBelow(id, otherId_)) << describe(id);
        else
            EXPECT_TRUE(WaitUntil([&] { return stackedBelow(otherId_, id); })) << describe(id);

        window.reset();
        ASSERT_TRUE(WaitUntil([&] { return !managed(id); }));
    }
}

TEST_F(LevelChangeWithoutWm, BackToBackChangesEndAtTheLastLevelShown)
{
    ASSERT_TRUE(WaitUntil([&] { return viewable(otherId_); }));
    for (const auto& c : changes) {
        SCOPED_TRACE(c.name);
        auto window = shownAt(c.before);
        const WindowId id = window->winId();
        ASSERT_TRUE(WaitUntil([&] { return viewable(id); })) << describe(id);

        for (std::int64_t level : c.levels)
            setLevel(*window, level);

        const bool desktop = c.levels.back() == desktopLevel;
        // Without a window manager a desktop window is lowered beneath the others.
        EXPECT_TRUE(WaitUntil([&] {
            return window->isVisible() && viewable(id) && carriesLevel(id, desktop)
                && (!desktop || belowAmongRootChildren(id, otherId_));
        })) << describe(id);
    }
}
