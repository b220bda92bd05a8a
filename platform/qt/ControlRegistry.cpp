#include "platform/qt/ControlRegistry.h"

#include "platform/RuntimeException.h"

#include <algorithm>
#include <optional>

namespace platform::qt {

void ControlRegistry::Add(const std::string& name, std::shared_ptr<Control> control)
{
    if (std::find(controls_.begin(), controls_.end(), control) != controls_.end())
        throw RuntimeException("control \"" + name + "\" is registered already");
    std::optional<std::int64_t> highest;
    bool nameUsed = false;
    for (const auto& c : controls_) {
        if (c->Name() != name)
            continue;
        nameUsed = true;
        if (!c->Index() || !control->Index())
            throw RuntimeException("control name \"" + name + "\" is in use");
        highest = std::max(highest.value_or(*c->Index()), *c->Index());
    }
    if (nameUsed)
        control->SetIndex(*highest + 1);
    controls_.push_back(std::move(control));
}

std::shared_ptr<Control> ControlRegistry::Find(const std::string& name) const
{
    std::shared_ptr<Control> lowest;
    for (const auto& c : controls_) {
        if (c->Name() != name)
            continue;
        if (!c->Index())
            return c;
        if (!lowest || *c->Index() < *lowest->Index())
            lowest = c;
    }
    return lowest;
}

std::shared_ptr<Control> ControlRegistry::Find(const std::string& name, std::int64_t index) const
{
    for (const auto& c : controls_) {
        if (c->Name() == name && c->Index() == index)
            return c;
    }
    return nullptr;
}

std::shared_ptr<Control> ControlRegistry::At(std::size_t position) const
{
    if (position >= controls_.size())
        throw OutOfBoundsException("control position " + std::to_string(position) + " out of range");
    return controls_[position];
}

} // namespace platform::qt
