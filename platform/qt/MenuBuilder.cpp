#include "platform/qt/MenuBuilder.h"

#include "platform/MenuItem.h"
#include "platform/qt/Conversions.h"
#include "platform/qt/Shortcuts.h"

#include <QMenu>

namespace platform::qt {
namespace {

    void addItems(QWidget* target, const MenuItem& parent, QWidget* owner, const ChooseFunction& choose, bool shortcuts,
        std::vector<QAction*>& leaves)
    {
        for (std::size_t i = 0; i < parent.Count(); ++i) {
            std::shared_ptr<MenuItem> item = parent.Item(i);
            if (item->Count() > 0) {
                // Owned by what it hangs in, so that it goes when that is rebuilt.
                auto* menu = new QMenu(ToQt(item->Text()), target);
                addItems(menu, *item, owner, choose, shortcuts, leaves);
                QAction* menuAction = menu->menuAction();
                menuAction->setVisible(item->Visible());
                menuAction->setEnabled(item->AutoEnabled());
                target->addAction(menuAction);
                continue;
            }
            auto* action = new QAction(ToQt(item->Text()), owner);
            if (shortcuts) {
                action->setShortcut(ShortcutFor(item->Shortcut()));
                action->setShortcutContext(Qt::WindowShortcut);
            }
            action->setVisible(item->Visible());
            action->setEnabled(item->AutoEnabled());
            std::weak_ptr<MenuItem> weakItem = item;
            QObject::connect(action, &QAction::triggered, action, [weakItem, choose] {
                if (auto chosen = weakItem.lock())
                    choose(chosen);
            });
            target->addAction(action);
            leaves.push_back(action);
        }
    }

} // namespace

std::vector<QAction*> AddMenus(
    QWidget* target, const MenuItem& root, QWidget* owner, const ChooseFunction& choose, bool shortcuts)
{
    std::vector<QAction*> leaves;
    addItems(target, root, owner, choose, shortcuts, leaves);
    return leaves;
}

} // namespace platform::qt
