#include "HeapTuning.h"

#include <malloc.h>

namespace {

// Free memory at the top of the heap is returned to the system only past this much.
constexpr int kTrimThreshold = 32 * 1024 * 1024;
// Blocks up to this size come from the heap, where freed ones are reused; larger ones are
// mapped and unmapped for each use.
constexpr int kMmapThreshold = 1024 * 1024;

} // namespace

void KeepFreedHeap()
{
    ::mallopt(M_TRIM_THRESHOLD, kTrimThreshold);
    ::mallopt(M_MMAP_THRESHOLD, kMmapThreshold);
}
