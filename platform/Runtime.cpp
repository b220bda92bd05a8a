#include "platform/Runtime.h"

#include "platform/Application.h"
#include "platform/MenuBar.h"
#include "platform/Picture.h"
#include "platform/RuntimeException.h"
#include "platform/Window.h"
#include "platform/qt/Framework.h"
#include "platform/qt/MenuBuilder.h"

#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cxxabi.h>
#include <string>
#include <typeinfo>

namespace platform {
namespace {

    struct RuntimeState {
        double version = 0;
        std::shared_ptr<Application> app;
        bool frameworkInitialised = false;
        bool openScheduled = false;
        std::unique_ptr<QSystemTrayIcon> tray;
        std::unique_ptr<QMenu> trayMenu;
        // The picture the tray icon shows, so that it is converted once.
        std::shared_ptr<Picture> trayPicture;
    };

    RuntimeState& runtime()
    {
        static RuntimeState s;
        return s;
    }

    std::string demangle(const char* name)
    {
        int status = 0;
        char* readable = abi::__cxa_demangle(name, nullptr, nullptr, &status);
        std::string result = status == 0 && readable ? readable : name;
        std::free(readable);
        return result;
    }

    std::string oneLine(std::string text)
    {
        for (char& c : text) {
            if (c == '\n' || c == '\r')
                c = ' ';
        }
        return text;
    }

    // Raises the application's Open event once, from the event loop, after the
    // application object is registered and the framework initialised.
    void scheduleOpen()
    {
        auto& s = runtime();
        if (!s.frameworkInitialised || !s.app || s.openScheduled)
            return;
        s.openScheduled = true;
        std::weak_ptr<Application> weakApp = s.app;
        QTimer::singleShot(0, qApp, [weakApp] {
            if (auto app = weakApp.lock())
                qt::Deliver([&] { app->Event_Open(); });
        });
    }

    QIcon iconOf(const Picture* picture)
    {
        if (!picture)
            return {};
        const std::shared_ptr<RGBSurface> surface = picture->RGBSurface();
        QImage image(static_cast<int>(picture->Width()), static_cast<int>(picture->Height()), QImage::Format_ARGB32);
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            // The surface counts transparency where Qt counts opacity.
            for (int x = 0; x < image.width(); ++x)
                line[x] = surface->Pixel(x, y) ^ 0xFF000000u;
        }
        return QIcon(QPixmap::fromImage(image));
    }

} // namespace

std::exception_ptr DefaultExceptionHelper(void (*function)(void*), void* argument)
{
    try {
        function(argument);
        return nullptr;
    } catch (const RuntimeException&) {
        return std::current_exception();
    }
}

void RuntimeInit() { }

void RuntimePerformInitializers() { }

void RuntimeSetExceptionHelper(ExceptionHelper helper) { qt::SetExceptionHelper(helper); }

void RuntimeDeclareVersion(double version) { runtime().version = version; }

double RuntimeVersion() { return runtime().version; }

void RuntimeInitExternalClasses() { }

void InitPluginEntrypoints() { }

void ResolvePluginClasses() { }

void DesktopColorPickerClose() { }

void RuntimeRegisterAppObject(std::shared_ptr<Application> app)
{
    if (!app)
        throw NilObjectException("nil application object");
    runtime().app = std::move(app);
    qt::RefreshTray();
    scheduleOpen();
}

std::shared_ptr<Application> GetAppObject() { return runtime().app; }

void RunFrameworkInitialization(const std::function<void()>& lateStartup)
{
    // Made before the Qt application: the exit handler that ends the process
    // on a lost display is registered with the application, and runs before
    // the destructors of the static objects made earlier, this state's among them.
    auto& s = runtime();
    qt::EnsureApplication();
    s.frameworkInitialised = true;
    qt::RefreshTray();
    if (lateStartup)
        lateStartup();
    scheduleOpen();
}

void RuntimeRun()
{
    QApplication& app = qt::EnsureApplication();
    if (!qt::BeginEventLoop())
        return;
    app.exec();
    qt::EventLoopReturned();
}

void Quit()
{
    // Closing a window may run program code (its Close event); a window whose
    // Close event threw is still closed, and the quit goes on.
    for (const auto& window : qt::OpenWindows()) {
        if (!window->IsClosed())
            qt::Deliver([&] { window->Close(); });
    }
    if (!qt::EventsStopped())
        qt::EndEventLoop(0);
}

void RuntimeUnhandledException(std::exception_ptr exception) noexcept
{
    std::string className = "unknown exception";
    std::string message;
    try {
        if (exception)
            std::rethrow_exception(exception);
    } catch (const RuntimeException& e) {
        className = e.className();
        message = e.what();
    } catch (const std::exception& e) {
        className = demangle(typeid(e).name());
        message = e.what();
    } catch (...) {
    }
    try {
        std::string line = "Unhandled " + className;
        if (!message.empty())
            line += ": " + oneLine(message);
        std::fprintf(stderr, "%s\n", line.c_str());
        std::fflush(stderr);
    } catch (...) {
    }
    if (!qt::EventsStopped())
        qt::EndEventLoop(1);
}

void RuntimePerformFinalizers()
{
    auto& s = runtime();
    s.trayMenu.reset();
    s.tray.reset();
    s.trayPicture.reset();
    s.app.reset();
    qt::ReleaseAllOpen();
    qt::DestroyAllNativeWindows();
    qt::DeleteOwnedApplication();
}

std::int32_t RuntimeExit() { return qt::ExitCode(); }

namespace qt {

    void RefreshTray()
    {
        auto& s = runtime();
        if (!s.frameworkInitialised || !QCoreApplication::instance())
            return;
        std::shared_ptr<MenuBar> bar = s.app ? s.app->MenuBar() : nullptr;
        if (!bar) {
            s.tray.reset();
            s.trayMenu.reset();
            s.trayPicture.reset();
            return;
        }
        // Made and shown whether or not a tray runs now: from then on Qt
        // watches the tray selection and puts the icon into a tray that starts
        // later or restarts.
        if (!s.tray)
            s.tray = std::make_unique<QSystemTrayIcon>();
        if (s.trayPicture != s.app->TrayPicture()) {
            s.trayPicture = s.app->TrayPicture();
            s.tray->setIcon(iconOf(s.trayPicture.get()));
        }
        s.tray->setToolTip(ToQt(s.app->TrayToolTip()));
        auto menu = std::make_unique<QMenu>();
        // The tray's menu items carry no key equivalents: the windows' own do.
        AddMenus(
            menu.get(), *bar, menu.get(),
            [](const std::shared_ptr<MenuItem>& item) {
                Deliver([&] { Choose(item, WindowOfWidget(QApplication::activeWindow())); });
            },
            false);
        s.tray->setContextMenu(menu.get());
        s.trayMenu = std::move(menu);
        s.tray->setVisible(!s.tray->icon().isNull());
    }

} // namespace qt
} // namespace platform
