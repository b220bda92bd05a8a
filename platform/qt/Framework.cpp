#include "platform/qt/Framework.h"

#include "platform/Application.h"
#include "platform/MenuItem.h"
#include "platform/QuitMenuItem.h"
#include "platform/Runtime.h"
#include "platform/Window.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <xcb/xcb.h>

namespace platform::qt {
namespace {

    // Backstop only: every path from Qt into the program's code already goes
    // through Deliver, which catches.
    class FrameworkApplication : public QApplication {
    public:
        using QApplication::QApplication;
        bool notify(QObject* receiver, QEvent* event) override
        {
            try {
                return QApplication::notify(receiver, event);
            } catch (...) {
                RuntimeUnhandledException(std::current_exception());
                return false;
            }
        }
    };

    struct State {
        std::unique_ptr<QApplication> owned;
        bool stopped = false;
        bool loopRunning = false;
        bool quitBeforeLoop = false;
        int exitCode = 0;
        ExceptionHelper helper = DefaultExceptionHelper;
        std::vector<platform::Window*> live;
        std::vector<std::shared_ptr<platform::Window>> open;
        // The owned application's X connection while it lives, and the display it reached.
        std::atomic<xcb_connection_t*> connection = nullptr;
        std::string displayName;
        QtMessageHandler previousMessageHandler = nullptr;
    };

    State& state()
    {
        static State s;
        return s;
    }

    int argc = 1;
    char programName[] = "quillamere";
    char* argv[] = { programName, nullptr };

    // Qt's xcb plugin ends the process (qFatal: an abort and a core) when it
    // cannot reach the X server, so the connection is tried first and a
    // failure goes to start-up's ordinary failure handling. Another platform
    // named in QT_QPA_PLATFORM is left to Qt.
    void requireDisplay()
    {
        const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
        if (!platform.isEmpty() && !platform.startsWith("xcb"))
            return;
        const QByteArray display = qgetenv("DISPLAY");
        const std::string fix = "; set DISPLAY to a running X server";
        if (display.isEmpty())
            throw RuntimeException("cannot open the X display: DISPLAY is not set" + fix);
        xcb_connection_t* connection = xcb_connect(display.constData(), nullptr);
        const bool failed = xcb_connection_has_error(connection) != 0;
        xcb_disconnect(connection);
        if (failed)
            throw RuntimeException("cannot open the X display \"" + display.toStdString() + "\"" + fix);
    }

    bool displayWentAway()
    {
        xcb_connection_t* connection = state().connection.load();
        return connection && xcb_connection_has_error(connection) != 0;
    }

    // Ends the process at once: nothing may run against Qt or OpenGL once the
    // X connection broke, no finaliser and no destructor of a static object.
    [[noreturn]] void endForLostDisplay()
    {
        std::fprintf(stderr, "quillamere: the X display \"%s\" went away\n", state().displayName.c_str());
        std::fflush(stderr);
        std::_Exit(1);
    }

    // Qt reports a broken X connection with a warning and then calls exit(),
    // which would destroy the open windows and the Qt application from static
    // destructors after Qt's own globals are gone. The first message after the
    // break ends the program instead; the exit handler catches a break that
    // Qt did not report.
    void messageHandler(QtMsgType type, const QMessageLogContext& context, const QString& text)
    {
        if (displayWentAway())
            endForLostDisplay();
        if (QtMessageHandler previous = state().previousMessageHandler)
            previous(type, context, text);
        else
            std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
    }

    void exitHandler()
    {
        if (displayWentAway())
            endForLostDisplay();
    }

    // Registered after the framework's static state exists, so it runs before
    // that state's destructor.
    void watchDisplay(QApplication& app)
    {
        auto* x11 = app.nativeInterface<QNativeInterface::QX11Application>();
        if (!x11)
            return;
        auto& s = state();
        s.displayName = qgetenv("DISPLAY").toStdString();
        s.connection = x11->connection();
        s.previousMessageHandler = qInstallMessageHandler(messageHandler);
        static const bool registered = std::atexit(exitHandler) == 0;
        (void)registered;
    }

    void unwatchDisplay()
    {
        auto& s = state();
        if (!s.connection.exchange(nullptr))
            return;
        qInstallMessageHandler(s.previousMessageHandler);
        s.previousMessageHandler = nullptr;
    }

} // namespace

QApplication& EnsureApplication()
{
    if (auto* existing = QCoreApplication::instance()) {
        auto* app = qobject_cast<QApplication*>(existing);
        if (!app)
            throw RuntimeException("the running Qt application is not a QApplication");
        app->setQuitOnLastWindowClosed(false);
        return *app;
    }
    requireDisplay();
    if (!Application::SupportsHiDPI())
        qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    state().owned = std::make_unique<FrameworkApplication>(argc, argv);
    state().owned->setQuitOnLastWindowClosed(false);
    watchDisplay(*state().owned);
    return *state().owned;
}

void DeleteOwnedApplication()
{
    if (!state().owned)
        return;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // The connection goes with the application.
    unwatchDisplay();
    state().owned.reset();
}

void SetExceptionHelper(ExceptionHelper helper) { state().helper = helper ? helper : DefaultExceptionHelper; }

bool EventsStopped() { return state().stopped; }

bool Deliver(const std::function<void()>& call)
{
    if (state().stopped)
        return false;
    try {
        auto trampoline = [](void* argument) { (*static_cast<const std::function<void()>*>(argument))(); };
        std::exception_ptr escaped = state().helper(trampoline, const_cast<std::function<void()>*>(&call));
        if (!escaped)
            return true;
        RuntimeUnhandledException(escaped);
    } catch (...) {
        RuntimeUnhandledException(std::current_exception());
    }
    return false;
}

void EndEventLoop(int exitCode)
{
    auto& s = state();
    s.stopped = true;
    s.exitCode = exitCode;
    if (s.loopRunning)
        QCoreApplication::exit(exitCode);
    else
        s.quitBeforeLoop = true;
}

bool BeginEventLoop()
{
    auto& s = state();
    if (s.quitBeforeLoop) {
        s.quitBeforeLoop = false;
        return false;
    }
    s.stopped = false;
    s.loopRunning = true;
    return true;
}

void EventLoopReturned() { state().loopRunning = false; }

int ExitCode() { return state().exitCode; }

void RegisterLiveWindow(platform::Window* window) { state().live.push_back(window); }

void UnregisterLiveWindow(platform::Window* window)
{
    auto& live = state().live;
    live.erase(std::remove(live.begin(), live.end(), window), live.end());
}

std::vector<platform::Window*> LiveWindows() { return state().live; }

platform::Window* WindowOfWidget(const QWidget* topLevel)
{
    if (!topLevel)
        return nullptr;
    for (auto* window : state().live) {
        if (window->Handle() == static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(topLevel)))
            return window;
    }
    return nullptr;
}

void KeepOpen(std::shared_ptr<platform::Window> window)
{
    auto& open = state().open;
    if (std::find(open.begin(), open.end(), window) == open.end())
        open.push_back(std::move(window));
}

void ReleaseOpen(const platform::Window* window)
{
    auto& open = state().open;
    auto it = std::find_if(open.begin(), open.end(), [&](const auto& w) { return w.get() == window; });
    if (it == open.end())
        return;
    // Released after the erase: the window's destructor may run now.
    auto released = std::move(*it);
    open.erase(it);
    released.reset();
}

std::vector<std::shared_ptr<platform::Window>> OpenWindows() { return state().open; }

void ReleaseAllOpen()
{
    auto open = std::move(state().open);
    state().open.clear();
    open.clear();
}

void Choose(const std::shared_ptr<platform::MenuItem>& item, platform::Window* window)
{
    if (!item)
        return;
    // The handlers may close the window or drop other references to it.
    std::shared_ptr<platform::Window> keep = window ? window->weak_from_this().lock() : nullptr;
    const std::string name = item->Name();
    if (window && !window->IsClosed()) {
        if (auto handler = window->MenuHandler(name); handler && handler())
            return;
    }
    if (auto app = GetAppObject()) {
        if (auto handler = app->MenuHandler(name); handler && handler())
            return;
    }
    if (dynamic_cast<const QuitMenuItem*>(item.get()))
        Quit();
}

QKeySequence ShortcutFor(const std::string& text)
{
    if (text.empty())
        return {};
    QStringList parts = ToQt(text).split(QLatin1Char('+'));
    // "Cmd++" names the plus key: the split leaves two empty parts at the end.
    if (text.size() > 1 && text.back() == '+' && text[text.size() - 2] == '+') {
        while (!parts.isEmpty() && parts.last().isEmpty())
            parts.removeLast();
        parts.append(QStringLiteral("+"));
    }
    for (auto& part : parts) {
        const QString p = part.trimmed();
        if (p.compare(QLatin1String("Cmd"), Qt::CaseInsensitive) == 0
            || p.compare(QLatin1String("Command"), Qt::CaseInsensitive) == 0)
            part = QStringLiteral("Ctrl");
        else if (p.compare(QLatin1String("Option"), Qt::CaseInsensitive) == 0
            || p.compare(QLatin1String("Opt"), Qt::CaseInsensitive) == 0)
            part = QStringLiteral("Alt");
        else
            part = p;
    }
    return QKeySequence::fromString(parts.join(QLatin1Char('+')), QKeySequence::PortableText);
}

QString ToQt(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QColor ToQtColor(std::uint32_t color)
{
    return QColor((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF, 255 - ((color >> 24) & 0xFF));
}

std::string FromQt(const QString& text) { return text.toStdString(); }

} // namespace platform::qt
