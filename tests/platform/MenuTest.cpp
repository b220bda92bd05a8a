#include "FileMenuBar.h"
#include "PlatformTestSupport.h"

#include "platform/Application.h"
#include "platform/CheckBox.h"
#include "platform/MenuBar.h"
#include "platform/OpenGLSurface.h"
#include "platform/QuitMenuItem.h"
#include "platform/Runtime.h"
#include "platform/Window.h"

#include <QApplication>
#include <QMenu>
#include <QSystemTrayIcon>
#include <gtest/gtest.h>

using namespace platform_test;

namespace {

using menu_test::FileMenuBar;

class MenuWindow : public platform::Window {
public:
    MenuWindow(std::int64_t type, std::shared_ptr<platform::MenuBar> bar, const char* title)
        : type_(type)
        , bar_(std::move(bar))
        , title_(title)
    {
        Constructor();
    }
    void Layout() override
    {
        SetMenuBar(bar_);
        SetWidth(424);
        SetHeight(264);
        SetType(type_);
        SetTitle(title_);
        SetResizeable(false);
    }
    void CreateControls() override
    {
        if (type_ == TypePlainBox) {
            auto surface = std::make_shared<platform::OpenGLSurface>(*this);
            AddControl("Surface", surface);
            surface->SetWidth(424);
            surface->SetHeight(264);
        } else {
            auto box = std::make_shared<platform::CheckBox>(*this);
            AddControl("Box", box);
            box->SetLeft(20);
            box->SetTop(20);
            box->SetWidth(384);
            box->SetHeight(20);
        }
    }
    std::int64_t type_;
    std::shared_ptr<platform::MenuBar> bar_;
    const char* title_;
};

// Activates the window through the window manager and waits until both X
// and Qt see it active, so that the keys that follow reach it.
bool activate(const platform::Window& window)
{
    return xtools::activate(TopLevel(window)->winId(), 10000)
        && WaitUntil([&] { return QApplication::activeWindow() == TopLevel(window); });
}

// Presses the keys and waits, with a generous deadline, until they have had
// their effect.
bool keyUntil(const char* keys, const std::function<bool()>& done)
{
    xtools::key(keys);
    return WaitUntil(done);
}

} // namespace

TEST(MenuTree, ItemsAreAddedInOrderAndFoundByName)
{
    auto bar = FileMenuBar();
    ASSERT_EQ(bar->Count(), 1u);
    auto file = bar->Child("FileMenu");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(file->Count(), 3u);
    EXPECT_EQ(file->Item(0)->Text(), "&Quit");
    EXPECT_NE(std::dynamic_pointer_cast<platform::QuitMenuItem>(file->Item(0)), nullptr);
    EXPECT_EQ(file->Item(1)->Text(), "Preferences\u2026");
    EXPECT_EQ(file->Item(2)->Shortcut(), "Cmd+W");
    EXPECT_EQ(bar->Child("CloseWindow"), nullptr); // children only, not grandchildren
    EXPECT_THROW(file->Item(3), platform::OutOfBoundsException);
    EXPECT_THROW(file->AddMenu(nullptr), platform::NilObjectException);
}

TEST(MenuShortcuts, ReachTheFrontmostWindowThenTheApplication)
{
    auto app = std::make_shared<platform::Application>();
    auto bar = FileMenuBar();
    app->SetMenuBar(bar);
    int preferences = 0;
    app->AddMenuHandler("ShowPreferences", [&] {
        ++preferences;
        return true;
    });
    platform::RuntimeRegisterAppObject(app);

    auto plain = std::make_shared<MenuWindow>(platform::Window::TypePlainBox, bar, "Plain");
    plain->SetBounds({ 0, 0, 424, 264 });
    auto titled = std::make_shared<MenuWindow>(platform::Window::TypeDocument, bar, "Titled");
    titled->SetBounds({ 600, 300, 424, 264 });
    int closes = 0, declined = 0;
    titled->AddMenuHandler("CloseWindow", [&] {
        ++closes;
        return true;
    });
    ASSERT_TRUE(WaitUntil([&] {
        return TopLevel(*plain) && TopLevel(*plain)->isVisible() && TopLevel(*titled) && TopLevel(*titled)->isVisible();
    }));

    // The titled window shows its bar above a content area of the size set.
    EXPECT_TRUE(WaitUntil([&] { return TopLevel(*titled)->height() > titled->Height(); }))
        << TopLevel(*titled)->height();
    EXPECT_EQ(titled->Height(), 264);

    // A frameless window whose OpenGL surface has the focus. Nobody handles
    // Close here; the key after it shows that it has been taken.
    ASSERT_TRUE(activate(*plain));
    xtools::key("ctrl+w");
    EXPECT_TRUE(keyUntil("ctrl+comma", [&] { return preferences == 1; })) << preferences;
    EXPECT_EQ(closes, 0);

    // A titled window whose check box has the focus.
    ASSERT_TRUE(activate(*titled));
    QWidget* box = nullptr;
    for (QWidget* child : TopLevel(*titled)->findChildren<QWidget*>()) {
        if (child->inherits("QCheckBox"))
            box = child;
    }
    ASSERT_NE(box, nullptr);
    box->setFocus();
    ASSERT_TRUE(WaitUntil([&] { return QApplication::focusWidget() == box; }));
    EXPECT_TRUE(keyUntil("ctrl+comma", [&] { return preferences == 2; })) << preferences;
    EXPECT_TRUE(keyUntil("ctrl+w", [&] { return closes == 1; })) << closes;

    // A window handler that declines leaves the item to the application.
    titled->AddMenuHandler("ShowPreferences", [&] {
        ++declined;
        return false;
    });
    EXPECT_TRUE(keyUntil("ctrl+comma", [&] { return preferences == 3; })) << preferences;
    EXPECT_EQ(declined, 1);
    EXPECT_EQ(closes, 1);

    // The plain box offers the bar as the context menu of its surface.
    ASSERT_TRUE(activate(*plain));
    xtools::click({ 200, 130 }, 3);
    EXPECT_TRUE(WaitUntil([] { return QApplication::activePopupWidget() != nullptr; }));
    EXPECT_TRUE(keyUntil("Escape", [] { return QApplication::activePopupWidget() == nullptr; }));

    plain->Close();
    titled->Close();
}

TEST(MenuTray, TheApplicationsBarIsTheTrayIconsMenuWhereATrayExists)
{
    xtools::Tool tray;
    ASSERT_TRUE(tray.start("trayer", { "--SetDockType", "true", "--widthtype", "pixel", "--width", "200" }));
    ASSERT_TRUE(WaitUntil([] { return QSystemTrayIcon::isSystemTrayAvailable(); }));

    auto app = std::make_shared<platform::Application>();
    app->SetMenuBar(FileMenuBar());
    int preferences = 0;
    app->AddMenuHandler("ShowPreferences", [&] {
        ++preferences;
        return true;
    });
    platform::RuntimeRegisterAppObject(app);
    platform::RunFrameworkInitialization({});

    QAction* chosen = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* menu = qobject_cast<QMenu*>(widget)) {
            for (QAction* action : menu->findChildren<QAction*>()) {
                if (action->text() == QString::fromUtf8("Preferences\u2026"))
                    chosen = action;
            }
        }
    }
    ASSERT_NE(chosen, nullptr);
    EXPECT_TRUE(chosen->shortcut().isEmpty()); // the windows carry the key equivalents
    chosen->trigger();
    EXPECT_EQ(preferences, 1);

    platform::RuntimePerformFinalizers();
}
