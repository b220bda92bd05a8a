#pragma once

#include "platform/qt/MenuBuilder.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPoint>
#include <QPointer>
#include <vector>

namespace platform {
class MenuBar;
}

namespace platform::qt {

// The menus of one window, built from a menu bar: a titled window's menu bar
// above its content area, or the menu a plain box offers on a right click.
// Either way the items' actions also sit on the top-level widget, so that
// their shortcuts work wherever the focus is in the window.
class WindowMenus {
public:
    // Drops what was built before and builds from bar (none builds nothing);
    // with asMenuBar a visible menu bar, else a context menu.
    void Build(QWidget& topLevel, const platform::MenuBar* bar, bool asMenuBar, const ChooseFunction& choose);
    // The visible menu bar's height, 0 without one.
    int MenuBarHeight() const { return menuBarHeight_; }
    void PlaceMenuBar(int width);
    void PopupContextMenu(const QPoint& globalPosition);
    // Lets go of the actions, which go with the top-level widget.
    void Release() { actions_.clear(); }

private:
    QPointer<QMenuBar> menuBar_;
    QPointer<QMenu> menu_; // holds the actions when there is no visible menu bar
    std::vector<QPointer<QAction>> actions_;
    int menuBarHeight_ = 0;
};

} // namespace platform::qt
