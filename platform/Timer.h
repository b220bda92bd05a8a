#pragma once

#include "platform/Control.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace platform {

// A timer control (a QTimer with Qt::PreciseTimer). It runs while Enabled and
// its RunMode is not RunModeOff; Action is raised on the main thread, through
// the exception boundary, with the timer itself. It stops for good when its
// window closes or is destroyed; Window() answers none only once the window
// is destroyed (a closed window that is still held is still its window).
//
//   auto t = std::make_shared<platform::Timer>(*this);
//   AddControl("TimerUpdate", t);
//   t->SetRunMode(platform::Timer::RunModeMultiple); t->SetPeriod(35); t->SetEnabled(true);
//   t->Action = [this](platform::Timer& timer) { TimerUpdate_Action(timer); };
class Timer : public Control {
public:
    static constexpr std::int64_t RunModeOff = 0;
    static constexpr std::int64_t RunModeSingle = 1; // fires once, then RunMode becomes RunModeOff
    static constexpr std::int64_t RunModeMultiple = 2; // fires every Period

    explicit Timer(platform::Window& owner);
    ~Timer() override;

    // RunModeOff, RunModeSingle or RunModeMultiple; others raise OutOfBoundsException.
    void SetRunMode(std::int64_t mode);
    std::int64_t RunMode() const;
    // Milliseconds; negative values raise OutOfBoundsException.
    void SetPeriod(std::int64_t milliseconds);
    std::int64_t Period() const;
    void SetEnabled(bool enabled);
    bool Enabled() const;
    // Whether the underlying timer is currently counting down.
    bool IsRunning() const;

    std::function<void(Timer&)> Action;

protected:
    void WindowClosed() override;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace platform
