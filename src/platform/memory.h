#pragma once

namespace memory {

// Freed large blocks (a copy of a long text for a save or for F9) go straight back to the
// system. glibc otherwise raises its threshold after the first such block and keeps the later
// ones in the heap: with a 10 MB post, 20 MB stayed behind after the first save.
void returnLargeBlocksToSystem();

} // namespace memory
