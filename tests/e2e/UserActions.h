#pragma once

// What a user does with the program, step by step, by keys and clicks.

#include "PreferencesWindow.h"
#include "Program.h"

#include <optional>

namespace e2e {

// The File menu's items, in their order.
enum class FileItem { Quit = 0, Preferences = 1, Close = 2 };

// Ctrl+, in an animation window (activated first, as a click would).
std::optional<PreferencesWindow> openPreferencesByKeys(const Program& program);

// Opens the menu with a right click at the point, then File and the item,
// by the keyboard as the menus take it.
bool chooseFromMenuAt(const Program& program, QPoint at, FileItem item);

} // namespace e2e
