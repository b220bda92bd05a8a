#pragma once

// The event boundary: every call from Qt into the program's code (timer
// actions, Render, window events, menu handlers, check-box actions, the
// application's Open) goes through Deliver, which hands whatever escapes to
// the unhandled-exception handling, so that no C++ exception reaches Qt. It
// also keeps the event loop's state and the exit code.

#include "platform/Runtime.h"

#include <functional>

namespace platform::qt {

// Calls call through the installed exception helper. Returns true when call
// returned normally. Does nothing (and returns false) once an unhandled
// exception or a quit stopped event delivery.
bool Deliver(const std::function<void()>& call);
void SetExceptionHelper(ExceptionHelper helper);
bool EventsStopped();
// Stops event delivery and ends the event loop with exitCode.
void EndEventLoop(int exitCode);
// Called by RuntimeRun around the loop: false when a quit came before it.
bool BeginEventLoop();
void EventLoopReturned();
int ExitCode();

} // namespace platform::qt
