#pragma once

#include "platform/MenuBar.h"

#include <memory>

// The program's one menu bar: a File menu with Quit, Preferences… and Close.
// The application and every window install the same shared instance.
class MainMenuBar : public platform::MenuBar {
public:
    // The shared instance, built on first use. It is stored only once it is
    // complete, so a failed build is tried again from scratch next time.
    static std::shared_ptr<MainMenuBar> Instance();

protected:
    MainMenuBar();
    // Builds the File menu and its three items.
    virtual void FileMenu();

private:
    static std::shared_ptr<MainMenuBar> implicitInstance;
};
