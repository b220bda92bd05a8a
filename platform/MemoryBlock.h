#pragma once

#include "platform/RuntimeException.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

namespace platform {

// A zero-filled byte buffer of a fixed size. Every access is checked against
// the size and raises OutOfBoundsException outside it; the checks are inline,
// so byte-by-byte loops stay cheap.
class MemoryBlock {
public:
    explicit MemoryBlock(std::int64_t size);

    std::int64_t Size() const { return size_; }

    std::uint8_t Byte(std::int64_t offset) const
    {
        check(offset, 1);
        return bytes_[static_cast<std::size_t>(offset)];
    }
    void SetByte(std::int64_t offset, std::uint8_t value)
    {
        check(offset, 1);
        bytes_[static_cast<std::size_t>(offset)] = value;
    }

    // The 32-bit integer in the machine's byte order at offset.
    std::int32_t Int32Value(std::int64_t offset) const
    {
        check(offset, 4);
        std::int32_t value;
        std::memcpy(&value, bytes_.get() + offset, sizeof value);
        return value;
    }

    // The buffer itself, for calls that fill or read it whole (Size() bytes).
    std::uint8_t* Data() { return bytes_.get(); }
    const std::uint8_t* Data() const { return bytes_.get(); }

private:
    void check(std::int64_t offset, std::int64_t length) const
    {
        if (offset < 0 || offset > size_ - length)
            throw OutOfBoundsException("MemoryBlock offset " + std::to_string(offset) + " (+" + std::to_string(length)
                + ") outside its " + std::to_string(size_) + " bytes");
    }

    std::int64_t size_;
    std::unique_ptr<std::uint8_t[]> bytes_;
};

} // namespace platform
