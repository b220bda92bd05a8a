#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <functional>

// Event-loop helpers for tests that drive windows and timers in-process.
namespace quill_test {

// Runs the event loop until done() holds or timeoutMs passed; returns done().
inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 5000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return done();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return true;
}

// Runs the event loop for ms milliseconds.
inline void Spin(int ms)
{
    WaitUntil([] { return false; }, ms);
}

} // namespace quill_test
