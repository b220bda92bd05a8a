#include "desktop_window/ExtendsWindow.h"

#include "platform/NativeMessage.h"
#include "platform/Window.h"

namespace ExtendsWindow {

void setLevel(platform::Window& window, std::int64_t level)
{
    // The selector is looked up on every call; nothing is cached.
    platform::Selector selector = platform::sel_registerName("setLevel:");
    platform::objc_msgSend(window.Handle(), selector, level);
}

} // namespace ExtendsWindow
