#include "app/Startup.h"

#include "app/App.h"
#include "desktop_window/MainMenuBar.h"
#include "platform/Application.h"
#include "platform/FolderItem.h"
#include "platform/Picture.h"
#include "platform/Runtime.h"
#include "platform/RuntimeException.h"
#include "platform/SpecialFolder.h"

void (*startupStepObserver)(const char* step) = nullptr;

void StartupStep(const char* step)
{
    if (startupStepObserver)
        startupStepObserver(step);
}

std::exception_ptr CallWithExceptionHandling(void (*function)(void*), void* argument)
{
    try {
        function(argument);
        return nullptr;
    } catch (const platform::RuntimeException&) {
        return std::current_exception();
    }
}

void Main()
{
    try {
        StartupStep("RuntimeSetExceptionHelper");
        platform::RuntimeSetExceptionHelper(&CallWithExceptionHandling);
        StartupStep("RuntimeDeclareVersion");
        platform::RuntimeDeclareVersion(2021.021);
        EarlyStartup();
        StartupStep("RunFrameworkInitialization");
        platform::RunFrameworkInitialization(&LateStartup);
        StartupStep("RuntimeRun");
        platform::RuntimeRun();
    } catch (...) {
        platform::RuntimeUnhandledException(std::current_exception());
    }
}

void EarlyStartup()
{
    StartupStep("SetSupportsHiDPI");
    platform::Application::SetSupportsHiDPI(true);
    StartupStep("RuntimeInitExternalClasses");
    platform::RuntimeInitExternalClasses();
    StartupStep("InitPluginEntrypoints");
    platform::InitPluginEntrypoints();
    StartupStep("ResolvePluginClasses");
    platform::ResolvePluginClasses();
    StartupStep("InitFileTypes");
    InitFileTypes();
    NewAppInstance();
    ApplicationAddMenuHandlers();
}

void InitFileTypes() { }

void NewAppInstance()
{
    StartupStep("NewApp");
    auto app = std::make_shared<App>();
    StartupStep("SetVersionData");
    app->SetVersionData(
        1, 0, 0, 105, 0, "Quillamere Live Desktop 1.0, \u00A9 2026 the Quillamere developers", "1.0", "");
    StartupStep("SanityCheckWDDM");
    app->SanityCheckWDDM();
    StartupStep("SetMenuBar");
    app->SetMenuBar(MainMenuBar::Instance());
    // The tray icon shows the program's name and its first toaster. Should
    // the picture be unreadable the icon stays hidden; the animation windows
    // report the picture when they load it.
    const std::string resources = platform::SpecialFolder::Resources().NativePath();
    app->SetTrayIcon(
        "Quillamere Live Desktop", platform::Picture::Open(platform::FolderItem(resources + "/toaster_0000.png")));
    // From here on the framework holds the App; start-up keeps no reference.
    StartupStep("RuntimeRegisterAppObject");
    platform::RuntimeRegisterAppObject(std::move(app));
    StartupStep("DesktopColorPickerClose");
    platform::DesktopColorPickerClose();
}

void ApplicationAddMenuHandlers()
{
    StartupStep("AddMenuHandler");
    std::shared_ptr<App> app = App::Instance();
    App& object = platform::deref(app, "application object");
    object.AddMenuHandler("ShowPreferences", [&object] { return object.ShowPreferences_Action(); });
}

void LateStartup() { StartupStep("LateStartup"); }
