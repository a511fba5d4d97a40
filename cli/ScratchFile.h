// The default target: a scratch file of real data in the temporary directory,
// removed when the object goes.
#pragma once

#include <cstdint>
#include <string>

class ScratchFile {
public:
    ScratchFile() = default;
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;
    ~ScratchFile();

    // Creates and fills the file (every byte written, so nothing is sparse).
    // False with a message on failure, and false with an empty message when
    // stopRequested() turned true between two chunks; a partly written file
    // is removed.
    bool Create(uint64_t sizeBytes, std::string* error, bool (*stopRequested)() = nullptr);

    const std::string& path() const { return path_; }

private:
    std::string path_;
};

inline constexpr uint64_t kScratchFileBytes = 1ull << 30;
