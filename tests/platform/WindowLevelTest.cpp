// The desktop level on a real X server: the raw EWMH properties that the
// window carries and where the window ends up in the stacking order, under
// openbox (WindowLevel) and with no window manager (WindowLevelWithoutWm).
#include "platform/NativeMessage.h"
#include "platform/RuntimeException.h"
#include "platform/UnrecognizedSelectorException.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QThread>
#include <QWidget>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr std::int64_t desktopLevel = platform::DesktopWindowLevel;
// The same 32 bits as the desktop level, read as unsigned: an ordinary level.
constexpr std::int64_t unsignedLookalike = 2147483673;

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(10000);
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

void settle(int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(10);
    }
}

bool waitFor(const std::function<bool()>& condition, int milliseconds = 10000)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > milliseconds)
            return false;
        settle(20);
    }
    return true;
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

// The atoms or numbers of a window property, as xprop prints them.
QStringList property(WId window, const char* name)
{
    const QString line = run("xprop", { "-id", hex(window), name }).trimmed();
    const auto equals = line.indexOf(" = ");
    if (equals < 0)
        return {};
    return line.mid(equals + 3).split(", ");
}

// Managed clients, bottom first.
std::vector<WId> stacking() { return hexIds(run("xprop", { "-root", "_NET_CLIENT_LIST_STACKING" })); }

// Children of the root window; xwininfo lists them top first.
std::vector<WId> rootChildrenTopFirst()
{
    std::vector<WId> ids;
    static const QRegularExpression child("^\\s+(0x[0-9a-fA-F]+) ", QRegularExpression::MultilineOption);
    for (const auto& match : child.globalMatch(run("xwininfo", { "-root", "-children" })))
        ids.push_back(match.captured(1).toULongLong(nullptr, 16));
    return ids;
}

std::ptrdiff_t indexOf(const std::vector<WId>& ids, WId id)
{
    auto at = std::find(ids.begin(), ids.end(), id);
    return at == ids.end() ? -1 : at - ids.begin();
}

bool managed(WId window) { return indexOf(stacking(), window) >= 0; }

bool stackedBelow(WId lower, WId upper)
{
    const auto ids = stacking();
    const auto a = indexOf(ids, lower);
    const auto b = indexOf(ids, upper);
    return a >= 0 && b >= 0 && a < b;
}

bool viewable(WId window) { return run("xwininfo", { "-id", hex(window) }).contains("IsViewable"); }

bool hasDesktopType(WId window)
{
    // A window manager takes the first type it knows.
    const QStringList types = property(window, "_NET_WM_WINDOW_TYPE");
    return !types.isEmpty() && types.first() == "_NET_WM_WINDOW_TYPE_DESKTOP";
}

bool hasDesktopStates(WId window)
{
    const QStringList states = property(window, "_NET_WM_STATE");
    const bool sticky = states.contains("_NET_WM_STATE_STICKY")
        || property(window, "_NET_WM_DESKTOP") == QStringList { "4294967295" };
    return states.contains("_NET_WM_STATE_BELOW") && states.contains("_NET_WM_STATE_SKIP_TASKBAR")
        && states.contains("_NET_WM_STATE_SKIP_PAGER") && sticky;
}

bool hasNoDesktopHint(WId window)
{
    const QStringList types = property(window, "_NET_WM_WINDOW_TYPE");
    const QStringList states = property(window, "_NET_WM_STATE");
    for (const char* hint :
        { "_NET_WM_STATE_BELOW", "_NET_WM_STATE_STICKY", "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER" })
        if (states.contains(hint))
            return false;
    return !types.contains("_NET_WM_WINDOW_TYPE_DESKTOP");
}

// What a failed expectation prints about a window.
std::string describe(WId window)
{
    return (managed(window) ? "managed; type " : "not managed; type ")
        + property(window, "_NET_WM_WINDOW_TYPE").join(", ").toStdString() + "; state "
        + property(window, "_NET_WM_STATE").join(", ").toStdString() + "; desktop "
        + property(window, "_NET_WM_DESKTOP").join(", ").toStdString();
}

void setLevel(QWidget& window, std::int64_t level)
{
    platform::objc_msgSend(reinterpret_cast<std::intptr_t>(&window), platform::sel_registerName("setLevel:"), level);
}

// Like the animation window: frameless, covering the screen, native window
// created before the level is set.
std::unique_ptr<QWidget> screenWindow()
{
    auto window = std::make_unique<QWidget>(nullptr, Qt::Window | Qt::FramelessWindowHint);
    window->setGeometry(QGuiApplication::primaryScreen()->geometry());
    window->winId();
    return window;
}

class WindowLevelBase : public testing::Test {
protected:
    void SetUp() override
    {
        if (!QCoreApplication::instance())
            GTEST_SKIP() << "needs a display";
    }

    void TearDown() override
    {
        if (xlogo_.state() != QProcess::NotRunning) {
            xlogo_.kill();
            xlogo_.waitForFinished(5000);
        }
    }

    // An ordinary window of another client.
    WId startXlogo()
    {
        xlogo_.start("xlogo", { "-geometry", "300x300+100+100" });
        EXPECT_TRUE(xlogo_.waitForStarted(5000));
        WId id = 0;
        waitFor([&] {
            // xdotool prints decimal ids.
            const QString found = run("xdotool", { "search", "--onlyvisible", "--classname", "xlogo" }).trimmed();
            id = found.isEmpty() ? 0 : found.split('\n').first().toULongLong();
            return id != 0;
        });
        return id;
    }

    QProcess xlogo_;
};

class WindowLevel : public WindowLevelBase {
protected:
    // Activates and raises window the way a user or another program might.
    static void activateAndRaise(WId window)
    {
        run("xdotool", { "windowactivate", QString::number(window) });
        run("xdotool", { "windowraise", QString::number(window) });
        settle(500);
    }
};

class WindowLevelWithoutWm : public WindowLevelBase { };

} // namespace

TEST_F(WindowLevel, DesktopWindowCarriesTheHintsAndStaysBelow)
{
    const WId other = startXlogo();
    ASSERT_TRUE(other != 0 && waitFor([&] { return managed(other); })) << other << ": " << describe(other);

    auto window = screenWindow();
    const WId id = window->winId();
    setLevel(*window, desktopLevel);
    window->show();
    ASSERT_TRUE(waitFor([&] { return managed(id); }));

    for (const char* pass : { "first map", "mapped again" }) {
        SCOPED_TRACE(pass);
        EXPECT_TRUE(hasDesktopType(id)) << describe(id);
        EXPECT_TRUE(waitFor([&] { return hasDesktopStates(id); })) << describe(id);
        activateAndRaise(id);
        EXPECT_TRUE(stackedBelow(id, other));

        window->hide();
        ASSERT_TRUE(waitFor([&] { return !managed(id); }));
        window->show();
        ASSERT_TRUE(waitFor([&] { return managed(id); }));
    }
}

TEST_F(WindowLevel, OtherLevelsStackNormally)
{
    const WId other = startXlogo();
    ASSERT_TRUE(other != 0 && waitFor([&] { return managed(other); })) << other << ": " << describe(other);

    for (std::int64_t level : { std::int64_t { 0 }, unsignedLookalike }) {
        SCOPED_TRACE(level);
        auto window = screenWindow();
        const WId id = window->winId();
        setLevel(*window, level);
        window->show();
        ASSERT_TRUE(waitFor([&] { return managed(id); }));
        activateAndRaise(id);
        EXPECT_TRUE(waitFor([&] { return stackedBelow(other, id); }));
        EXPECT_TRUE(hasNoDesktopHint(id)) << describe(id);
    }
}

TEST_F(WindowLevel, LevelChangesOnAShownWindow)
{
    const WId other = startXlogo();
    ASSERT_TRUE(other != 0 && waitFor([&] { return managed(other); })) << other << ": " << describe(other);
    auto window = screenWindow();
    const WId id = window->winId();
    window->show();
    ASSERT_TRUE(waitFor([&] { return managed(id); }));

    setLevel(*window, desktopLevel);
    EXPECT_TRUE(waitFor([&] { return managed(id) && hasDesktopType(id) && hasDesktopStates(id); })) << describe(id);
    activateAndRaise(id);
    EXPECT_TRUE(stackedBelow(id, other));
    EXPECT_TRUE(window->isVisible());

    setLevel(*window, 0);
    EXPECT_TRUE(waitFor([&] { return managed(id) && hasNoDesktopHint(id); })) << describe(id);
    activateAndRaise(id);
    EXPECT_TRUE(waitFor([&] { return stackedBelow(other, id); }));
}

TEST_F(WindowLevel, OnlyWindowsOfThisProgramReceiveMessages)
{
    auto window = screenWindow();
    auto* child = new QWidget(window.get());
    int local = 0;
    const auto selector = platform::sel_registerName("setLevel:");
    for (std::int64_t handle : { std::int64_t { 0 }, std::int64_t { 12345 }, reinterpret_cast<std::int64_t>(child),
             reinterpret_cast<std::int64_t>(&local) })
        EXPECT_THROW(platform::objc_msgSend(handle, selector, desktopLevel), platform::NilObjectException) << handle;

    EXPECT_THROW(platform::objc_msgSend(
                     reinterpret_cast<std::intptr_t>(window.get()), platform::sel_registerName("orderOut:"), 0),
        platform::UnrecognizedSelectorException);
    EXPECT_THROW(platform::sel_registerName(nullptr), platform::NilObjectException);
    EXPECT_FALSE(window->testAttribute(Qt::WA_X11NetWmWindowTypeDesktop));
}

TEST_F(WindowLevelWithoutWm, DesktopWindowIsLoweredEachTimeItIsMapped)
{
    const WId other = startXlogo();
    ASSERT_TRUE(other != 0 && waitFor([&] { return viewable(other); }));

    auto window = screenWindow();
    const WId id = window->winId();
    setLevel(*window, desktopLevel);
    const auto lowest = [&] {
        const auto ids = rootChildrenTopFirst();
        const auto a = indexOf(ids, id);
        const auto b = indexOf(ids, other);
        return b >= 0 && a > b && viewable(id);
    };
    for (const char* pass : { "first map", "mapped again" }) {
        SCOPED_TRACE(pass);
        window->show();
        EXPECT_TRUE(waitFor(lowest));
        window->hide();
        ASSERT_TRUE(waitFor([&] { return !viewable(id); }));
    }
}
