#include "cli/ScratchFile.h"

#include "platform/RawDevice.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <vector>

ScratchFile::~ScratchFile()
{
    if (!path_.empty())
        ::unlink(path_.c_str());
}

bool ScratchFile::Create(uint64_t sizeBytes, std::string* error, bool (*stopRequested)())
{
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") +
                          "/kestrelia-scratch-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    UniqueFd fd(::mkstemp(name.data()));
    if (!fd.valid()) {
        *error = "cannot create a scratch file in " + pattern.substr(0, pattern.rfind('/')) +
                 ": " + std::strerror(errno);
        return false;
    }
    path_ = name.data();

    // A simple generator keeps the data from compressing or deduplicating away.
    std::vector<uint64_t> chunk((16u << 20) / sizeof(uint64_t));
    uint64_t state = 0x9E3779B97F4A7C15ull;
    for (uint64_t written = 0; written < sizeBytes;) {
        if (stopRequested != nullptr && stopRequested()) {
            error->clear();
            ::unlink(path_.c_str());
            path_.clear();
            return false;
        }
        for (uint64_t& word : chunk) {
            state ^= state << 13;
            state ^= state >> 7;
            state ^= state << 17;
            word = state;
        }
        const uint64_t want = std::min<uint64_t>(chunk.size() * sizeof(uint64_t), sizeBytes - written);
        const ssize_t put = ::write(fd.get(), chunk.data(), want);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            *error = "cannot fill the scratch file " + path_ + ": " +
                     std::strerror(put < 0 ? errno : ENOSPC);
            ::unlink(path_.c_str());
            path_.clear();
            return false;
        }
        written += static_cast<uint64_t>(put);
    }
    if (::fsync(fd.get()) != 0) {
        *error = "cannot flush the scratch file " + path_ + ": " + std::strerror(errno);
        ::unlink(path_.c_str());
        path_.clear();
        return false;
    }
    return true;
}
