// Window.Show under openbox on a window that the user has minimised: the
// window comes back, in front and active, as the same window. On a window
// left on another workspace: it comes to the one the user is looking at,
// except a desktop-level window, which stays on every workspace.
#include "PlatformTestSupport.h"

#include "WindowLevels.h"
#include "platform/NativeMessage.h"
#include "platform/Window.h"

#include <QApplication>
#include <QWindow>
#include <gtest/gtest.h>

using namespace platform_test;

namespace {

// Like the preferences window: titled, fixed size, no minimise button of its
// own (a taskbar or another program minimises it).
class TitledWindow : public platform::Window {
public:
    TitledWindow() { Constructor(); }
    void Layout() override
    {
        SetWidth(424);
        SetHeight(264);
        SetType(TypeDocument);
        SetTitle("Titled");
        SetHasCloseButton(true);
        SetHasMinimizeButton(false);
        SetResizeable(false);
    }
};

using level_test::describe;
using xtools::viewable;
using xtools::wmState;

// Active for X and for Qt, and exposed: Qt asks for the activation it was
// told to make once it has seen the window mapped, and shows the window
// exposed only after that, so no request of Show is left to undo a
// minimise that follows.
bool active(const platform::Window& window)
{
    QWidget* top = TopLevel(window);
    return QApplication::activeWindow() == top && top->windowHandle() && top->windowHandle()->isExposed()
        && xtools::activeWindow() == top->winId();
}

// Like the desktop window: a plain box at the desktop level.
class DesktopLevelWindow : public platform::Window {
public:
    DesktopLevelWindow() { Constructor(); }
    void Layout() override
    {
        SetType(TypePlainBox);
        SetBounds({ 0, 0, 320, 200 });
    }
    void Event_Open() override
    {
        platform::objc_msgSend(Handle(), platform::sel_registerName("setLevel:"), platform::DesktopWindowLevel);
    }
};

// The workspace the window manager shows, and the one a window is on, as
// xprop prints them ("4294967295" for every workspace).
QString shownDesktop() { return xtools::run("xdotool", { "get_desktop" }).trimmed(); }
QString desktopOf(xtools::WindowId id) { return xtools::propertyValues(id, "_NET_WM_DESKTOP").value(0); }

bool showDesktop(int desktop)
{
    xtools::run("xdotool", { "set_desktop", QString::number(desktop) });
    return WaitUntil([&] { return shownDesktop() == QString::number(desktop); });
}

// Later tests start on the first workspace.
struct BackToFirstDesktop {
    ~BackToFirstDesktop() { showDesktop(0); }
};

std::string describeWorkspaces(xtools::WindowId id)
{
    return describe(id) + ", on desktop " + desktopOf(id).toStdString() + ", desktop " + shownDesktop().toStdString()
        + " shown";
}

} // namespace

TEST(WindowShow, BringsBackAMinimisedWindow)
{
    auto window = std::make_shared<TitledWindow>();
    ASSERT_TRUE(WaitUntil([&] { return TopLevel(*window) && TopLevel(*window)->isVisible(); }));
    QWidget* const widget = TopLevel(*window);
    const xtools::WindowId id = widget->winId();
    ASSERT_TRUE(WaitUntil([&] { return wmState(id) == "Normal" && widget->windowHandle()->isExposed(); }))
        << describe(id);

    for (const char* pass : { "minimised once", "minimised again" }) {
        SCOPED_TRACE(pass);
        xtools::minimize(id);
        ASSERT_TRUE(WaitUntil([&] { return wmState(id) == "Iconic" && TopLevel(*window)->isMinimized(); }))
            << describe(id);

        window->Show();
        EXPECT_TRUE(WaitUntil([&] { return wmState(id) == "Normal" && viewable(id) && active(*window); }))
            << describe(id);
        EXPECT_FALSE(TopLevel(*window)->isMinimized());
        EXPECT_EQ(TopLevel(*window), widget);
        EXPECT_EQ(TopLevel(*window)->winId(), id);
    }
    window->Close();
}

TEST(WindowShow, BringsAWindowOnAnotherWorkspaceToTheOneShown)
{
    auto window = std::make_shared<TitledWindow>();
    ASSERT_TRUE(WaitUntil([&] { return TopLevel(*window) && TopLevel(*window)->isVisible(); }));
    const xtools::WindowId id = TopLevel(*window)->winId();
    ASSERT_TRUE(WaitUntil([&] { return wmState(id) == "Normal" && desktopOf(id) == "0" && active(*window); }))
        << describeWorkspaces(id);

    const BackToFirstDesktop restore;
    ASSERT_TRUE(showDesktop(1));
    ASSERT_TRUE(WaitUntil([&] { return !viewable(id); })) << describeWorkspaces(id);

    window->Show();
    EXPECT_TRUE(WaitUntil([&] { return desktopOf(id) == "1" && viewable(id) && active(*window); }))
        << describeWorkspaces(id);
    // Not by taking the user back to the window's workspace.
    EXPECT_EQ(shownDesktop(), "1");
    window->Close();
}

TEST(WindowShow, LeavesADesktopLevelWindowOnEveryWorkspace)
{
    auto window = std::make_shared<DesktopLevelWindow>();
    ASSERT_TRUE(WaitUntil([&] { return TopLevel(*window) && TopLevel(*window)->isVisible(); }));
    const xtools::WindowId id = TopLevel(*window)->winId();
    const auto everywhere = [&] { return desktopOf(id) == "4294967295" && viewable(id); };
    ASSERT_TRUE(WaitUntil(everywhere)) << describeWorkspaces(id);

    const BackToFirstDesktop restore;
    ASSERT_TRUE(showDesktop(1));
    window->Show();
    // The window manager takes the requests in order: once it shows the next
    // workspace, it has handled whatever Show asked of it.
    ASSERT_TRUE(showDesktop(2));
    EXPECT_TRUE(everywhere()) << describeWorkspaces(id);
    window->Close();
}
