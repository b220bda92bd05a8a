#include "platform/qt/MenuChoice.h"

#include "platform/Application.h"
#include "platform/MenuItem.h"
#include "platform/QuitMenuItem.h"
#include "platform/Runtime.h"
#include "platform/Window.h"

#include <string>

namespace platform::qt {

void Choose(const std::shared_ptr<platform::MenuItem>& item, platform::Window* window)
{
    if (!item)
        return;
    // The handlers may close the window or drop other references to it.
    std::shared_ptr<platform::Window> keep = window ? window->weak_from_this().lock() : nullptr;
    const std::string name = item->Name();
    if (window && !window->IsClosed()) {
        if (auto handler = window->MenuHandler(name); handler && handler())
            return;
    }
    if (auto app = GetAppObject()) {
        if (auto handler = app->MenuHandler(name); handler && handler())
            return;
    }
    if (dynamic_cast<const QuitMenuItem*>(item.get()))
        Quit();
}

} // namespace platform::qt
