#pragma once

// Helpers shared by the framework layer's tests: waiting on the real event
// loop, running a child program, and reaching a window's native objects.
// The X tools are run through tests/support/XTools.h.

#include "tests/support/EventLoop.h"
#include "platform/Window.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>
#include <QThread>
#include <QWidget>
#include <functional>
#include <string>

namespace platform_test {

using quill_test::Spin;
using quill_test::WaitUntil;

struct CommandResult {
    int exitCode = -1;
    bool crashed = false;
    std::string out;
    std::string err;
};

inline CommandResult RunCommand(const QString& program, const QStringList& arguments, int timeoutMs = 20000)
{
    QProcess process;
    process.start(program, arguments);
    CommandResult result;
    if (!process.waitForStarted(timeoutMs))
        return result;
    // Keep the event loop going: the program under test may be waiting for us.
    WaitUntil([&] { return process.state() == QProcess::NotRunning || process.waitForFinished(1); }, timeoutMs);
    process.waitForFinished(1000);
    result.exitCode = process.exitCode();
    result.crashed = process.exitStatus() == QProcess::CrashExit;
    result.out = process.readAllStandardOutput().toStdString();
    result.err = process.readAllStandardError().toStdString();
    return result;
}

inline QWidget* TopLevel(const platform::Window& window)
{
    return reinterpret_cast<QWidget*>(static_cast<std::intptr_t>(window.Handle()));
}

// The X window id of a window, as the X tools take it.
inline QString XId(const platform::Window& window)
{
    QWidget* widget = TopLevel(window);
    return widget ? QString::number(widget->winId()) : QString();
}

} // namespace platform_test
