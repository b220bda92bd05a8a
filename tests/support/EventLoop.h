#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <functional>
#include <thread>

// The tests' one way to wait. In a test that runs a Qt application on this
// thread, its event loop keeps going while the test waits, so that its
// windows and timers live; without one (the end-to-end tests) the wait
// simply polls.
namespace quill_test {

namespace detail {

    inline bool RunsTheEventLoop()
    {
        const QCoreApplication* app = QCoreApplication::instance();
        return app && app->thread() == QThread::currentThread();
    }

    // Lets about ms milliseconds pass, handling the application's events.
    inline void Pass(int ms)
    {
        QElapsedTimer clock;
        clock.start();
        do {
            if (RunsTheEventLoop())
                QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        } while (clock.elapsed() < ms);
    }

} // namespace detail

// Waits until condition() holds, up to timeoutMs; returns whether it held.
// It returns as soon as the condition holds, so a generous deadline costs
// nothing when things work and keeps a busy machine from failing the test.
// The condition is polled often at first and then every 50 ms or so, which
// spares the machine when it runs X tools.
inline bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 20000)
{
    QElapsedTimer clock;
    clock.start();
    int pause = 1;
    while (!condition()) {
        if (clock.elapsed() >= timeoutMs)
            return condition();
        detail::Pass(pause);
        pause = std::min(pause * 2, 50);
    }
    return true;
}

// Lets ms milliseconds pass, the event loop running. Only for a check that
// nothing happens: wait for whatever should happen with WaitUntil.
inline void Spin(int ms) { detail::Pass(ms); }

} // namespace quill_test
