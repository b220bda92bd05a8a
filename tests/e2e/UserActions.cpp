#include "UserActions.h"

namespace e2e {

std::optional<PreferencesWindow> openPreferencesByKeys(const Program& program)
{
    std::vector<WindowId> desktops = program.desktopWindows();
    if (desktops.empty() || !activate(desktops.front()))
        return std::nullopt;
    key("ctrl+comma");
    std::vector<WindowId> found;
    if (!waitUntil([&] { return (found = program.preferencesWindows()).size() == 1; }, 10000))
        return std::nullopt;
    PreferencesWindow window(found.front());
    // Shown, placed and painted before the caller reads it.
    if (!waitUntil(
            [&] {
                return window.content().height() == PreferencesWindow::contentHeight && window.painted(screenshot());
            },
            10000))
        return std::nullopt;
    return window;
}

bool chooseFromMenuAt(const Program& program, QPoint at, FileItem item)
{
    click(at, 3);
    if (!waitUntil([&] { return popupMenus(program.pid()).size() == 1; }, 5000))
        return false;
    sleepMs(150); // the menu takes the keyboard once it is shown
    key("Down Right");
    if (!waitUntil([&] { return popupMenus(program.pid()).size() == 2; }, 5000))
        return false;
    sleepMs(150);
    // The submenu opens with its first item, Quit, selected.
    for (int i = 0; i < static_cast<int>(item); ++i)
        key("Down");
    key("Return");
    return true;
}

} // namespace e2e
