#include "platform/Timer.h"

#include "platform/RuntimeException.h"
#include "platform/qt/EventBoundary.h"
#include "platform/qt/QtApplication.h"

#include <QTimer>

namespace platform {

struct Timer::Impl {
    QTimer timer;
    std::int64_t mode = Timer::RunModeMultiple;
    std::int64_t period = 1000;
    bool enabled = true;
    bool windowClosed = false;

    void Apply()
    {
        if (windowClosed || !enabled || mode == Timer::RunModeOff) {
            timer.stop();
            return;
        }
        timer.setSingleShot(mode == Timer::RunModeSingle);
        timer.start(static_cast<int>(std::min<std::int64_t>(period, INT32_MAX)));
    }
};

Timer::Timer(platform::Window& owner)
    : Control(owner)
{
    qt::EnsureApplication();
    impl_ = std::make_unique<Impl>();
    impl_->timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&impl_->timer, &QTimer::timeout, &impl_->timer, [this] {
        if (!OwnerWindow()) {
            impl_->windowClosed = true;
            impl_->Apply();
            return;
        }
        if (impl_->mode == RunModeSingle)
            impl_->mode = RunModeOff;
        // The action may drop the last other reference to this timer.
        std::shared_ptr<Control> keep = weak_from_this().lock();
        qt::Deliver([&] {
            // A copy: the action may replace itself while it runs.
            auto action = Action;
            if (action)
                action(*this);
        });
    });
    impl_->Apply();
}

Timer::~Timer() = default;

void Timer::SetRunMode(std::int64_t mode)
{
    if (mode != RunModeOff && mode != RunModeSingle && mode != RunModeMultiple)
        throw OutOfBoundsException("unsupported timer run mode " + std::to_string(mode));
    impl_->mode = mode;
    impl_->Apply();
}

std::int64_t Timer::RunMode() const { return impl_->mode; }

void Timer::SetPeriod(std::int64_t milliseconds)
{
    if (milliseconds < 0)
        throw OutOfBoundsException("negative timer period " + std::to_string(milliseconds));
    impl_->period = milliseconds;
    impl_->Apply();
}

std::int64_t Timer::Period() const { return impl_->period; }

void Timer::SetEnabled(bool enabled)
{
    impl_->enabled = enabled;
    impl_->Apply();
}

bool Timer::Enabled() const { return impl_->enabled; }

bool Timer::IsRunning() const { return impl_->timer.isActive(); }

void Timer::WindowClosed()
{
    impl_->windowClosed = true;
    impl_->Apply();
}

} // namespace platform
