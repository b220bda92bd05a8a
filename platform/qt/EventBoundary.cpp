#include "platform/qt/EventBoundary.h"

#include <QCoreApplication>

namespace platform::qt {
namespace {

    struct LoopState {
        bool stopped = false;
        bool loopRunning = false;
        bool quitBeforeLoop = false;
        int exitCode = 0;
        ExceptionHelper helper = DefaultExceptionHelper;
    };

    LoopState& state()
    {
        // Never destroyed: a process that exits from inside Qt (a lost
        // display) must not run destructors of the framework's state.
        static LoopState& s = *new LoopState;
        return s;
    }

} // namespace

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

} // namespace platform::qt
