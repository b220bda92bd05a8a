#pragma once

namespace platform {

// The process's heap, as the C library keeps it.
class Heap {
public:
    // From now on every block of 128 KiB or more is given a mapping of its
    // own, which goes back to the system as soon as the block is freed.
    static void ReturnLargeBlocksWhenFreed();
};

} // namespace platform
