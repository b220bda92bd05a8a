#pragma once

#include "platform/CheckBox.h"

#include <cstdint>
#include <memory>

namespace platform {
class Window;
}

// One box of the preferences window's control array "CheckBoxScreen": the
// box of one screen, its Index being the screen index. Every member's Action
// goes to its WindowPreferences' CheckBoxScreen_Action.
class CheckBoxScreen : public platform::CheckBox {
public:
    // The member placed at design time: Index = index, nothing else. The
    // window registers it, applies the design values and binds its Action.
    CheckBoxScreen(platform::Window& owner, std::int64_t index);

    // A member made at run time by a preferences window for itself: applies
    // the design values, binds Action to the owning WindowPreferences
    // (IllegalCastException for any other window) and sets Index 0. Create()
    // then registers it; use Create(), which the window's Event_Open does.
    explicit CheckBoxScreen(platform::Window& owner);

    // Makes a run-time member and registers it under "CheckBoxScreen", which
    // gives it the next index of the array: the k-th run-time member of a
    // window gets k. A box whose constructor failed is not registered.
    // (A C++ object has no shared owner inside its own constructor, so the
    // registration cannot happen there.)
    static std::shared_ptr<CheckBoxScreen> Create(platform::Window& owner);

    // The array's one set of design values, in their stored order.
    void ApplyDesignValues();
};
