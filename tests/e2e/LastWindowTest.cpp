#include "PreferencesWindow.h"
#include "Program.h"
#include "UserActions.h"
#include "tests/support/XTools.h"

#include <gtest/gtest.h>
#include <optional>

using namespace e2e;
using namespace xtools;

namespace {

// Clears every box of a preferences window opened by Ctrl+, then closes it
// by Ctrl+W: the program has no window left.
void clearEveryBoxAndClose(const Program& program)
{
    const std::size_t screens = monitors().size();
    ASSERT_TRUE(quill_test::WaitUntil([&] { return program.desktopWindows().size() == screens; }));
    std::optional<PreferencesWindow> prefs = openPreferencesByKeys(program);
    ASSERT_TRUE(prefs) << "Ctrl+, opened no preferences window";
    for (std::size_t i = 0; i < screens; ++i) {
        prefs->click(static_cast<int>(i));
        ASSERT_TRUE(quill_test::WaitUntil([&] { return program.desktopWindows().size() == screens - i - 1; }))
            << "clearing box " << i << " left its window";
    }
    ASSERT_TRUE(activate(prefs->id()));
    key("ctrl+w");
}

} // namespace

TEST(LastWindow, WithoutATrayClosingTheLastWindowEndsTheProgramAsQuitDoes)
{
    Program program;
    ASSERT_TRUE(program.start());
    clearEveryBoxAndClose(program);
    if (HasFatalFailure())
        return;

    ASSERT_TRUE(quill_test::WaitUntil([&] { return !program.isRunning(); }))
        << "the program runs on with no window and no tray icon";
    EXPECT_TRUE(program.exitedNormally());
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_EQ(program.standardError().toStdString(), "");
}

TEST(LastWindow, WithATrayIconTheProgramRunsOnAndItsPreferencesComeBack)
{
    Tool tray;
    ASSERT_TRUE(startTray(tray));
    Program program;
    ASSERT_TRUE(program.start());
    std::vector<QRect> icons;
    ASSERT_TRUE(quill_test::WaitUntil([&] { return !(icons = trayIcons(tray, "quillamere")).empty(); }));
    clearEveryBoxAndClose(program);
    if (HasFatalFailure())
        return;
    ASSERT_TRUE(quill_test::WaitUntil([&] { return program.preferencesWindows().empty(); }));

    // The tray's Preferences… is the way back.
    ASSERT_TRUE(chooseFromMenuAt(program, icons.front().center(), FileItem::Preferences));
    ASSERT_TRUE(quill_test::WaitUntil([&] { return program.preferencesWindows().size() == 1; }))
        << "no preferences window came back";
    EXPECT_TRUE(program.isRunning());

    // Quit with a window open ends the program once, with status 0.
    ASSERT_TRUE(activate(program.preferencesWindows().front()));
    key("ctrl+q");
    ASSERT_TRUE(quill_test::WaitUntil([&] { return !program.isRunning(); })) << "the program did not quit";
    EXPECT_TRUE(program.exitedNormally());
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_EQ(program.standardError().toStdString(), "");
}
