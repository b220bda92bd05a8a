#pragma once

#include <QKeySequence>
#include <string>

namespace platform::qt {

// A menu item's shortcut text as a Qt key sequence: "Cmd+Q" -> Ctrl+Q,
// "Option" -> Alt. Empty for no shortcut.
QKeySequence ShortcutFor(const std::string& text);

} // namespace platform::qt
