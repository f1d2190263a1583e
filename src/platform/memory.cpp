#include "platform/memory.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace memory {

void returnLargeBlocksToSystem() {
#if defined(__GLIBC__)
    // A fixed threshold also fixes the heap's trim threshold; blocks of 1 MB and more are
    // mapped on their own.
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
#endif
}

} // namespace memory
