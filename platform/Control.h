#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace platform {

class Window;

// A control of a window. It is made for its window, which it refers to
// weakly, and then registered with Window::AddControl, which names it:
//
//   auto timer = std::make_shared<platform::Timer>(*this);  // in CreateControls
//   AddControl("TimerUpdate", timer);
//
// Always create controls through std::shared_ptr.
class Control : public std::enable_shared_from_this<Control> {
public:
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // The name given at registration; empty before.
    const std::string& Name() const { return name_; }
    // The index within a control array; none for a single control.
    std::optional<std::int64_t> Index() const { return index_; }
    void SetIndex(std::optional<std::int64_t> index) { index_ = index; }
    // The owning window; none once it no longer exists, and while it is still
    // being constructed (it has no shared owner yet).
    std::shared_ptr<platform::Window> Window() const;
    // The owning window, also during its construction; none once it no longer
    // exists. Do not keep the result beyond the current call.
    platform::Window* OwnerWindow() const;

protected:
    explicit Control(platform::Window& owner);

    // Called by the window when it closes or is destroyed: the control stops
    // (timers) or releases its native resources (surface).
    virtual void WindowClosed() { }

private:
    friend struct WindowAccess;
    platform::Window* owner_;
    std::weak_ptr<void> ownerAlive_;
    std::string name_;
    std::optional<std::int64_t> index_;
};

} // namespace platform
