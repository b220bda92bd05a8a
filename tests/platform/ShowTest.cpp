// Window.Show under openbox on a window that the user has minimised: the
// window comes back, in front and active, as the same window.
#include "PlatformTestSupport.h"

#include "platform/Window.h"

#include <QApplication>
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

QString prop(const QStringList& arguments) { return QString::fromStdString(RunCommand("xprop", arguments).out); }

// The ICCCM state that the window manager gives the window: Normal or Iconic.
QString wmState(const QString& id)
{
    const QString text = prop({ "-id", id, "WM_STATE" });
    const auto at = text.indexOf("window state: ");
    return at < 0 ? QString() : text.mid(at + 14).section('\n', 0, 0).trimmed();
}

bool viewable(const QString& id)
{
    return QString::fromStdString(RunCommand("xwininfo", { "-id", id }).out).contains("IsViewable");
}

bool active(const platform::Window& window)
{
    const QString hexId = "0x" + QString::number(TopLevel(window)->winId(), 16);
    return QApplication::activeWindow() == TopLevel(window) && prop({ "-root", "_NET_ACTIVE_WINDOW" }).contains(hexId);
}

std::string describe(const QString& id)
{
    return "WM_STATE " + wmState(id).toStdString() + (viewable(id) ? ", viewable" : ", not viewable");
}

} // namespace

TEST(WindowShow, BringsBackAMinimisedWindow)
{
    auto window = std::make_shared<TitledWindow>();
    ASSERT_TRUE(WaitUntil([&] { return TopLevel(*window) && TopLevel(*window)->isVisible(); }));
    QWidget* const widget = TopLevel(*window);
    const QString id = XId(*window);
    ASSERT_TRUE(WaitUntil([&] { return wmState(id) == "Normal"; }, 10000)) << describe(id);

    for (const char* pass : { "minimised once", "minimised again" }) {
        SCOPED_TRACE(pass);
        RunCommand("xdotool", { "windowminimize", id });
        ASSERT_TRUE(WaitUntil([&] { return wmState(id) == "Iconic" && TopLevel(*window)->isMinimized(); }, 10000))
            << describe(id);

        window->Show();
        EXPECT_TRUE(WaitUntil([&] { return wmState(id) == "Normal" && viewable(id) && active(*window); }, 10000))
            << describe(id);
        EXPECT_FALSE(TopLevel(*window)->isMinimized());
        EXPECT_EQ(TopLevel(*window), widget);
        EXPECT_EQ(XId(*window), id);
    }
    window->Close();
}
