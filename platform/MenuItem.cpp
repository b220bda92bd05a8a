#include "platform/MenuItem.h"

#include "platform/RuntimeException.h"

namespace platform {

void MenuItem::AddMenu(std::shared_ptr<MenuItem> item)
{
    if (!item)
        throw NilObjectException("nil menu item");
    children_.push_back(std::move(item));
}

std::shared_ptr<MenuItem> MenuItem::Child(const std::string& name) const
{
    for (const auto& child : children_) {
        if (child->Name() == name)
            return child;
    }
    return nullptr;
}

std::shared_ptr<MenuItem> MenuItem::Item(std::size_t index) const
{
    if (index >= children_.size())
        throw OutOfBoundsException("menu item index " + std::to_string(index) + " out of range");
    return children_[index];
}

} // namespace platform
