// Preferences… while the user looks at another workspace than the one the
// preferences window was left on: the window comes to the workspace shown.
#include "PreferencesWindow.h"
#include "ProgramOnTwoMonitors.h"
#include "UserActions.h"
#include "tests/support/XTools.h"

#include <gtest/gtest.h>

using namespace e2e;
using namespace xtools;
// The same fixture as the other preferences tests.
using Preferences = ProgramOnTwoMonitors;

namespace {

QString shownDesktop() { return run("xdotool", { "get_desktop" }).trimmed(); }

bool showDesktop(const QString& desktop)
{
    run("xdotool", { "set_desktop", desktop });
    return quill_test::WaitUntil([&] { return shownDesktop() == desktop; });
}

// The tests after this one start on the first workspace.
struct BackToFirstDesktop {
    ~BackToFirstDesktop() { showDesktop("0"); }
};

} // namespace

TEST_F(Preferences, PreferencesBringsTheWindowToTheWorkspaceShown)
{
    std::optional<PreferencesWindow> prefs = openPreferencesByKeys(program);
    ASSERT_TRUE(prefs) << "Ctrl+, in an animation window opened no preferences window";

    const BackToFirstDesktop restore;
    ASSERT_TRUE(showDesktop("1"));
    ASSERT_TRUE(quill_test::WaitUntil([&] { return program.preferencesWindows().empty(); }));

    // The animation windows are on every workspace: Ctrl+, reaches them here too.
    std::optional<PreferencesWindow> again = openPreferencesByKeys(program);
    ASSERT_TRUE(again) << "Ctrl+, left the preferences window on desktop "
                       << propertyValues(prefs->id(), "_NET_WM_DESKTOP").join(", ").toStdString();
    EXPECT_EQ(again->id(), prefs->id());
    EXPECT_EQ(propertyValues(prefs->id(), "_NET_WM_DESKTOP"), QStringList { "1" });
    EXPECT_EQ(shownDesktop(), "1");
    EXPECT_TRUE(quill_test::WaitUntil([&] { return activeWindow() == prefs->id(); }));
}
