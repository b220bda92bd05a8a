#pragma once

// The tray icon: where a system tray runs, the application's menu bar is also
// offered as the menu of an icon, with the tooltip and picture the
// application gives (Application::SetTrayIcon).

namespace platform::qt {

// From now on the icon follows the application object (called once the Qt
// application exists).
void StartTray();
// Makes, updates or removes the icon after the application object, its menu
// bar or its tray icon changed. Does nothing before StartTray.
void RefreshTray();
// Removes the icon (the finalisers, before the Qt application goes).
void ReleaseTray();
// Whether the icon is shown in a system tray that runs now.
bool TrayIconShown();

} // namespace platform::qt
