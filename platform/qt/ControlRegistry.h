#pragma once

#include "platform/Control.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform::qt {

// A window's controls in order of registration, found by name, or by name and
// Index within a control array.
class ControlRegistry {
public:
    // Registers control under name. A second control of a name joins that
    // name's control array with the next free Index; a name used by a control
    // that is no array member cannot be used again. Raises RuntimeException.
    void Add(const std::string& name, std::shared_ptr<Control> control);
    // The control of that name; in a control array the one of lowest Index.
    std::shared_ptr<Control> Find(const std::string& name) const;
    std::shared_ptr<Control> Find(const std::string& name, std::int64_t index) const;
    std::size_t Count() const { return controls_.size(); }
    // Raises OutOfBoundsException past the end.
    std::shared_ptr<Control> At(std::size_t position) const;

    auto begin() const { return controls_.begin(); }
    auto end() const { return controls_.end(); }

private:
    std::vector<std::shared_ptr<Control>> controls_;
};

} // namespace platform::qt
