#include "platform/qt/QtApplication.h"

#include "platform/Application.h"
#include "platform/Runtime.h"
#include "platform/RuntimeException.h"
#include "platform/qt/DisplayConnection.h"

#include <QApplication>
#include <QEvent>
#include <memory>

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

    int argc = 1;
    char programName[] = "quillamere";
    char* argv[] = { programName, nullptr };

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
    owned() = std::make_unique<FrameworkApplication>(argc, argv);
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
