#include "engine/TransferBuffer.h"

#include <cstdint>
#include <sys/mman.h>

namespace {
constexpr std::size_t kHugePageBytes = 2u << 20;
}  // namespace

void TransferBuffer::Unmapper::operator()(unsigned char* memory) const
{
    munmap(memory, bytes);
}

bool TransferBuffer::Allocate(std::size_t byteCount)
{
    Release();
    const std::size_t rounded =
        (byteCount + kTransferBufferAlignment - 1) / kTransferBufferAlignment * kTransferBufferAlignment;
    if (rounded == 0)
        return false;
    // From half a huge page up, placed on huge-page boundaries in whole huge
    // pages and asked for huge pages where the kernel gives them on request:
    // touching every page below takes a few faults rather than one per 4 KiB
    // (a 16 MB buffer: 8 rather than 4,096), and a direct transfer reaches the
    // drive in fewer, larger requests (one per run of contiguous memory).
    const bool huge = rounded >= kHugePageBytes / 2;
    const std::size_t mapped = huge ? (rounded + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes : rounded;
    const std::size_t slack = huge ? kHugePageBytes - kTransferBufferAlignment : 0;
    void* const reserved = mmap(nullptr, mapped + slack, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (reserved == MAP_FAILED)
        return false;
    auto* const start = static_cast<unsigned char*>(reserved);
    const std::size_t lead = huge ? (kHugePageBytes - reinterpret_cast<std::uintptr_t>(start) % kHugePageBytes) %
                                        kHugePageBytes
                                  : 0;
    // Only the buffer itself stays mapped: the slack before and after it goes back now.
    if (lead != 0)
        munmap(start, lead);
    if (lead != slack)
        munmap(start + lead + mapped, slack - lead);
    unsigned char* const memory = start + lead;
    if (huge)
        madvise(memory, mapped, MADV_HUGEPAGE);  // a hint: without huge pages the buffer works all the same
    // Touched now, so that no timed transfer pays for its pages: one byte a
    // page, since the kernel hands them out zero-filled.
    for (std::size_t at = 0; at < rounded; at += kTransferBufferAlignment)
        static_cast<volatile unsigned char*>(memory)[at] = 0;
    memory_ = std::unique_ptr<unsigned char, Unmapper>(memory, Unmapper{mapped});
    bytes_ = rounded;
    return true;
}

void TransferBuffer::Release()
{
    memory_.reset();
    bytes_ = 0;
}
