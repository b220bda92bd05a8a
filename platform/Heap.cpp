#include "platform/Heap.h"

#include <malloc.h>

namespace platform {

void Heap::ReturnLargeBlocksWhenFreed()
{
    // glibc maps large blocks on their own, but by default it raises that
    // threshold to the size of each such block freed: after the first
    // picture, every picture's short-lived 256 KiB buffers come from the
    // heap, between the driver's texture copies that stay, and the heap grows
    // with each window opened and closed. A threshold that is set stays put.
    // (Trimming the heap after each load keeps resident memory flat too, but
    // the heap's address space still grows, and a closed window's textures
    // stay resident until the next load.)
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
}

} // namespace platform
