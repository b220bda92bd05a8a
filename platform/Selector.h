#pragma once

#include <string>
#include <string_view>
#include <utility>

namespace platform {

// The name of a message that objc_msgSend sends to a native object, as
// sel_registerName gives it. Any name makes a selector; whether the receiver
// understands it is decided when the message is sent.
class Selector {
public:
    explicit Selector(std::string name)
        : name_(std::move(name))
    {
    }

    const std::string& Name() const { return name_; }

private:
    std::string name_;
};

} // namespace platform
