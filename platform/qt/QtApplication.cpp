#include "platform/qt/QtApplication.h"

#include "platform/Application.h"
#include "platform/Runtime.h"
#include "platform/RuntimeException.h"
#include "platform/qt/DisplayConnection.h"

#include <QApplication>
#include <QEvent>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <vector>

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

    std::unique_ptr<QApplication>& owned()
    {
        // Never destroyed: the application goes in the finalisers, or not at
        // all when the process ends from inside Qt.
        static auto& application = *new std::unique_ptr<QApplication>;
        return application;
    }

    // The program runs on X11 only. Qt takes the platform named on the
    // command line over the one in QT_QPA_PLATFORM, so no other platform
    // (one that shows nothing, listens on a network port or needs a
    // compositor) is ever started.
    int argc = 0;
    char programName[] = "quillamere";
    char platformOption[] = "-platform";
    char platformName[] = "xcb";
    char* argv[] = { nullptr, nullptr, nullptr, nullptr };

    void resetArguments()
    {
        // Qt takes the options it read out of argv.
        argv[0] = programName;
        argv[1] = platformOption;
        argv[2] = platformName;
        argv[3] = nullptr;
        argc = 3;
    }

    struct HeldMessage {
        QtMsgType type;
        QByteArray category;
        QString text;
    };

    struct HeldMessages {
        std::mutex mutex;
        std::vector<HeldMessage> messages;
        QtMessageHandler previous = nullptr;
    };

    HeldMessages& held()
    {
        // Never destroyed, as the other state of the framework.
        static HeldMessages& h = *new HeldMessages;
        return h;
    }

    // Ends the process as every failed start does, with one line and status 1.
    [[noreturn]] void failStart(const QString& reason)
    {
        RuntimeUnhandledException(std::make_exception_ptr(RuntimeException("Qt cannot start on the X display \""
            + qgetenv("DISPLAY").toStdString() + "\": " + reason.section('\n', 0, 0).trimmed().toStdString())));
        // The Qt application is half made beneath this call: nothing of it
        // can be unwound or finalised.
        std::_Exit(RuntimeExit());
    }

    void holdMessage(QtMsgType type, const QMessageLogContext& context, const QString& text)
    {
        auto& h = held();
        std::lock_guard lock(h.mutex);
        if (type == QtFatalMsg) {
            // The platform's first warning names the cause (the connection,
            // the plug-in); the fatal message says only that Qt gave up.
            for (const HeldMessage& m : h.messages) {
                if (m.type != QtDebugMsg && m.type != QtInfoMsg && m.category.startsWith("qt.qpa"))
                    failStart(m.text);
            }
            failStart(text);
        }
        h.messages.push_back({ type, QByteArray(context.category ? context.category : ""), text });
    }

    // Qt reports a start it cannot make with qFatal, which aborts. While the
    // application is made, Qt's messages are held back: a fatal one ends the
    // start with one line; after a good start the others are passed on.
    class HoldMessagesWhileStarting {
    public:
        HoldMessagesWhileStarting() { held().previous = qInstallMessageHandler(holdMessage); }
        ~HoldMessagesWhileStarting()
        {
            auto& h = held();
            std::vector<HeldMessage> messages;
            {
                std::lock_guard lock(h.mutex);
                qInstallMessageHandler(h.previous);
                messages = std::move(h.messages);
                h.messages.clear();
            }
            for (const HeldMessage& m : messages) {
                const QMessageLogContext context(nullptr, 0, nullptr, m.category.constData());
                if (h.previous)
                    h.previous(m.type, context, m.text);
                else
                    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(m.type, context, m.text)));
            }
        }
        HoldMessagesWhileStarting(const HoldMessagesWhileStarting&) = delete;
        HoldMessagesWhileStarting& operator=(const HoldMessagesWhileStarting&) = delete;
    };

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
    RequireDisplay();
    if (!Application::SupportsHiDPI())
        qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    resetArguments();
    {
        HoldMessagesWhileStarting holding;
        owned() = std::make_unique<FrameworkApplication>(argc, argv);
    }
    owned()->setQuitOnLastWindowClosed(false);
    WatchDisplay(*owned());
    return *owned();
}

void DeleteOwnedApplication()
{
    if (!owned())
        return;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // The connection goes with the application.
    UnwatchDisplay();
    owned().reset();
}

} // namespace platform::qt
