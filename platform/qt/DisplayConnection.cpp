#include "platform/qt/DisplayConnection.h"

#include "platform/RuntimeException.h"

#include <QApplication>
#include <QtGui/qguiapplication_platform.h>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <xcb/xcb.h>

namespace platform::qt {
namespace {

    struct Watch {
        // The owned application's X connection while it lives, and the display it reached.
        std::atomic<xcb_connection_t*> connection = nullptr;
        std::string displayName;
        QtMessageHandler previousMessageHandler = nullptr;
    };

    Watch& watch()
    {
        // Never destroyed: the exit handler below may read it after every
        // static destructor has run.
        static Watch& w = *new Watch;
        return w;
    }

    bool displayWentAway()
    {
        xcb_connection_t* connection = watch().connection.load();
        return connection && xcb_connection_has_error(connection) != 0;
    }

    // Ends the process at once: nothing may run against Qt or OpenGL once the
    // X connection broke, no finaliser and no destructor of a static object.
    [[noreturn]] void endForLostDisplay()
    {
        std::fprintf(stderr, "quillamere: the X display \"%s\" went away\n", watch().displayName.c_str());
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
        if (QtMessageHandler previous = watch().previousMessageHandler)
            previous(type, context, text);
        else
            std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
    }

    void exitHandler()
    {
        if (displayWentAway())
            endForLostDisplay();
    }

} // namespace

void RequireDisplay()
{
    const QByteArray display = qgetenv("DISPLAY");
    const std::string fix = "; set DISPLAY to a running X server";
    if (display.isEmpty())
        throw RuntimeException("cannot open the X display: DISPLAY is not set" + fix);
    const std::string named = "cannot open the X display \"" + display.toStdString() + "\"";
    // With a place for the screen number, xcb also checks that the server has that screen.
    int screen = 0;
    xcb_connection_t* connection = xcb_connect(display.constData(), &screen);
    const int error = xcb_connection_has_error(connection);
    xcb_disconnect(connection);
    if (error == XCB_CONN_CLOSED_INVALID_SCREEN)
        throw RuntimeException(
            named + ": its X server has no screen " + std::to_string(screen) + fix + " and one of its screens");
    if (error != 0)
        throw RuntimeException(named + fix);
}

void WatchDisplay(QApplication& app)
{
    auto* x11 = app.nativeInterface<QNativeInterface::QX11Application>();
    if (!x11)
        return;
    auto& w = watch();
    w.displayName = qgetenv("DISPLAY").toStdString();
    w.connection = x11->connection();
    w.previousMessageHandler = qInstallMessageHandler(messageHandler);
    // Registered after the static objects that exist by now, so it runs
    // before their destructors.
    static const bool registered = std::atexit(exitHandler) == 0;
    (void)registered;
}

void UnwatchDisplay()
{
    auto& w = watch();
    if (!w.connection.exchange(nullptr))
        return;
    qInstallMessageHandler(w.previousMessageHandler);
    w.previousMessageHandler = nullptr;
}

} // namespace platform::qt
