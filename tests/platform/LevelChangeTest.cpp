// Level changes that follow one another on a shown window, with no wait in
// between, under openbox (LevelChange) and with no window manager
// (LevelChangeWithoutWm): the window must end up shown again, at the last
// level asked for.
#include "PlatformTestSupport.h"

#include "platform/NativeMessage.h"

#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

using namespace platform_test;

namespace {

constexpr std::int64_t desktopLevel = -2147483623;
constexpr std::int64_t normalLevel = 0;

QString output(const QString& program, const QStringList& arguments)
{
    return QString::fromStdString(RunCommand(program, arguments).out);
}

QString hex(WId id) { return "0x" + QString::number(id, 16); }

std::vector<WId> hexIds(const QString& text)
{
    std::vector<WId> ids;
    static const QRegularExpression pattern("0x[0-9a-fA-F]+");
    for (const auto& match : pattern.globalMatch(text))
        ids.push_back(match.captured().toULongLong(nullptr, 16));
    return ids;
}

QStringList property(WId window, const char* name)
{
    const QString line = output("xprop", { "-id", hex(window), name }).trimmed();
    const auto equals = line.indexOf(" = ");
    return equals < 0 ? QStringList {} : line.mid(equals + 3).split(", ");
}

bool viewable(WId window) { return output("xwininfo", { "-id", hex(window) }).contains("IsViewable"); }

// Managed clients, bottom first.
std::vector<WId> stacking() { return hexIds(output("xprop", { "-root", "_NET_CLIENT_LIST_STACKING" })); }

// Children of the root window, bottom first (xwininfo lists them top first).
std::vector<WId> rootChildren()
{
    std::vector<WId> ids;
    static const QRegularExpression child("^\\s+(0x[0-9a-fA-F]+) ", QRegularExpression::MultilineOption);
    for (const auto& match : child.globalMatch(output("xwininfo", { "-root", "-children" })))
        ids.insert(ids.begin(), match.captured(1).toULongLong(nullptr, 16));
    return ids;
}

bool below(const std::vector<WId>& bottomFirst, WId lower, WId upper)
{
    const auto a = std::find(bottomFirst.begin(), bottomFirst.end(), lower);
    const auto b = std::find(bottomFirst.begin(), bottomFirst.end(), upper);
    return a != bottomFirst.end() && b != bottomFirst.end() && a < b;
}

bool managed(WId window)
{
    const auto ids = stacking();
    return std::find(ids.begin(), ids.end(), window) != ids.end();
}

// The type and states that the window carries are the ones of its level.
bool carriesLevel(WId window, bool desktop)
{
    const QStringList types = property(window, "_NET_WM_WINDOW_TYPE");
    const QStringList states = property(window, "_NET_WM_STATE");
    const bool desktopType = !types.isEmpty() && types.first() == "_NET_WM_WINDOW_TYPE_DESKTOP";
    int desktopStates = 0;
    for (const char* state : { "_NET_WM_STATE_BELOW", "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER" })
        desktopStates += states.contains(state);
    return desktop ? desktopType && desktopStates == 3
                   : !types.contains("_NET_WM_WINDOW_TYPE_DESKTOP") && desktopStates == 0;
}

std::string describe(WId window)
{
    return (viewable(window) ? "viewable; type " : "not viewable; type ")
        + property(window, "_NET_WM_WINDOW_TYPE").join(", ").toStdString() + "; state "
        + property(window, "_NET_WM_STATE").join(", ").toStdString();
}

void setLevel(QWidget& window, std::int64_t level)
{
    platform::objc_msgSend(reinterpret_cast<std::intptr_t>(&window), platform::sel_registerName("setLevel:"), level);
}

struct Changes {
    const char* name;
    std::int64_t before; // the level set before the first show
    std::vector<std::int64_t> levels; // then set one after another on the shown window
};

const Changes changes[] = {
    { "desktop, normal", normalLevel, { desktopLevel, normalLevel } },
    { "desktop twice", normalLevel, { desktopLevel, desktopLevel } },
    { "normal, desktop", desktopLevel, { normalLevel, desktopLevel } },
    { "desktop twice on the desktop", desktopLevel, { desktopLevel, desktopLevel } },
    { "desktop, normal, desktop", normalLevel, { desktopLevel, normalLevel, desktopLevel } },
    { "normal, desktop, normal", desktopLevel, { normalLevel, desktopLevel, normalLevel } },
};

class LevelChangeBase : public testing::Test {
protected:
    void SetUp() override
    {
        if (!QCoreApplication::instance())
            GTEST_SKIP() << "needs a display";
        other_.start("xlogo", { "-geometry", "300x300+100+100" });
        ASSERT_TRUE(other_.waitForStarted(5000));
        ASSERT_TRUE(WaitUntil(
            [&] {
                const QString found = output("xdotool", { "search", "--onlyvisible", "--classname", "xlogo" });
                otherId_ = found.trimmed().split('\n').first().toULongLong();
                return otherId_ != 0;
            },
            10000));
    }

    void TearDown() override
    {
        if (other_.state() != QProcess::NotRunning) {
            other_.kill();
            other_.waitForFinished(5000);
        }
    }

    // Like the animation window: frameless, covering the screen, its native
    // window created before any level is set.
    static std::unique_ptr<QWidget> screenWindow(std::int64_t level)
    {
        auto window = std::make_unique<QWidget>(nullptr, Qt::Window | Qt::FramelessWindowHint);
        window->setGeometry(QGuiApplication::primaryScreen()->geometry());
        window->winId();
        setLevel(*window, level);
        window->show();
        return window;
    }

    QProcess other_;
    WId otherId_ = 0;
};

class LevelChange : public LevelChangeBase { };
class LevelChangeWithoutWm : public LevelChangeBase { };

} // namespace

TEST_F(LevelChange, BackToBackChangesEndAtTheLastLevelShown)
{
    ASSERT_TRUE(WaitUntil([&] { return managed(otherId_); }, 10000));
    for (const auto& c : changes) {
        SCOPED_TRACE(c.name);
        auto window = screenWindow(c.before);
        const WId id = window->winId();
        ASSERT_TRUE(
            WaitUntil([&] { return managed(id) && viewable(id) && carriesLevel(id, c.before == desktopLevel); }, 10000))
            << describe(id);

        for (std::int64_t level : c.levels)
            setLevel(*window, level);

        const bool desktop = c.levels.back() == desktopLevel;
        EXPECT_TRUE(WaitUntil(
            [&] { return window->isVisible() && managed(id) && viewable(id) && carriesLevel(id, desktop); }, 10000))
            << describe(id);
        // Focused, a screen-sized frameless window is lifted above the others
        // unless it is a desktop window.
        RunCommand("xdotool", { "windowactivate", QString::number(id) });
        EXPECT_TRUE(WaitUntil([&] { return output("xprop", { "-root", "_NET_ACTIVE_WINDOW" }).contains(hex(id)); }));
        if (desktop)
            EXPECT_TRUE(below(stacking(), id, otherId_)) << describe(id);
        else
            EXPECT_TRUE(WaitUntil([&] { return below(stacking(), otherId_, id); })) << describe(id);

        window.reset();
        ASSERT_TRUE(WaitUntil([&] { return !managed(id); }));
    }
}

TEST_F(LevelChangeWithoutWm, BackToBackChangesEndAtTheLastLevelShown)
{
    ASSERT_TRUE(WaitUntil([&] { return viewable(otherId_); }, 10000));
    for (const auto& c : changes) {
        SCOPED_TRACE(c.name);
        auto window = screenWindow(c.before);
        const WId id = window->winId();
        ASSERT_TRUE(WaitUntil([&] { return viewable(id); }, 10000)) << describe(id);

        for (std::int64_t level : c.levels)
            setLevel(*window, level);

        const bool desktop = c.levels.back() == desktopLevel;
        // Without a window manager a desktop window is lowered beneath the others.
        EXPECT_TRUE(WaitUntil(
            [&] {
                return window->isVisible() && viewable(id) && carriesLevel(id, desktop)
                    && (!desktop || below(rootChildren(), id, otherId_));
            },
            10000))
            << describe(id);
    }
}
