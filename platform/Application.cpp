#include "platform/Application.h"

#include "platform/MenuBar.h"
#include "platform/qt/TrayIcon.h"

#include <map>

namespace platform {

struct Application::Handlers {
    std::map<std::string, std::function<bool()>> byName;
};

namespace {
    bool supportsHiDPI = true;
}

void Application::AddMenuHandler(const std::string& itemName, std::function<bool()> handler)
{
    if (!handlers_)
        handlers_ = std::make_shared<Handlers>();
    handlers_->byName[itemName] = std::move(handler);
}

std::function<bool()> Application::MenuHandler(const std::string& itemName) const
{
    if (!handlers_)
        return {};
    auto it = handlers_->byName.find(itemName);
    return it == handlers_->byName.end() ? std::function<bool()> {} : it->second;
}

void Application::SetMenuBar(std::shared_ptr<platform::MenuBar> bar)
{
    menuBar_ = std::move(bar);
    qt::RefreshTray();
}

void Application::SetTrayIcon(std::string toolTip, std::shared_ptr<platform::Picture> picture)
{
    trayToolTip_ = std::move(toolTip);
    trayPicture_ = std::move(picture);
    qt::RefreshTray();
}

void Application::SetVersionData(std::int64_t majorVersion, std::int64_t minorVersion, std::int64_t bugVersion,
    std::int64_t nonReleaseVersion, std::int64_t stageCode, std::string longVersion, std::string shortVersion,
    std::string packageInfo)
{
    majorVersion_ = majorVersion;
    minorVersion_ = minorVersion;
    bugVersion_ = bugVersion;
    nonReleaseVersion_ = nonReleaseVersion;
    stageCode_ = stageCode;
    longVersion_ = std::move(longVersion);
    shortVersion_ = std::move(shortVersion);
    packageInfo_ = std::move(packageInfo);
}

void Application::SetSupportsHiDPI(bool supported) { supportsHiDPI = supported; }

bool Application::SupportsHiDPI() { return supportsHiDPI; }

} // namespace platform
