#include "platform/Control.h"

#include "platform/Window.h"
#include "platform/qt/WindowAccess.h"

namespace platform {

Control::Control(platform::Window& owner)
    : owner_(&owner)
    , ownerAlive_(WindowAccess::Of(owner).alive)
{
}

Control::~Control() = default;

std::shared_ptr<platform::Window> Control::Window() const
{
    if (ownerAlive_.expired())
        return nullptr;
    return owner_->weak_from_this().lock();
}

platform::Window* Control::OwnerWindow() const { return ownerAlive_.expired() ? nullptr : owner_; }

} // namespace platform
