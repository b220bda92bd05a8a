#include "platform/MemoryBlock.h"

namespace platform {

MemoryBlock::MemoryBlock(std::int64_t size)
    : size_(size)
{
    if (size < 0)
        throw OutOfBoundsException("MemoryBlock of negative size " + std::to_string(size));
    // make_unique<T[]> value-initialises: the block starts zero-filled.
    bytes_ = std::make_unique<std::uint8_t[]>(static_cast<std::size_t>(size));
}

} // namespace platform
