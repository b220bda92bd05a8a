#include "desktop_window/MainMenuBar.h"

#include "platform/QuitMenuItem.h"
#include "platform/RuntimeException.h"

std::shared_ptr<MainMenuBar> MainMenuBar::implicitInstance;

std::shared_ptr<MainMenuBar> MainMenuBar::Instance()
{
    if (implicitInstance)
        return implicitInstance;
    // make_shared cannot reach the protected constructor.
    std::shared_ptr<MainMenuBar> bar(new MainMenuBar());
    implicitInstance = bar;
    return bar;
}

std::shared_ptr<platform::MenuItem> MainMenuBar::ItemNamed(
    const std::shared_ptr<platform::MenuBar>& bar, const std::string& name)
{
    auto& menus = platform::deref(bar, "menu bar");
    if (auto menu = menus.Child(name))
        return menu;
    auto fileMenu = menus.Child("FileMenu");
    return fileMenu ? fileMenu->Child(name) : nullptr;
}

std::shared_ptr<platform::QuitMenuItem> MainMenuBar::QuitItem(const std::shared_ptr<platform::MenuBar>& bar)
{
    return std::dynamic_pointer_cast<platform::QuitMenuItem>(ItemNamed(bar, "FileQuit"));
}

MainMenuBar::MainMenuBar() { FileMenu(); }

namespace {

void configure(platform::MenuItem& item, const char* name, const char* text, const char* shortcut)
{
    item.SetName(name);
    item.SetAutoEnabled(true);
    item.SetText(text);
    item.SetVisible(true);
    item.SetShortcut(shortcut);
}

} // namespace

void MainMenuBar::FileMenu()
{
    auto fileMenu = std::make_shared<platform::MenuItem>();
    configure(*fileMenu, "FileMenu", "&File", "");
    AddMenu(fileMenu);

    // The File menu is looked up by name for each item.
    auto quit = std::make_shared<platform::QuitMenuItem>();
    configure(*quit, "FileQuit", "&Quit", "Cmd+Q");
    platform::deref(Child("FileMenu"), "File menu").AddMenu(quit);

    auto preferences = std::make_shared<platform::MenuItem>();
    configure(*preferences, "ShowPreferences", "Preferences\u2026", "Cmd+,");
    platform::deref(Child("FileMenu"), "File menu").AddMenu(preferences);

    auto close = std::make_shared<platform::MenuItem>();
    configure(*close, "CloseWindow", "Close", "Cmd+W");
    platform::deref(Child("FileMenu"), "File menu").AddMenu(close);
}
