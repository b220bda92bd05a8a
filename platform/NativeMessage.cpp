#include "platform/NativeMessage.h"

#include "platform/RuntimeException.h"
#include "platform/UnrecognizedSelectorException.h"
#include "platform/x11/X11WindowLevel.h"

#include <QApplication>
#include <QWidget>

#include <cstdio>
#include <string>

namespace platform {

namespace {

    std::string hex(std::int64_t value)
    {
        char text[32];
        std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(value));
        return text;
    }

    // The handle is compared with the addresses of the live top-level widgets
    // and never dereferenced itself, so a stale or made-up handle is harmless.
    QWidget* windowForHandle(std::int64_t receiver)
    {
        if (receiver != 0 && qobject_cast<QApplication*>(QCoreApplication::instance())) {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (widget->isWindow() && reinterpret_cast<std::intptr_t>(widget) == receiver)
                    return widget;
            }
        }
        throw NilObjectException("message sent to " + hex(receiver) + ", which is not a window of this program");
    }

    void setLevel(QWidget& window, std::int64_t level)
    {
        if (level == DesktopWindowLevel)
            X11WindowLevel::SetDesktop(window);
        else
            X11WindowLevel::SetNormal(window);
    }

} // namespace

Selector sel_registerName(const char* name)
{
    if (!name)
        throw NilObjectException("sel_registerName given no name");
    return Selector(name);
}

void objc_msgSend(std::int64_t receiver, const Selector& selector, std::int64_t argument)
{
    QWidget& window = *windowForHandle(receiver);
    if (selector.Name() == "setLevel:")
        return setLevel(window, argument);
    throw UnrecognizedSelectorException(
        "unrecognized selector \"" + selector.Name() + "\" sent to window " + hex(receiver));
}

} // namespace platform
