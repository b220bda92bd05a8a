#include "platform/qt/WindowRegistry.h"

#include "platform/Window.h"
#include "platform/qt/WindowAccess.h"
#include "platform/qt/WindowImpl.h"

#include <algorithm>
#include <cstdint>

namespace platform::qt {
namespace {

    struct Registry {
        std::vector<platform::Window*> live;
        std::vector<std::shared_ptr<platform::Window>> open;
        std::function<void()> lastClosed;
    };

    Registry& registry()
    {
        // Never destroyed: open windows are released by the finalisers, and
        // must not be destroyed from a static destructor after Qt has gone.
        static Registry& r = *new Registry;
        return r;
    }

} // namespace

void RegisterLiveWindow(platform::Window* window) { registry().live.push_back(window); }

void UnregisterLiveWindow(platform::Window* window)
{
    auto& live = registry().live;
    live.erase(std::remove(live.begin(), live.end(), window), live.end());
}

std::vector<platform::Window*> LiveWindows() { return registry().live; }

platform::Window* WindowOfWidget(const QWidget* topLevel)
{
    if (!topLevel)
        return nullptr;
    for (auto* window : registry().live) {
        if (window->Handle() == static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(topLevel)))
            return window;
    }
    return nullptr;
}

void KeepOpen(std::shared_ptr<platform::Window> window)
{
    auto& open = registry().open;
    if (std::find(open.begin(), open.end(), window) == open.end())
        open.push_back(std::move(window));
}

void ReleaseOpen(const platform::Window* window)
{
    auto& open = registry().open;
    auto it = std::find_if(open.begin(), open.end(), [&](const auto& w) { return w.get() == window; });
    if (it == open.end())
        return;
    // Released after the erase: the window's destructor may run now.
    auto released = std::move(*it);
    open.erase(it);
    released.reset();
    if (registry().open.empty() && registry().lastClosed)
        registry().lastClosed();
}

std::vector<std::shared_ptr<platform::Window>> OpenWindows() { return registry().open; }

bool AnyWindowOpenOrOpening()
{
    if (!registry().open.empty())
        return true;
    for (platform::Window* window : registry().live) {
        if (WindowAccess::Of(*window).state == platform::Window::Impl::State::Constructed)
            return true;
    }
    return false;
}

void OnLastWindowClosed(std::function<void()> call) { registry().lastClosed = std::move(call); }

void CloseWithoutEvent(platform::Window& window)
{
    auto& impl = WindowAccess::Of(window);
    if (impl.state == platform::Window::Impl::State::Closed)
        return;
    impl.state = platform::Window::Impl::State::Closed;
    impl.Teardown(false);
    ReleaseOpen(&window);
}

void ReleaseAllOpen()
{
    auto open = std::move(registry().open);
    registry().open.clear();
    open.clear();
}

void DestroyAllNativeWindows()
{
    for (platform::Window* window : LiveWindows()) {
        auto& impl = WindowAccess::Of(*window);
        impl.state = platform::Window::Impl::State::Closed;
        impl.Teardown(true);
    }
}

} // namespace platform::qt
