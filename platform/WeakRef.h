#pragma once

#include <memory>

namespace platform {

// A reference that does not keep its object alive. Value() gives the object,
// or none (nullptr) once the last shared reference to it is gone.
template <typename T> class WeakRef {
public:
    WeakRef() = default;
    explicit WeakRef(const std::shared_ptr<T>& object)
        : ref_(object)
    {
    }

    std::shared_ptr<T> Value() const { return ref_.lock(); }

private:
    std::weak_ptr<T> ref_;
};

} // namespace platform
