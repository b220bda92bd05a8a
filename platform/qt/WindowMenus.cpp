#include "platform/qt/WindowMenus.h"

#include "platform/MenuBar.h"

#include <algorithm>

namespace platform::qt {

void WindowMenus::Build(QWidget& topLevel, const platform::MenuBar* bar, bool asMenuBar, const ChooseFunction& choose)
{
    for (auto& action : actions_) {
        if (action) {
            topLevel.removeAction(action);
            action->deleteLater();
        }
    }
    actions_.clear();
    if (menuBar_) {
        menuBar_->hide();
        menuBar_->deleteLater();
    }
    if (menu_)
        menu_->deleteLater();
    menuBarHeight_ = 0;
    if (!bar)
        return;

    std::vector<QAction*> leaves;
    if (asMenuBar) {
        menuBar_ = new QMenuBar(&topLevel);
        menuBar_->setNativeMenuBar(false);
        leaves = AddMenus(menuBar_, *bar, &topLevel, choose, true);
        menuBarHeight_ = std::max(menuBar_->sizeHint().height(), 1);
        menuBar_->show();
    } else {
        menu_ = new QMenu(&topLevel);
        leaves = AddMenus(menu_, *bar, &topLevel, choose, true);
    }
    for (QAction* action : leaves) {
        topLevel.addAction(action);
        actions_.emplace_back(action);
    }
}

void WindowMenus::PlaceMenuBar(int width)
{
    if (menuBar_)
        menuBar_->setGeometry(0, 0, width, menuBarHeight_);
}

void WindowMenus::PopupContextMenu(const QPoint& globalPosition)
{
    if (menu_)
        menu_->popup(globalPosition);
}

} // namespace platform::qt
