#include "engine/TransferBuffer.h"

#include <cstring>

bool TransferBuffer::Allocate(std::size_t byteCount)
{
    Release();
    const std::size_t rounded =
        (byteCount + kTransferBufferAlignment - 1) / kTransferBufferAlignment * kTransferBufferAlignment;
    void* memory = nullptr;
    if (rounded == 0 || posix_memalign(&memory, kTransferBufferAlignment, rounded) != 0)
        return false;
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
