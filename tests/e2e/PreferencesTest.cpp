#include "PreferencesWindow.h"
#include "ProgramOnTwoMonitors.h"
#include "UserActions.h"
#include "tests/support/XTools.h"

#include <gtest/gtest.h>

using namespace e2e;
using namespace xtools;
using Preferences = ProgramOnTwoMonitors;

namespace {

// The desktop window that covers the frame exactly, or 0.
WindowId windowOver(const Program& program, const QRect& frame)
{
    for (WindowId id : program.desktopWindows()) {
        if (geometry(id) == frame)
            return id;
    }
    return 0;
}

const QStringList captions { "Main Screen", "Display 0", "Display 1", "Display 2", "Untitled" };

} // namespace

TEST_F(Preferences, BoxesSwitchEachScreenAndCloseWithTheirWindow)
{
    ASSERT_TRUE(
        quill_test::WaitUntil([&] { return windowOver(program, screens[0]) && windowOver(program, screens[1]); }));

    std::optional<PreferencesWindow> prefs = openPreferencesByKeys(program);
    ASSERT_TRUE(prefs) << "Ctrl+, in an animation window opened no preferences window";
    EXPECT_EQ(title(prefs->id()), "Quillamere Preferences");
    EXPECT_EQ(prefs->content().size(), QSize(424, 264));
    // Centred on the main monitor, its content area 200 pixels below the top.
    EXPECT_EQ(prefs->content().topLeft(),
        QPoint(screens[0].x() + (screens[0].width() - PreferencesWindow::contentWidth) / 2, screens[0].y() + 200));
    EXPECT_FALSE(property(prefs->id(), "_NET_WM_WINDOW_TYPE").contains("DESKTOP"));
    QImage shot = screenshot();
    EXPECT_EQ(prefs->caption(shot, 0, captions), "Main Screen");
    EXPECT_EQ(prefs->caption(shot, 1, captions), "Display 1");
    EXPECT_TRUE(prefs->ticked(shot, 0));
    EXPECT_TRUE(prefs->ticked(shot, 1));

    // Preferences… again shows the same window. A second window would take
    // a moment to appear, and nothing else shows that the key was taken.
    ASSERT_TRUE(activate(windowOver(program, screens[0])));
    key("ctrl+comma");
    quill_test::Spin(500);
    EXPECT_EQ(program.preferencesWindows(), std::vector<WindowId> { prefs->id() });

    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(testing::Message() << "box " << i);
        WindowId before = windowOver(program, screens[i]);
        WindowId other = windowOver(program, screens[1 - i]);
        prefs->click(i);
        EXPECT_TRUE(quill_test::WaitUntil([&] { return !contains(clientList(), before); }))
            << "clearing the box left the screen's window";
        EXPECT_EQ(program.desktopWindows(), std::vector<WindowId> { other });
        EXPECT_FALSE(prefs->ticked(screenshot(), i));

        prefs->click(i);
        WindowId again = 0;
        EXPECT_TRUE(quill_test::WaitUntil([&] { return (again = windowOver(program, screens[i])) != 0; }))
            << "ticking the box opened no window over the screen's full frame";
        EXPECT_EQ(program.desktopWindows().size(), 2u);
        if (again) {
            EXPECT_TRUE(property(again, "_NET_WM_WINDOW_TYPE").contains("= _NET_WM_WINDOW_TYPE_DESKTOP"));
            std::vector<WindowId> order = stacking();
            EXPECT_LT(std::find(order.begin(), order.end(), again), std::find(order.begin(), order.end(), prefs->id()))
                << "the new desktop window is above the preferences window";
        }
        EXPECT_TRUE(prefs->ticked(screenshot(), i));
    }

    // Ctrl+W closes the preferences window only.
    ASSERT_TRUE(activate(prefs->id()));
    key("ctrl+w");
    EXPECT_TRUE(quill_test::WaitUntil([&] { return program.preferencesWindows().empty(); }));
    EXPECT_EQ(program.desktopWindows().size(), 2u);

    // A new preferences window shows the windows as they stand.
    prefs = openPreferencesByKeys(program);
    ASSERT_TRUE(prefs);
    prefs->click(1);
    EXPECT_TRUE(quill_test::WaitUntil([&] { return program.desktopWindows().size() == 1; }));
    ASSERT_TRUE(activate(prefs->id()));
    key("ctrl+w");
    EXPECT_TRUE(quill_test::WaitUntil([&] { return program.preferencesWindows().empty(); }));
    prefs = openPreferencesByKeys(program);
    ASSERT_TRUE(prefs);
    shot = screenshot();
    EXPECT_TRUE(prefs->ticked(shot, 0));
    EXPECT_FALSE(prefs->ticked(shot, 1));
    prefs->click(1);
    EXPECT_TRUE(quill_test::WaitUntil([&] { return windowOver(program, screens[1]) != 0; }));

    EXPECT_TRUE(program.isRunning());
    EXPECT_EQ(program.standardError().toStdString(), "");
}
