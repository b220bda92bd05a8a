#include "UserActions.h"

namespace e2e {

using namespace xtools;

std::optional<PreferencesWindow> openPreferencesByKeys(const Program& program)
{
    std::vector<WindowId> desktops = program.desktopWindows();
    if (desktops.empty() || !activate(desktops.front()))
        return std::nullopt;
    key("ctrl+comma");
    std::vector<WindowId> found;
    if (!quill_test::WaitUntil([&] { return (found = program.preferencesWindows()).size() == 1; }))
        return std::nullopt;
    PreferencesWindow window(found.front());
    // Shown, placed and painted before the caller reads it.
    if (!quill_test::WaitUntil([&] {
            return window.content().height() == PreferencesWindow::contentHeight && window.painted(screenshot());
        }))
        return std::nullopt;
    return window;
}

namespace {

    // Whether the screen shows the menu painted: its light background just
    // inside both bottom corners (a menu shows its first item lit once it
    // is chosen, and a submenu opens with it lit).
    bool painted(WindowId menu)
    {
        const QImage shot = screenshot();
        const QRect inside = geometry(menu).adjusted(3, 3, -4, -4);
        if (inside.isEmpty())
            return false;
        for (QPoint corner : { inside.bottomLeft(), inside.bottomRight() }) {
            if (!shot.rect().contains(corner) || qGray(shot.pixel(corner)) < 200)
                return false;
        }
        return true;
    }

    // Waits until the program shows one menu more than those it showed,
    // mapped and painted, and returns them all (none if it did not). X tells
    // no other client who holds the keyboard; a menu painted on screen has
    // been through the program's handling of its showing, in which the
    // program takes the keyboard and pointer for it.
    std::vector<WindowId> oneMenuMore(const Program& program, const std::vector<WindowId>& shown)
    {
        std::vector<WindowId> menus;
        const bool appeared = quill_test::WaitUntil([&] {
            menus = popupMenus(program.pid());
            if (menus.size() != shown.size() + 1)
                return false;
            for (WindowId menu : menus) {
                if (!contains(shown, menu))
                    return painted(menu);
            }
            return false;
        });
        return appeared ? menus : std::vector<WindowId> {};
    }

} // namespace

bool chooseFromMenuAt(const Program& program, QPoint at, FileItem item)
{
    click(at, 3);
    const std::vector<WindowId> menu = oneMenuMore(program, {});
    if (menu.empty())
        return false;
    key("Down Right");
    if (oneMenuMore(program, menu).empty())
        return false;
    // The submenu opens with its first item, Quit, selected.
    for (int i = 0; i < static_cast<int>(item); ++i)
        key("Down");
    key("Return");
    return true;
}

} // namespace e2e
