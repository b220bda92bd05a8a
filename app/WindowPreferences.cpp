#include "app/WindowPreferences.h"

#include "app/App.h"
#include "app/CheckBoxScreen.h"
#include "desktop_window/MainMenuBar.h"
#include "desktop_window/WindowMain.h"
#include "platform/CheckBox.h"
#include "platform/MenuItem.h"
#include "platform/QuitMenuItem.h"
#include "platform/Rect.h"
#include "platform/RuntimeException.h"
#include "platform/Screen.h"
#include "platform/Text.h"

#include <algorithm>

WindowPreferences::WindowPreferences() { Constructor(); }

void WindowPreferences::Layout()
{
    SetMenuBar(MainMenuBar::Instance());
    SetWidth(424);
    SetHeight(264);
    SetMinimumWidth(64);
    SetMinimumHeight(64);
    SetMaximumWidth(32000);
    SetMaximumHeight(32000);
    SetType(TypeDocument);
    SetTitle("Quillamere Preferences");
    SetHasCloseButton(true);
    SetHasMaximizeButton(false);
    SetHasMinimizeButton(false);
    SetHasFullScreenButton(false);
    SetResizeable(false);
    SetDefaultLocation(LocationDefault);
    SetVisible(true);
    SetHasBackgroundColor(false);
    SetBackgroundColor(0x00FFFFFF); // opaque white
    SetMenuBarVisible(true);
}

void WindowPreferences::CreateControls() { CreateControls0(); }

void WindowPreferences::CreateControls0()
{
    AddControl("CheckBoxScreen", std::make_shared<::CheckBoxScreen>(*this, 0));
    platform::deref(ControlAs<::CheckBoxScreen>("CheckBoxScreen", 0), "CheckBoxScreen(0)").ApplyDesignValues();
    platform::deref(CheckBoxScreen(0), "CheckBoxScreen(0)").Action = [this](platform::CheckBox& sender) {
        // The box belongs to this window; one kept beyond it calls nothing.
        if (sender.OwnerWindow() == this)
            CheckBoxScreen_Action(sender);
    };
}

std::shared_ptr<platform::CheckBox> WindowPreferences::CheckBoxScreen(std::int64_t index) const
{
    return ControlAs<platform::CheckBox>("CheckBoxScreen", index);
}

void WindowPreferences::AddMenuHandlers(platform::Window& window)
{
    auto* preferences = dynamic_cast<WindowPreferences*>(&window);
    if (!preferences)
        throw platform::IllegalCastException("the CloseWindow handler belongs to a WindowPreferences");
    window.AddMenuHandler("CloseWindow", [preferences] { return preferences->CloseWindow_Action(); });
}

void WindowPreferences::Event_Open()
{
    settingBoxes = true;

    platform::CheckBox& main = platform::deref(CheckBoxScreen(0), "CheckBoxScreen(0)");
    main.SetCaption("Main Screen");
    auto& app = platform::deref(App::Instance(), "application object");
    if (app.existsFor(0))
        main.SetValue(true);

    for (std::int64_t i = 1; i <= platform::Screen::ScreenCount() - 1; ++i) {
        std::shared_ptr<::CheckBoxScreen> box = ::CheckBoxScreen::Create(*this);
        box->SetLeft(main.Left());
        box->SetTop(main.Top() + i * 40);
        box->SetCaption("Display " + platform::Text::Str(i));
        if (app.existsFor(i))
            box->SetValue(true);
    }

    settingBoxes = false;

    // 200 below the top of the main screen's free area, centred across it;
    // an odd half pixel is cut toward zero (-0.5 gives 0, not -1).
    const platform::Screen mainScreen = platform::Screen::ScreenAt(0);
    SetTop(mainScreen.AvailableTop() + 200);
    const double left = static_cast<double>(mainScreen.AvailableWidth() - Width()) / 2.0
        + static_cast<double>(mainScreen.AvailableLeft());
    SetLeft(static_cast<std::int64_t>(left));
}

void WindowPreferences::CheckBoxScreen_Action(platform::CheckBox& sender)
{
    auto* box = dynamic_cast<::CheckBoxScreen*>(&sender);
    if (!box)
        throw platform::IllegalCastException("the sender is not a CheckBoxScreen");
    if (!box->Index())
        throw platform::NilObjectException("a CheckBoxScreen without an index");
    const std::int64_t index = *box->Index();

    if (settingBoxes)
        return;

    auto& app = platform::deref(App::Instance(), "application object");
    if (!sender.Value()) {
        std::shared_ptr<WindowMain> window = app.existsFor(index);
        if (window) {
            window->Close();
            auto& windows = app.windows;
            auto position = std::find(windows.begin(), windows.end(), window);
            if (position != windows.end())
                windows.erase(position);
        }
        return;
    }

    if (app.existsFor(index))
        return;
    // A box can outlive its screen (the list is built once, when the window
    // opens). Such a box opens nothing: a window made for a missing screen
    // could not be placed, and would be left open outside App::windows. It
    // is cleared again, so that it never shows an animation that is not there.
    if (index < 0 || index >= platform::Screen::ScreenCount()) {
        SetBoxQuietly(sender, false);
        return;
    }
    app.windows.push_back(App::NewWindowFor(index));
}

void WindowPreferences::SetBoxQuietly(platform::CheckBox& box, bool value)
{
    // SetValue raises the box's Action at once; the flag keeps that Action
    // from acting, and is restored however SetValue ends.
    struct Restore {
        bool& flag;
        bool saved;
        ~Restore() { flag = saved; }
    } restore { settingBoxes, settingBoxes };
    settingBoxes = true;
    box.SetValue(value);
}

std::shared_ptr<platform::MenuItem> WindowPreferences::FileMenu() const
{
    return MainMenuBar::ItemNamed(MenuBar(), "FileMenu");
}

std::shared_ptr<platform::MenuItem> WindowPreferences::CloseWindow() const
{
    return MainMenuBar::ItemNamed(MenuBar(), "CloseWindow");
}

std::shared_ptr<platform::MenuItem> WindowPreferences::ShowPreferences() const
{
    return MainMenuBar::ItemNamed(MenuBar(), "ShowPreferences");
}

std::shared_ptr<platform::QuitMenuItem> WindowPreferences::FileQuit() const { return MainMenuBar::QuitItem(MenuBar()); }

void WindowPreferences::Event_Close() { platform::deref(App::Instance(), "application object").prefsWindow = nullptr; }

bool WindowPreferences::CloseWindow_Action()
{
    // Clearing prefsWindow may drop the last reference but the framework's.
    std::shared_ptr<platform::Window> keep = weak_from_this().lock();
    platform::deref(App::Instance(), "application object").prefsWindow = nullptr;
    Close();
    return true;
}
