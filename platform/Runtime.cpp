#include "platform/Runtime.h"

#include "platform/Application.h"
#include "platform/Heap.h"
#include "platform/RuntimeException.h"
#include "platform/Window.h"
#include "platform/qt/EventBoundary.h"
#include "platform/qt/QtApplication.h"
#include "platform/qt/TrayIcon.h"
#include "platform/qt/WindowRegistry.h"

#include <QApplication>
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
    };

    RuntimeState& runtime()
    {
        // Never destroyed: the application object goes in the finalisers, or
        // not at all when the process ends from inside Qt.
        static RuntimeState& s = *new RuntimeState;
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

    // Without a tray icon nothing leads back to a program whose last window
    // has closed: no window, menu or shortcut is left. Judged once the event
    // that closed the window is done, as it may open another.
    void quitIfUnreachable()
    {
        if (qt::EventsStopped() || qt::AnyWindowOpenOrOpening() || qt::TrayIconShown())
            return;
        Quit();
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

void RuntimeInit()
{
    // Every window loads its pictures through short-lived buffers of each
    // picture's size; kept in the heap after they are freed, they would make
    // memory grow with every window opened and closed.
    Heap::ReturnLargeBlocksWhenFreed();
}

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
    qt::EnsureApplication();
    runtime().frameworkInitialised = true;
    qt::StartTray();
    if (lateStartup)
        lateStartup();
    scheduleOpen();
}

void RuntimeRun()
{
    QApplication& app = qt::EnsureApplication();
    if (!qt::BeginEventLoop())
        return;
    // The running program's rule: code that drives windows without this
    // loop (a test of its own) is not ended by it.
    qt::OnLastWindowClosed([] { QTimer::singleShot(0, qApp, quitIfUnreachable); });
    app.exec();
    qt::OnLastWindowClosed(nullptr);
    qt::EventLoopReturned();
}

void Quit()
{
    // Each window's Close event runs program code. A window whose Close
    // event threw is closed all the same, but the exception has ended the
    // loop with exit code 1 and from then on no event reaches the program:
    // the windows after it are closed and released without their Close event.
    for (const auto& window : qt::OpenWindows()) {
        if (window->IsClosed())
            continue;
        if (!qt::EventsStopped())
            qt::Deliver([&] { window->Close(); });
        else
            qt::CloseWithoutEvent(*window);
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
    qt::ReleaseTray();
    runtime().app.reset();
    qt::ReleaseAllOpen();
    qt::DestroyAllNativeWindows();
    qt::DeleteOwnedApplication();
}

std::int32_t RuntimeExit() { return qt::ExitCode(); }

} // namespace platform
