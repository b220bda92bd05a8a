// Rebuilding a window's menus replaces them: every Qt menu of the old build,
// submenus included, goes with it.
#include "FileMenuBar.h"
#include "PlatformTestSupport.h"

#include "platform/Window.h"

#include <QApplication>
#include <QMenu>
#include <gtest/gtest.h>

using namespace platform_test;

namespace {

using menu_test::MenuItem;

// The File menu with a submenu of its own, and Edit.
std::shared_ptr<platform::MenuBar> nestedMenuBar()
{
    auto bar = menu_test::FileMenuBar();
    auto recent = MenuItem("RecentMenu", "Recent");
    recent->AddMenu(MenuItem("RecentOne", "One"));
    bar->Child("FileMenu")->AddMenu(recent);
    auto edit = MenuItem("EditMenu", "&Edit");
    edit->AddMenu(MenuItem("EditCopy", "Copy"));
    bar->AddMenu(edit);
    return bar;
}

class BarWindow : public platform::Window {
public:
    BarWindow(std::int64_t type, std::shared_ptr<platform::MenuBar> bar)
        : type_(type)
        , bar_(std::move(bar))
    {
        Constructor();
    }
    void Layout() override
    {
        SetMenuBar(bar_);
        SetWidth(424);
        SetHeight(264);
        SetType(type_);
    }
    std::int64_t type_;
    std::shared_ptr<platform::MenuBar> bar_;
};

int menusAlive()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    int count = 0;
    for (QWidget* widget : QApplication::allWidgets())
        count += qobject_cast<QMenu*>(widget) != nullptr;
    return count;
}

} // namespace

TEST(MenuRebuild, EveryRebuildReplacesAllMenusOfTheWindow)
{
    const int before = menusAlive();
    // The plain box's bar is its context menu; the titled window shows it.
    // Three submenus either way, and the context menu besides.
    struct Case {
        std::int64_t type;
        int menus;
    };
    for (const Case& c : { Case { platform::Window::TypePlainBox, 4 }, Case { platform::Window::TypeDocument, 3 } }) {
        SCOPED_TRACE(c.type);
        const int menus = c.menus;
        auto bar = nestedMenuBar();
        auto window = std::make_shared<BarWindow>(c.type, bar);
        ASSERT_TRUE(WaitUntil([&] { return TopLevel(*window) && TopLevel(*window)->isVisible(); }));
        EXPECT_EQ(menusAlive() - before, menus);
        for (int rebuild = 1; rebuild <= 5; ++rebuild) {
            SCOPED_TRACE(rebuild);
            window->SetMenuBar(bar);
            EXPECT_TRUE(WaitUntil([&] { return menusAlive() - before == menus; })) << menusAlive() - before;
        }
        window->Close();
        EXPECT_TRUE(WaitUntil([&] { return menusAlive() == before; })) << menusAlive() - before;
    }
}
