#include "engine/TransferBuffer.h"

#include "engine/TestModel.h"

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {
struct FreeDeleter {
    void operator()(unsigned char* p) const { std::free(p); }
};
std::unique_ptr<unsigned char, FreeDeleter> gBuffer;
std::size_t gBufferBytes = 0;
}  // namespace

bool AllocateTransferBuffer(std::size_t byteCount)
{
    ReleaseTransferBuffer();
    const std::size_t rounded =
        (byteCount + kTransferBufferAlignment - 1) / kTransferBufferAlignment * kTransferBufferAlignment;
    void* memory = nullptr;
    if (rounded == 0 || posix_memalign(&memory, kTransferBufferAlignment, rounded) != 0)
        return false;
    std::memset(memory, 0, rounded);
    gBuffer.reset(static_cast<unsigned char*>(memory));
    gBufferBytes = rounded;
    myIOBuffer = gBuffer.get();
    return true;
}

void ReleaseTransferBuffer()
{
    gBuffer.reset();
    gBufferBytes = 0;
    myIOBuffer = nullptr;
}

std::size_t TransferBufferBytes()
{
    return gBufferBytes;
}
