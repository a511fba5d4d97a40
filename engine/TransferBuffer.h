// A run's transfer buffer: aligned for direct I/O, zero-filled, owned by the run.
#pragma once

#include <cstddef>
#include <memory>

inline constexpr std::size_t kTransferBufferAlignment = 4096;

class TransferBuffer {
public:
    // Replaces the buffer with one of at least byteCount bytes; false when
    // memory is short, leaving no buffer.
    bool Allocate(std::size_t byteCount);
    void Release();

    unsigned char* data() const { return memory_.get(); }
    std::size_t size() const { return bytes_; }

private:
    struct Unmapper {
        std::size_t bytes;
        void operator()(unsigned char* memory) const;
    };
    std::unique_ptr<unsigned char, Unmapper> memory_;
    std::size_t bytes_ = 0;
};
