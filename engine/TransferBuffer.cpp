#include "engine/TransferBuffer.h"

#include <cstring>
#include <sys/mman.h>

bool TransferBuffer::Allocate(std::size_t byteCount)
{
    Release();
    const std::size_t rounded =
        (byteCount + kTransferBufferAlignment - 1) / kTransferBufferAlignment * kTransferBufferAlignment;
    // Placed on huge-page boundaries and asked for huge pages where the kernel
    // gives them on request, so that touching every page below takes a few
    // faults rather than one per 4 KiB (a 16 MB buffer: 8 rather than 4,096).
    constexpr std::size_t kHugePageBytes = 2u << 20;
    const std::size_t alignment = rounded >= kHugePageBytes ? kHugePageBytes : kTransferBufferAlignment;
    void* memory = nullptr;
    if (rounded == 0 || posix_memalign(&memory, alignment, rounded) != 0)
        return false;
    if (alignment == kHugePageBytes)
        madvise(memory, rounded, MADV_HUGEPAGE);  // a hint: without huge pages the buffer works all the same
    // Touched now, so that no timed transfer pays for its pages.
    std::memset(memory, 0, rounded);
    memory_.reset(static_cast<unsigned char*>(memory));
    bytes_ = rounded;
    return true;
}

void TransferBuffer::Release()
{
    memory_.reset();
    bytes_ = 0;
}
