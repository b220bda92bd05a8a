#pragma once

#include "platform/RuntimeException.h"

namespace platform {

// Raised when a native object is sent a message it does not understand.
class UnrecognizedSelectorException : public RuntimeException {
public:
    using RuntimeException::RuntimeException;
    const char* className() const noexcept override { return "UnrecognizedSelectorException"; }
};

} // namespace platform
