#include "platform/Screen.h"

#include "platform/RuntimeException.h"
#include "platform/qt/QtApplication.h"

#include <QGuiApplication>
#include <QScreen>
#include <vector>

namespace platform {
namespace {

    std::vector<QScreen*> orderedScreens()
    {
        qt::EnsureApplication();
        std::vector<QScreen*> result;
        QScreen* primary = QGuiApplication::primaryScreen();
        if (primary)
            result.push_back(primary);
        for (QScreen* screen : QGuiApplication::screens()) {
            if (screen != primary)
                result.push_back(screen);
        }
        return result;
    }

} // namespace

std::int64_t Screen::ScreenCount() { return static_cast<std::int64_t>(orderedScreens().size()); }

Screen Screen::ScreenAt(std::int64_t index)
{
    const auto screens = orderedScreens();
    if (index < 0 || index >= static_cast<std::int64_t>(screens.size()))
        throw OutOfBoundsException(
            "screen index " + std::to_string(index) + " out of range (" + std::to_string(screens.size()) + " screens)");
    const QRect frame = screens[static_cast<std::size_t>(index)]->geometry();
    const QRect area = screens[static_cast<std::size_t>(index)]->availableGeometry();
    Screen s;
    s.left_ = frame.x();
    s.top_ = frame.y();
    s.width_ = frame.width();
    s.height_ = frame.height();
    s.availableLeft_ = area.x();
    s.availableTop_ = area.y();
    s.availableWidth_ = area.width();
    s.availableHeight_ = area.height();
    return s;
}

} // namespace platform
