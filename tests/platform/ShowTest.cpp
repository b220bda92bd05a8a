// Window.Show under openbox on a window that the user has minimised: the
// window comes back, in front and active, as the same window.
#include "PlatformTestSupport.h"

#include "WindowLevels.h"
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
