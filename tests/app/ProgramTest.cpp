// The built program, from outside: under openbox on two monitors, through the
// X tools only.
#include "AppTestSupport.h"

#include <algorithm>
#include <map>
#include <regex>

using app_test::Background;
using app_test::Lines;
using app_test::Tool;

namespace {

struct Geometry {
    long x = 0, y = 0, width = 0, height = 0;
};

Geometry GeometryOf(const std::string& id)
{
    Geometry g;
    const std::string info = Tool({ "xwininfo", "-id", id });
    std::smatch m;
    auto field = [&](const char* name) {
        std::regex re(std::string(name) + ":\\s+(-?\\d+)");
        return std::regex_search(info, m, re) ? std::stol(m[1]) : -99999L;
    };
    g.x = field("Absolute upper-left X");
    g.y = field("Absolute upper-left Y");
    g.width = field("Width");
    g.height = field("Height");
    return g;
}

std::vector<std::string> WindowsNamed(const std::string& name)
{
    return Lines(Tool({ "xdotool", "search", "--onlyvisible", "--name", "^" + name + "$" }));
}

// The desktop windows by their left edge.
std::map<long, std::string> DesktopWindows()
{
    std::map<long, std::string> byLeft;
    for (const std::string& id : WindowsNamed("Quillamere Live Desktop"))
        byLeft[GeometryOf(id).x] = id;
    return byLeft;
}

void Click(long x, long y)
{
    Tool({ "xdotool", "mousemove", std::to_string(x), std::to_string(y) });
    app_test::Spin(100);
    Tool({ "xdotool", "click", "1" });
}

} // namespace

TEST(Program, CoversEveryMonitorTogglesScreensAndQuits)
{
    Background program({ QUILL_PROGRAM });
    ASSERT_TRUE(program.Started());

    // One desktop window per monitor, each over its full frame.
    std::map<long, std::string> desktop;
    ASSERT_TRUE(app_test::WaitUntil(
        [&] {
            desktop = DesktopWindows();
            return desktop.size() == 2;
        },
        15000))
        << "desktop windows: " << desktop.size();
    for (const auto& [left, id] : desktop) {
        const Geometry g = GeometryOf(id);
        EXPECT_TRUE(left == 0 || left == 1920) << left;
        EXPECT_EQ(g.y, 0);
        EXPECT_EQ(g.width, 1920);
        EXPECT_EQ(g.height, 1080);
        EXPECT_NE(
            Tool({ "xprop", "-id", id, "_NET_WM_WINDOW_TYPE" }).find("_NET_WM_WINDOW_TYPE_DESKTOP"), std::string::npos);
    }

    // Cmd+, (Ctrl+comma) from a desktop window opens the preferences.
    Tool({ "xdotool", "windowactivate", desktop.begin()->second });
    app_test::Spin(300);
    Tool({ "xdotool", "key", "ctrl+comma" });
    std::vector<std::string> prefs;
    ASSERT_TRUE(app_test::WaitUntil(
        [&] {
            prefs = WindowsNamed("Quillamere Preferences");
            return prefs.size() == 1;
        },
        10000));
    // Its content area, 424 x 264 beneath the menu bar, is centred on the main
    // monitor 200 pixels below its top.
    const Geometry p = GeometryOf(prefs[0]);
    EXPECT_EQ(p.x, 748);
    EXPECT_EQ(p.width, 424);
    EXPECT_GE(p.height, 264);
    const long contentTop = p.y + p.height - 264;
    EXPECT_EQ(contentTop, 200);

    // Clicking "Display 1" (row 20 + 40) closes the second monitor's window,
    // clicking it again opens a new one there.
    Click(p.x + 40, contentTop + 60 + 10);
    EXPECT_TRUE(app_test::WaitUntil(
        [&] {
            desktop = DesktopWindows();
            return desktop.size() == 1 && desktop.count(0) == 1;
        },
        10000))
        << "desktop windows: " << desktop.size();
    Click(p.x + 40, contentTop + 60 + 10);
    EXPECT_TRUE(app_test::WaitUntil(
        [&] {
            desktop = DesktopWindows();
            return desktop.size() == 2 && desktop.count(1920) == 1;
        },
        10000))
        << "desktop windows: " << desktop.size();
    const Geometry reopened = GeometryOf(desktop[1920]);
    EXPECT_EQ(reopened.width, 1920);
    EXPECT_EQ(reopened.height, 1080);

    // Cmd+Q ends the program normally.
    Tool({ "xdotool", "windowactivate", prefs[0] });
    app_test::Spin(300);
    Tool({ "xdotool", "key", "ctrl+q" });
    EXPECT_EQ(program.WaitForExit(10000), 0);
}
