#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace platform {

class MenuBar;
class Picture;

// The application object. The program subclasses it once, overrides
// Event_Open, and registers the instance with RuntimeRegisterAppObject
// (platform/Runtime.h); GetAppObject() returns it from then on. The framework
// raises Event_Open once, from the event loop, after registration and
// RunFrameworkInitialization.
class Application {
public:
    Application() = default;
    virtual ~Application() = default;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Raised once when the event loop starts (through the exception boundary).
    virtual void Event_Open() { }

    // Registers handler for the menu item named itemName, replacing an earlier
    // one of that name. It is called when the item is chosen and the frontmost
    // window has no handler of that name that returned true; it returns true
    // when it handled the item.
    void AddMenuHandler(const std::string& itemName, std::function<bool()> handler);
    // The handler registered under itemName, or an empty function.
    std::function<bool()> MenuHandler(const std::string& itemName) const;

    // The application-wide menu bar (the tray icon's menu, and the menu of
    // windows that have no bar of their own). None until set.
    void SetMenuBar(std::shared_ptr<platform::MenuBar> bar);
    std::shared_ptr<platform::MenuBar> MenuBar() const { return menuBar_; }

    // What the tray icon shows where a system tray runs: the tooltip, and the
    // picture, which may be of any size. No icon is shown without a picture.
    void SetTrayIcon(std::string toolTip, std::shared_ptr<platform::Picture> picture);
    const std::string& TrayToolTip() const { return trayToolTip_; }
    std::shared_ptr<platform::Picture> TrayPicture() const { return trayPicture_; }

    // Stores the version data, in this order.
    void SetVersionData(std::int64_t majorVersion, std::int64_t minorVersion, std::int64_t bugVersion,
        std::int64_t nonReleaseVersion, std::int64_t stageCode, std::string longVersion, std::string shortVersion,
        std::string packageInfo);
    std::int64_t MajorVersion() const { return majorVersion_; }
    std::int64_t MinorVersion() const { return minorVersion_; }
    std::int64_t BugVersion() const { return bugVersion_; }
    std::int64_t NonReleaseVersion() const { return nonReleaseVersion_; }
    std::int64_t StageCode() const { return stageCode_; }
    const std::string& LongVersion() const { return longVersion_; }
    const std::string& ShortVersion() const { return shortVersion_; }
    const std::string& PackageInfo() const { return packageInfo_; }

    // A Windows display-driver check; nothing to do on this platform.
    void SanityCheckWDDM() { }

    // High-resolution display support (Qt's device-independent pixels). On by
    // default; takes effect only when called before the framework creates the
    // Qt application, as start-up does.
    static void SetSupportsHiDPI(bool supported);
    static bool SupportsHiDPI();

private:
    struct Handlers;
    std::shared_ptr<Handlers> handlers_;
    std::shared_ptr<platform::MenuBar> menuBar_;
    std::string trayToolTip_;
    std::shared_ptr<platform::Picture> trayPicture_;
    std::int64_t majorVersion_ = 0;
    std::int64_t minorVersion_ = 0;
    std::int64_t bugVersion_ = 0;
    std::int64_t nonReleaseVersion_ = 0;
    std::int64_t stageCode_ = 0;
    std::string longVersion_;
    std::string shortVersion_;
    std::string packageInfo_;
};

} // namespace platform
