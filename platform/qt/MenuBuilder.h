#pragma once

#include <QAction>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

namespace platform {
class MenuItem;
}

namespace platform::qt {

using ChooseFunction = std::function<void(const std::shared_ptr<platform::MenuItem>&)>;

// Adds the children of root to target (a QMenuBar or a QMenu) as Qt menus and
// actions. An item with children becomes a submenu, owned by the menu or bar
// it is added to; a leaf becomes an action, owned by owner, that calls choose
// with its item. With shortcuts, each leaf carries its key sequence (shortcut
// context: the window of owner). Returns the leaf actions.
std::vector<QAction*> AddMenus(
    QWidget* target, const platform::MenuItem& root, QWidget* owner, const ChooseFunction& choose, bool shortcuts);

} // namespace platform::qt
