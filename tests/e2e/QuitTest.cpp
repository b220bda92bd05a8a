#include "Program.h"
#include "UserActions.h"
#include "tests/support/XTools.h"

#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace e2e;

namespace {

// The tray icon's place inside trayer's panel, from the window tree.
std::optional<QPoint> trayIcon(qint64 trayerPid)
{
    for (WindowId panel : visibleWindows(trayerPid, "^panel$")) {
        QString tree = run("xwininfo", { "-id", QString::number(panel), "-tree" });
        // 0x600006 "quillamere": ("quillamere" "quillamere")  22x22+0+0  +591+777
        QRegularExpression re(
            QStringLiteral("\"quillamere\"\\)\\s+(\\d+)x(\\d+)\\+-?\\d+\\+-?\\d+\\s+\\+(-?\\d+)\\+(-?\\d+)"));
        auto m = re.match(tree);
        if (m.hasMatch())
            return QPoint(
                m.captured(3).toInt() + m.captured(1).toInt() / 2, m.captured(4).toInt() + m.captured(2).toInt() / 2);
    }
    return std::nullopt;
}

struct QuitWay {
    const char* name;
    bool needsTray;
    bool (*quit)(const Program& program, qint64 trayerPid);
};

bool byKeys(const Program& program, qint64)
{
    std::vector<WindowId> desktops = program.desktopWindows();
    if (desktops.empty() || !activate(desktops.front()))
        return false;
    key("ctrl+q");
    return true;
}

bool byContextMenu(const Program& program, qint64)
{
    std::vector<WindowId> desktops = program.desktopWindows();
    if (desktops.empty())
        return false;
    return chooseFromMenuAt(program, geometry(desktops.front()).center(), FileItem::Quit);
}

bool byTrayMenu(const Program& program, qint64 trayerPid)
{
    std::optional<QPoint> icon;
    if (!waitUntil([&] { return (icon = trayIcon(trayerPid)).has_value(); }, 10000))
        return false;
    return chooseFromMenuAt(program, *icon, FileItem::Quit);
}

class Quit : public testing::TestWithParam<QuitWay> { };

} // namespace

TEST_P(Quit, EndsWithStatusZeroAndLeavesNoWindow)
{
    QProcess trayer;
    if (GetParam().needsTray) {
        trayer.start("trayer", { "--edge", "bottom", "--widthtype", "pixel", "--width", "100", "--height", "24" });
        ASSERT_TRUE(trayer.waitForStarted());
        ASSERT_TRUE(waitUntil([&] { return !visibleWindows(trayer.processId(), "^panel$").empty(); }, 10000));
    }
    Program program;
    ASSERT_TRUE(program.start());
    ASSERT_TRUE(program.waitForDesktopWindows(monitors().size(), 15000));
    sleepMs(500); // past the first frames, into the running animation

    EXPECT_TRUE(GetParam().quit(program, trayer.processId()));
    ASSERT_TRUE(program.waitForExit(10000)) << "the program did not quit";
    EXPECT_TRUE(program.exitedNormally());
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_EQ(program.standardError().toStdString(), "");
    for (WindowId id : clientList())
        EXPECT_FALSE(title(id).startsWith("Quillamere")) << "window left behind: " << title(id).toStdString();

    if (trayer.state() != QProcess::NotRunning) {
        trayer.kill();
        trayer.waitForFinished(3000);
    }
}

INSTANTIATE_TEST_SUITE_P(Ways, Quit,
    testing::Values(QuitWay { "CtrlQ", false, byKeys }, QuitWay { "ContextMenu", false, byContextMenu },
        QuitWay { "TrayMenu", true, byTrayMenu }),
    [](const testing::TestParamInfo<QuitWay>& info) { return std::string(info.param.name); });
