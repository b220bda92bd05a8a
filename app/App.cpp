#include "app/App.h"

#include "app/WindowPreferences.h"
#include "desktop_window/WindowMain.h"
#include "platform/Rect.h"
#include "platform/Runtime.h"
#include "platform/RuntimeException.h"
#include "platform/Screen.h"

App::~App()
{
    prefsWindow.reset();
    windows.clear();
}

std::shared_ptr<App> App::Instance()
{
    std::shared_ptr<platform::Application> registered = platform::GetAppObject();
    if (!registered)
        return nullptr;
    auto app = std::dynamic_pointer_cast<App>(registered);
    if (!app)
        throw platform::IllegalCastException("the registered application object is not an App");
    return app;
}

std::int64_t App::ScreenCount() const { return platform::Screen::ScreenCount(); }

void App::Event_Open()
{
    // The count is read on every pass: screens may come or go meanwhile.
    for (std::int64_t i = 0; i <= ScreenCount() - 1; ++i)
        windows.push_back(NewWindowFor(i));
}

std::shared_ptr<WindowMain> App::NewWindowFor(std::int64_t screen)
{
    auto window = std::make_shared<WindowMain>(screen);
    const platform::Screen frame = platform::Screen::ScreenAt(screen);
    window->SetBounds({ static_cast<double>(frame.Left()), static_cast<double>(frame.Top()),
        static_cast<double>(frame.Width()), static_cast<double>(frame.Height()) });
    return window;
}

std::shared_ptr<WindowMain> App::existsFor(std::int64_t screen)
{
    // Always the registered object's list, whichever App this is called on.
    auto& list = platform::deref(App::Instance(), "application object").windows;
    for (std::size_t k = 0; k < list.size(); ++k) {
        const std::shared_ptr<WindowMain>& window = list[k];
        if (platform::deref(window, "animation window").screen == screen)
            return window;
    }
    return nullptr;
}

bool App::ShowPreferences_Action()
{
    if (prefsWindow) {
        prefsWindow->Show();
    } else {
        auto window = std::make_shared<WindowPreferences>();
        // Stored only once construction has returned.
        prefsWindow = window;
    }
    return true;
}
