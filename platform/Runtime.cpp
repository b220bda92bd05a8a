#include "platform/Runtime.h"

#include "platform/Application.h"
#include "platform/MenuBar.h"
#include "platform/Picture.h"
#include "platform/RuntimeException.h"
#include "platform/Window.h"
#include "platform/qt/Framework.h"
#include "platform/qt/MenuBuilder.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QtGui/qguiapplication_platform.h>
#include <cstdio>
#include <cstdlib>
#include <cxxabi.h>
#include <string>
#include <typeinfo>
#include <xcb/xcb.h>

namespace platform {
namespace {

    void trayManagerChanged();

    // Qt puts a shown tray icon into a tray only if one runs when the icon is
    // shown; once it has, it follows that tray's restarts by itself. A tray
    // that starts later announces itself with a MANAGER client message on the
    // root window, which this watch passes on.
    class TrayWatch : public QAbstractNativeEventFilter {
    public:
        // None when the application does not speak X11.
        static std::unique_ptr<TrayWatch> Make()
        {
            auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
            if (!x11)
                return nullptr;
            xcb_connection_t* connection = x11->connection();
            // The tray of the X screen that DISPLAY names, as Qt's own.
            char* host = nullptr;
            int display = 0;
            int screen = 0;
            if (!xcb_parse_display(nullptr, &host, &display, &screen))
                screen = 0;
            std::free(host);
            return std::unique_ptr<TrayWatch>(new TrayWatch(
                atom(connection, "MANAGER"), atom(connection, "_NET_SYSTEM_TRAY_S" + std::to_string(screen))));
        }
        ~TrayWatch() override { qApp->removeNativeEventFilter(this); }

        bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override
        {
            if (eventType != "xcb_generic_event_t")
                return false;
            auto* event = static_cast<const xcb_generic_event_t*>(message);
            if ((event->response_type & 0x7F) != XCB_CLIENT_MESSAGE)
                return false;
            auto* announcement = reinterpret_cast<const xcb_client_message_event_t*>(event);
            // After Qt has handled the event itself.
            if (announcement->type == manager_ && announcement->format == 32
                && announcement->data.data32[1] == selection_)
                QTimer::singleShot(0, qApp, trayManagerChanged);
            return false;
        }

    private:
        TrayWatch(xcb_atom_t manager, xcb_atom_t selection)
            : manager_(manager)
            , selection_(selection)
        {
            qApp->installNativeEventFilter(this);
        }

        static xcb_atom_t atom(xcb_connection_t* connection, const std::string& name)
        {
            auto cookie = xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(name.size()), name.data());
            xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
            const xcb_atom_t result = reply ? reply->atom : xcb_atom_t { XCB_ATOM_NONE };
            std::free(reply);
            return result;
        }

        xcb_atom_t manager_;
        xcb_atom_t selection_;
    };

    struct RuntimeState {
        double version = 0;
        std::shared_ptr<Application> app;
        bool frameworkInitialised = false;
        bool openScheduled = false;
        std::unique_ptr<QSystemTrayIcon> tray;
        std::unique_ptr<QMenu> trayMenu;
        std::unique_ptr<TrayWatch> trayWatch;
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

    void trayManagerChanged()
    {
        auto& s = runtime();
        if (!s.tray || !s.tray->isVisible() || !QSystemTrayIcon::isSystemTrayAvailable())
            return;
        // Qt's own tray window exists once the icon was shown into a tray;
        // from then on Qt moves it into each new tray itself.
        for (const QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == QLatin1String("QSystemTrayIconSys"))
                return;
        }
        // Shown again, now that a tray runs.
        s.tray->hide();
        s.tray->show();
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
    s.trayWatch.reset();
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
            s.trayWatch.reset();
            s.tray.reset();
            s.trayMenu.reset();
            s.trayPicture.reset();
            return;
        }
        // Made and shown whether or not a tray runs now: one may start later.
        if (!s.tray) {
            s.tray = std::make_unique<QSystemTrayIcon>();
            s.trayWatch = TrayWatch::Make();
        }
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
