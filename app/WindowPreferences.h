#pragma once

#include "platform/Window.h"

#include <cstdint>
#include <memory>

namespace platform {
class CheckBox;
class MenuItem;
class QuitMenuItem;
}

// The preferences window: one box per screen, ticked where the screen has its
// animation window when the window opens. Ticking a box opens that screen's
// window at once, clearing it closes the window; a box whose screen has gone
// opens nothing and is cleared again. Only App's
// ShowPreferences_Action creates it, and App::prefsWindow holds it while it is open.
class WindowPreferences : public platform::Window {
public:
    WindowPreferences();

    void Layout() override;
    void CreateControls() override;
    // Member 0 of the control array "CheckBoxScreen".
    virtual void CreateControls0();
    // The Action of every box; sender is the box, its Index the screen index.
    virtual void CheckBoxScreen_Action(platform::CheckBox& sender);
    virtual std::shared_ptr<platform::MenuItem> FileMenu() const;
    virtual std::shared_ptr<platform::MenuItem> CloseWindow() const;
    virtual std::shared_ptr<platform::MenuItem> ShowPreferences() const;
    virtual std::shared_ptr<platform::QuitMenuItem> FileQuit() const;
    void AddMenuHandlers(platform::Window& window) override;
    void Event_Close() override;
    // Builds and ticks the boxes, then places the window on the main screen.
    void Event_Open() override;
    // The handler of the menu item "CloseWindow" (Close, Cmd+W). Always true.
    virtual bool CloseWindow_Action();

    // The member of the control array "CheckBoxScreen" with that index, or none.
    std::shared_ptr<platform::CheckBox> CheckBoxScreen(std::int64_t index) const;

private:
    // Sets a box's value as the window's own doing: its Action opens and
    // closes nothing meanwhile.
    void SetBoxQuietly(platform::CheckBox& box, bool value);

    // True while the window sets its boxes itself (Event_Open ticking them,
    // a box cleared because nothing opened): their Actions then do nothing.
    bool settingBoxes = false;
};
