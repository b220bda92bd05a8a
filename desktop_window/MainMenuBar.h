#pragma once

#include "platform/MenuBar.h"

#include <memory>
#include <string>

namespace platform {
class QuitMenuItem;
}

// The program's one menu bar: a File menu with Quit, Preferences… and Close.
// The application and every window install the same shared instance.
class MainMenuBar : public platform::MenuBar {
public:
    // The shared instance, built on first use. It is stored only once it is
    // complete, so a failed build is tried again from scratch next time.
    static std::shared_ptr<MainMenuBar> Instance();

    // The item of that name in a window's bar: one of the bar's menus, or an
    // item of its File menu; none when there is none. A missing bar raises
    // platform::NilObjectException.
    static std::shared_ptr<platform::MenuItem> ItemNamed(
        const std::shared_ptr<platform::MenuBar>& bar, const std::string& name);
    // The quit item of a window's bar.
    static std::shared_ptr<platform::QuitMenuItem> QuitItem(const std::shared_ptr<platform::MenuBar>& bar);

protected:
    MainMenuBar();
    // Builds the File menu and its three items.
    virtual void FileMenu();

private:
    static std::shared_ptr<MainMenuBar> implicitInstance;
};
