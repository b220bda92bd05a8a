#include "app/CheckBoxScreen.h"

#include "app/WindowPreferences.h"
#include "platform/RuntimeException.h"
#include "platform/Window.h"

CheckBoxScreen::CheckBoxScreen(platform::Window& owner, std::int64_t index)
    : platform::CheckBox(owner)
{
    SetIndex(index);
}

CheckBoxScreen::CheckBoxScreen(platform::Window& owner)
    : platform::CheckBox(owner)
{
    ApplyDesignValues();
    auto* window = dynamic_cast<WindowPreferences*>(OwnerWindow());
    if (!window)
        throw platform::IllegalCastException("a CheckBoxScreen belongs to a WindowPreferences");
    // The box belongs to the window, so the window outlives every Action the
    // user can raise; a box kept beyond its window calls nothing.
    Action = [window](platform::CheckBox& sender) {
        if (sender.OwnerWindow() == window)
            window->CheckBoxScreen_Action(sender);
    };
    SetIndex(0);
}

std::shared_ptr<CheckBoxScreen> CheckBoxScreen::Create(platform::Window& owner)
{
    auto box = std::make_shared<CheckBoxScreen>(owner);
    owner.AddControl("CheckBoxScreen", box);
    return box;
}

void CheckBoxScreen::ApplyDesignValues()
{
    // The name comes with the registration under "CheckBoxScreen". The
    // framework-only values (auto-deactivation, data binding, initial parent,
    // tab order, font, tooltip, transparency) have no counterpart here; the
    // box keeps the system font and no tooltip.
    SetIndex(0);
    SetEnabled(true);
    SetVisible(true);
    SetCaption("Untitled");
    SetHeight(20);
    SetLeft(20);
    SetLockBottom(false);
    SetLockLeft(true);
    SetLockRight(true);
    SetLockTop(true);
    SetTop(20);
    SetValue(false);
    SetWidth(384);
}
