#include "PreferencesWindow.h"
#include "Program.h"
#include "UserActions.h"
#include "tests/support/XTools.h"

#include <gtest/gtest.h>

using namespace e2e;

// Registered with two monitors, quill0 and quill1 (scripts/with-x.sh names
// them); these tests add and remove monitors of that one Xvfb screen.
namespace {

QString geometryText(const QRect& r)
{
    // Millimetres for 96 dots per inch.
    return QStringLiteral("%1/%2x%3/%4+%5+%6")
        .arg(r.width())
        .arg(r.width() * 254 / 960)
        .arg(r.height())
        .arg(r.height() * 254 / 960)
        .arg(r.x())
        .arg(r.y());
}

} // namespace

TEST(Displays, MonitorsComeAndGoWhileTheProgramRuns)
{
    std::vector<QRect> screens = monitors();
    ASSERT_EQ(screens.size(), 2u);
    Program program;
    ASSERT_TRUE(program.start());
    ASSERT_TRUE(program.waitForDesktopWindows(2, 15000));
    sleepMs(1000);

    ASSERT_TRUE(deleteMonitor("quill1"));
    ASSERT_TRUE(waitUntil([] { return monitors().size() == 1; }, 5000));
    sleepMs(1500);
    EXPECT_TRUE(program.isRunning());

    // A new monitor in a free corner of the screen, then the second again.
    QRect corner(screens[1].x(), 0, 640, screens[1].y());
    ASSERT_TRUE(setMonitor("quill2", geometryText(corner)));
    ASSERT_TRUE(setMonitor("quill1", geometryText(screens[1])));
    ASSERT_TRUE(waitUntil([] { return monitors().size() == 3; }, 5000));
    sleepMs(1500);
    EXPECT_TRUE(program.isRunning());
    // Windows open at launch and from the boxes only.
    EXPECT_FALSE(contains(framesOf(program.desktopWindows()), corner));
    ASSERT_TRUE(deleteMonitor("quill2"));
    sleepMs(1500);

    EXPECT_TRUE(program.isRunning());
    EXPECT_EQ(program.standardError().toStdString(), "");
    // The main screen keeps its window over its frame.
    EXPECT_TRUE(contains(framesOf(program.desktopWindows()), screens[0]));
}

TEST(Displays, BoxOfAMonitorThatWentAway)
{
    std::vector<QRect> screens = monitors();
    ASSERT_EQ(screens.size(), 2u);
    Program program;
    ASSERT_TRUE(program.start());
    ASSERT_TRUE(program.waitForDesktopWindows(2, 15000));
    std::optional<PreferencesWindow> prefs = openPreferencesByKeys(program);
    ASSERT_TRUE(prefs);

    ASSERT_TRUE(deleteMonitor("quill1"));
    ASSERT_TRUE(waitUntil([] { return monitors().size() == 1; }, 5000));
    sleepMs(1500);
    ASSERT_TRUE(program.isRunning());

    // The box of the screen that went away, clicked three times: cleared,
    // ticked, cleared (or, if the window rebuilt its list, nothing there).
    for (int click = 0; click < 3; ++click) {
        SCOPED_TRACE(testing::Message() << "click " << click);
        prefs->click(1);
        sleepMs(1500);
        ASSERT_TRUE(program.isRunning());
        EXPECT_EQ(program.standardError().toStdString(), "");
        std::vector<WindowId> shown = program.preferencesWindows();
        ASSERT_EQ(shown.size(), 1u);
        prefs = PreferencesWindow(shown.front());
        QImage shot = screenshot();
        // What remains agrees with the main screen's box: one window over
        // the main screen while it is ticked, none for the screen that left.
        bool mainTicked = prefs->ticked(shot, 0);
        EXPECT_TRUE(mainTicked);
        EXPECT_EQ(framesOf(program.desktopWindows()), mainTicked ? std::vector<QRect> { screens[0] } : std::vector<QRect> {});
    }
}
