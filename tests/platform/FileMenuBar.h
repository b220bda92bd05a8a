#pragma once

// The menu bar that the framework tests and their probe program install:
// the program's File menu, to which a test may add menus of its own.

#include "platform/MenuBar.h"
#include "platform/MenuItem.h"
#include "platform/QuitMenuItem.h"

#include <memory>

namespace menu_test {

template <typename Item = platform::MenuItem>
std::shared_ptr<platform::MenuItem> MenuItem(const char* name, const char* text, const char* shortcut = "")
{
    auto made = std::make_shared<Item>();
    made->SetName(name);
    made->SetText(text);
    made->SetShortcut(shortcut);
    return made;
}

// File: Quit (Cmd+Q), Preferences… (Cmd+,) and Close (Cmd+W).
inline std::shared_ptr<platform::MenuBar> FileMenuBar()
{
    auto bar = std::make_shared<platform::MenuBar>();
    auto file = MenuItem("FileMenu", "&File");
    file->AddMenu(MenuItem<platform::QuitMenuItem>("FileQuit", "&Quit", "Cmd+Q"));
    file->AddMenu(MenuItem("ShowPreferences", "Preferences\u2026", "Cmd+,"));
    file->AddMenu(MenuItem("CloseWindow", "Close", "Cmd+W"));
    bar->AddMenu(file);
    return bar;
}

} // namespace menu_test
