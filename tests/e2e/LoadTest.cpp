#include "PreferencesWindow.h"
#include "ProgramOnTwoMonitors.h"
#include "UserActions.h"
#include "tests/support/XTools.h"

#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>
#include <iostream>

using namespace e2e;
using namespace xtools;
using Load = ProgramOnTwoMonitors;

namespace {

struct Seen {
    bool ticked[2] = { false, false };
    std::vector<QRect> frames;
    std::vector<QRect> expected;
    bool agree() const { return frames == expected; }
};

// What the boxes show against the desktop windows that exist.
Seen look(const Program& program, const PreferencesWindow& prefs, const std::vector<QRect>& screens)
{
    Seen seen;
    QImage shot = screenshot();
    seen.frames = framesOf(program.desktopWindows());
    for (int i = 0; i < 2; ++i) {
        seen.ticked[i] = prefs.ticked(shot, i);
        if (seen.ticked[i])
            seen.expected.push_back(screens[static_cast<std::size_t>(i)]);
    }
    std::sort(seen.expected.begin(), seen.expected.end(), lessRect);
    return seen;
}

} // namespace

// A thousand and one clicks on one box as fast as xdotool sends them. The
// window manager may swallow a click now and then while it maps a window, so
// the test reads the boxes from the screen rather than counting clicks.
TEST_F(Load, ThousandsOfToggles)
{
    std::optional<PreferencesWindow> prefs = openPreferencesByKeys(program);
    ASSERT_TRUE(prefs);

    auto started = std::chrono::steady_clock::now();
    prefs->clickRepeatedly(1, 1001, 5);
    double clicking = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    // Settled: boxes and windows agree on two looks a second apart.
    Seen seen;
    bool settled = quill_test::WaitUntil(
        [&] {
            Seen first = look(program, *prefs, screens);
            if (!first.agree())
                return false;
            quill_test::Spin(1000);
            seen = look(program, *prefs, screens);
            return seen.agree() && seen.frames == first.frames;
        },
        30000);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::cout << "[ measured ] 1001 clicks sent in " << clicking << " s, settled after " << seconds
              << " s; the box ended " << (seen.ticked[1] ? "ticked" : "cleared") << "\n";
    ASSERT_TRUE(program.isRunning());
    EXPECT_TRUE(settled) << "the boxes and the desktop windows disagree: " << seen.frames.size() << " windows";
    EXPECT_TRUE(seen.ticked[0]);

    // And it still works as before.
    bool wasTicked = seen.ticked[1];
    prefs->click(1);
    EXPECT_TRUE(quill_test::WaitUntil(
        [&] { return (seen = look(program, *prefs, screens)).agree() && seen.ticked[1] != wasTicked; }));
    EXPECT_TRUE(program.isRunning());
    EXPECT_EQ(program.standardError().toStdString(), "");
}
