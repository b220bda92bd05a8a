#pragma once

#include <stdexcept>
#include <string>

namespace platform {

// The root of every exception the framework layer raises. The unhandled-
// exception handling reports className() and what(), so each subclass names
// itself.
class RuntimeException : public std::runtime_error {
public:
    explicit RuntimeException(const std::string& message = {})
        : std::runtime_error(message)
    {
    }
    virtual const char* className() const noexcept { return "RuntimeException"; }
};

// Raised by a member access through a missing reference.
class NilObjectException : public RuntimeException {
public:
    using RuntimeException::RuntimeException;
    const char* className() const noexcept override { return "NilObjectException"; }
};

// Raised when a value is outside what an operation accepts.
class OutOfBoundsException : public RuntimeException {
public:
    using RuntimeException::RuntimeException;
    const char* className() const noexcept override { return "OutOfBoundsException"; }
};

// Raised when a file cannot be found, read or decoded.
class IOException : public RuntimeException {
public:
    using RuntimeException::RuntimeException;
    const char* className() const noexcept override { return "IOException"; }
};

// Raised when an object is not of the class a cast expects.
class IllegalCastException : public RuntimeException {
public:
    using RuntimeException::RuntimeException;
    const char* className() const noexcept override { return "IllegalCastException"; }
};

// Dereferences a reference, raising NilObjectException for none, so that a
// member access through none fails the way the framework promises.
template <typename Pointer> auto& deref(const Pointer& p, const char* what = "object")
{
    if (!p)
        throw NilObjectException(std::string("nil ") + what);
    return *p;
}

} // namespace platform
