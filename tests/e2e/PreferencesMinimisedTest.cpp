// Preferences… on a preferences window that the user has minimised (from a
// taskbar, say) brings that window back rather than leaving it out of sight.
#include "PreferencesWindow.h"
#include "ProgramOnTwoMonitors.h"
#include "UserActions.h"
#include "tests/support/XTools.h"

#include <gtest/gtest.h>

using namespace e2e;
using namespace xtools;
// The same fixture as the other preferences tests.
using Preferences = ProgramOnTwoMonitors;

TEST_F(Preferences, PreferencesBringsBackTheMinimisedWindow)
{
    std::optional<PreferencesWindow> prefs = openPreferencesByKeys(program);
    ASSERT_TRUE(prefs) << "Ctrl+, in an animation window opened no preferences window";

    minimize(prefs->id());
    ASSERT_TRUE(quill_test::WaitUntil([&] {
        return wmState(prefs->id()) == "Iconic" && program.preferencesWindows().empty();
    })) << wmState(prefs->id()).toStdString();

    std::optional<PreferencesWindow> again = openPreferencesByKeys(program);
    ASSERT_TRUE(again) << "Ctrl+, left the preferences window minimised: " << wmState(prefs->id()).toStdString();
    EXPECT_EQ(again->id(), prefs->id());
    EXPECT_EQ(wmState(prefs->id()), "Normal");
    EXPECT_TRUE(quill_test::WaitUntil([&] { return activeWindow() == prefs->id(); }));
}
