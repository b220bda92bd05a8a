#include "PreferencesWindow.h"
#include "ProgramOnTwoMonitors.h"
#include "UserActions.h"
#include "tests/support/XTools.h"

#include <QGuiApplication>
#include <algorithm>
#include <gtest/gtest.h>

using namespace e2e;
using namespace xtools;
using Displays = ProgramOnTwoMonitors;

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

// Waits until Qt, here in the test, sees this many screens: the program, a Qt
// client of the same display, is told of the change by the same events.
bool qtSees(std::size_t screens)
{
    ensureGuiApplication();
    return quill_test::WaitUntil(
        [&] { return static_cast<std::size_t>(QGuiApplication::screens().size()) == screens; });
}

// After a change that the program must survive with nothing to show for it,
// a short settle before it is checked: there is no event to wait for.
void settle() { quill_test::Spin(500); }

// The program's windows lie over these frames, and only there.
bool windowsOver(const Program& program, std::vector<QRect> frames)
{
    std::sort(frames.begin(), frames.end(), lessRect);
    return quill_test::WaitUntil([&] { return framesOf(program.desktopWindows()) == frames; });
}

} // namespace

TEST_F(Displays, MonitorsComeAndGoWhileTheProgramRuns)
{
    ASSERT_TRUE(windowsOver(program, screens));
    ASSERT_TRUE(qtSees(2));

    ASSERT_TRUE(deleteMonitor("quill1"));
    ASSERT_TRUE(quill_test::WaitUntil([] { return monitors().size() == 1; }));
    ASSERT_TRUE(qtSees(1));
    settle();
    EXPECT_TRUE(program.isRunning());

    // A new monitor in a free corner of the screen, then the second again.
    QRect corner(screens[1].x(), 0, 640, screens[1].y());
    ASSERT_TRUE(setMonitor("quill2", geometryText(corner)));
    ASSERT_TRUE(setMonitor("quill1", geometryText(screens[1])));
    ASSERT_TRUE(quill_test::WaitUntil([] { return monitors().size() == 3; }));
    ASSERT_TRUE(qtSees(3));
    settle();
    EXPECT_TRUE(program.isRunning());
    // Windows open at launch and from the boxes only.
    EXPECT_FALSE(contains(framesOf(program.desktopWindows()), corner));
    ASSERT_TRUE(deleteMonitor("quill2"));
    ASSERT_TRUE(qtSees(2));
    settle();

    EXPECT_TRUE(program.isRunning());
    EXPECT_EQ(program.standardError().toStdString(), "");
    // The main screen keeps its window over its frame.
    EXPECT_TRUE(contains(framesOf(program.desktopWindows()), screens[0]));
}

TEST_F(Displays, BoxOfAMonitorThatWentAway)
{
    std::optional<PreferencesWindow> prefs = openPreferencesByKeys(program);
    ASSERT_TRUE(prefs);
    ASSERT_TRUE(qtSees(2));

    ASSERT_TRUE(deleteMonitor("quill1"));
    ASSERT_TRUE(quill_test::WaitUntil([] { return monitors().size() == 1; }));
    ASSERT_TRUE(qtSees(1));
    settle();
    ASSERT_TRUE(program.isRunning());

    // The box of the screen that went away, clicked three times: cleared,
    // ticked, cleared (or, if the window rebuilt its list, nothing there).
    for (int click = 0; click < 3; ++click) {
        SCOPED_TRACE(testing::Message() << "click " << click);
        prefs->click(1);
        // The first click closes the window left from the screen that went;
        // the others must change nothing.
        if (click == 0) {
            EXPECT_TRUE(windowsOver(program, { screens[0] }));
        }
        settle();
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
        EXPECT_EQ(
            framesOf(program.desktopWindows()), mainTicked ? std::vector<QRect> { screens[0] } : std::vector<QRect> {});
    }
}
