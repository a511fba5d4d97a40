// The transfer buffer: aligned for direct I/O, allocated at Start and kept
// until the next Start. myIOBuffer points into it.
#pragma once

#include <cstddef>

inline constexpr std::size_t kTransferBufferAlignment = 4096;

// Replaces the buffer with one of at least byteCount bytes (zero-filled);
// false when memory is short, leaving no buffer.
bool AllocateTransferBuffer(std::size_t byteCount);

// Releases the buffer and sets myIOBuffer to null.
void ReleaseTransferBuffer();

std::size_t TransferBufferBytes();
