// Preferences… while the user looks at another workspace than the one the
// preferences window was left on: the window comes to the workspace shown.
#include "PreferencesWindow.h"
#include "Program.h"
#include "UserActions.h"
#include "tests/support/XTools.h"

#include <gtest/gtest.h>

using namespace e2e;
using namespace xtools;

namespace {

QString shownDesktop() { return run("xdotool", { "get_desktop" }).trimmed(); }

bool showDesktop(const QString& desktop)
{
    run("xdotool", { "set_desktop", desktop });
    return waitUntil([&] { return shownDesktop() == desktop; }, 10000);
}

// The tests after this one start on the first workspace.
struct BackToFirstDesktop {
    ~BackToFirstDesktop() { showDesktop("0"); }
};

} // namespace

TEST(Preferences, PreferencesBringsTheWindowToTheWorkspaceShown)
{
    Program program;
    ASSERT_TRUE(program.start());
    ASSERT_TRUE(program.waitForDesktopWindows(monitors().size(), 15000));
    std::optional<PreferencesWindow> prefs = openPreferencesByKeys(program);
    ASSERT_TRUE(prefs) << "Ctrl+, in an animation window opened no preferences window";

    const BackToFirstDesktop restore;
    ASSERT_TRUE(showDesktop("1"));
    ASSERT_TRUE(waitUntil([&] { return program.preferencesWindows().empty(); }, 10000));

    // The animation windows are on every workspace: Ctrl+, reaches them here too.
    std::optional<PreferencesWindow> again = openPreferencesByKeys(program);
    ASSERT_TRUE(again) << "Ctrl+, left the preferences window on desktop "
                       << propertyValues(prefs->id(), "_NET_WM_DESKTOP").join(", ").toStdString();
    EXPECT_EQ(again->id(), prefs->id());
    EXPECT_EQ(propertyValues(prefs->id(), "_NET_WM_DESKTOP"), QStringList { "1" });
    EXPECT_EQ(shownDesktop(), "1");
    EXPECT_TRUE(waitUntil([&] { return activeWindow() == prefs->id(); }, 5000));
}
