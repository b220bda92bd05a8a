#include "Program.h"
#include "UserActions.h"
#include "tests/support/XTools.h"

#include <gtest/gtest.h>

using namespace e2e;
using namespace xtools;

namespace {

struct QuitWay {
    const char* name;
    bool needsTray;
    bool (*quit)(const Program& program, const Tool& tray);
};

// Whether the screen shows every desktop window drawn by the animation: its
// black clear over nearly all of the window, where the bare X screen shows
// its grey weave.
bool animationDrawn(const Program& program)
{
    const std::vector<WindowId> desktops = program.desktopWindows();
    const QImage shot = screenshot();
    if (desktops.empty() || shot.isNull())
        return false;
    for (WindowId id : desktops) {
        const QRect frame = geometry(id) & shot.rect();
        int black = 0, all = 0;
        for (int y = frame.top(); y <= frame.bottom(); y += 7) {
            for (int x = frame.left(); x <= frame.right(); x += 7) {
                ++all;
                black += qGray(shot.pixel(x, y)) < 16;
            }
        }
        if (all == 0 || black < all * 8 / 10)
            return false;
    }
    return true;
}

bool byKeys(const Program& program, const Tool&)
{
    std::vector<WindowId> desktops = program.desktopWindows();
    if (desktops.empty() || !activate(desktops.front()))
        return false;
    key("ctrl+q");
    return true;
}

bool byContextMenu(const Program& program, const Tool&)
{
    std::vector<WindowId> desktops = program.desktopWindows();
    if (desktops.empty())
        return false;
    return chooseFromMenuAt(program, geometry(desktops.front()).center(), FileItem::Quit);
}

bool byTrayMenu(const Program& program, const Tool& tray)
{
    std::vector<QRect> icons;
    if (!quill_test::WaitUntil([&] { return !(icons = trayIcons(tray, "quillamere")).empty(); }))
        return false;
    return chooseFromMenuAt(program, icons.front().center(), FileItem::Quit);
}

class Quit : public testing::TestWithParam<QuitWay> { };

} // namespace

TEST_P(Quit, EndsWithStatusZeroAndLeavesNoWindow)
{
    Tool tray;
    if (GetParam().needsTray) {
        ASSERT_TRUE(startTray(tray));
    }
    Program program;
    ASSERT_TRUE(program.start());
    ASSERT_TRUE(quill_test::WaitUntil([&] { return program.desktopWindows().size() == monitors().size(); }));
    // Past the first frames, into the running animation.
    ASSERT_TRUE(quill_test::WaitUntil([&] { return animationDrawn(program); }));

    EXPECT_TRUE(GetParam().quit(program, tray));
    ASSERT_TRUE(quill_test::WaitUntil([&] { return !program.isRunning(); })) << "the program did not quit";
    EXPECT_TRUE(program.exitedNormally());
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_EQ(program.standardError().toStdString(), "");
    for (WindowId id : clientList())
        EXPECT_FALSE(title(id).startsWith("Quillamere")) << "window left behind: " << title(id).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Ways, Quit,
    testing::Values(QuitWay { "CtrlQ", false, byKeys }, QuitWay { "ContextMenu", false, byContextMenu },
        QuitWay { "TrayMenu", true, byTrayMenu }),
    [](const testing::TestParamInfo<QuitWay>& info) { return std::string(info.param.name); });
