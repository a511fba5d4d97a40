#include "format/ErrorText.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {
// "Possible bad sector, connector or data cable".
constexpr int16_t kMediumErrorRow = 5;

const char* const kErrorTexts[51] = {
    nullptr,
    "i/o Error: Permission denied",                        // 1
    "i/o Error: No such file or directory",                // 2
    nullptr,
    "i/o Error: Interrupted system service",               // 4
    "i/o Error: Possible bad sector, connector or data cable",  // 5
    "i/o Error: No such device or address",                // 6
    nullptr,
    nullptr,
    "i/o Error: Bad file number",                          // 9
    nullptr,
    "i/o Error: Call would deadlock or block so it was aborted",  // 11
    "i/o Error: Not enough space",                         // 12
    "i/o Error: Permission denied",                        // 13
    "i/o Error: Bad memory buffer address",                // 14
    nullptr,
    "i/o Error: Device or resource busy",                  // 16
    "i/o Error: File exists",                              // 17
    nullptr,
    "i/o Error: No such device",                           // 19
    nullptr,
    nullptr,
    "i/o Error: Invalid argument",                         // 22
    nullptr,
    nullptr,
    "i/o Error: Not a character device",                   // 25
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    "i/o Error: Broken pipe",                              // 32
    nullptr,
    "i/o Error: Math result not representable",            // 34
    "i/o Error: Try operation again later",                // 35
    nullptr,
    nullptr,
    "i/o Error: Socket operation on non-socket",           // 38
    "i/o Error: Destination address required",             // 39
    "i/o Error: Message too long",                         // 40
    "i/o Error: Protocol wrong type for socket ",          // 41
    "i/o Error: Protocol not available",                   // 42
    "i/o Error: Protocol not supported",                   // 43
    "i/o Error: Socket type not supported",                // 44
    "i/o Error: Operation not supported on socket",        // 45
    nullptr,
    nullptr,
    "i/o Error: Address already in use",                   // 48
    "i/o Error: Can't assign requested address",           // 49
    "i/o Error: Network is down",                          // 50
};
}  // namespace

void IoErrorText(int16_t errorNumber, char* text)
{
    if (errorNumber >= 0 && errorNumber <= 50 && kErrorTexts[errorNumber] != nullptr) {
        std::strcpy(text, kErrorTexts[errorNumber]);
        return;
    }
    std::snprintf(text, 256, "Unknown i/o Error = %d", errorNumber);
}

int16_t TableNumberForSystemError(int systemError)
{
    struct Pair {
        int system;
        int16_t table;
    };
    static constexpr Pair kMoved[] = {
        {EAGAIN, 35},         {EDEADLK, 11},        {ENOTSOCK, 38},   {EDESTADDRREQ, 39},
        {EMSGSIZE, 40},       {EPROTOTYPE, 41},     {ENOPROTOOPT, 42}, {EPROTONOSUPPORT, 43},
        {ESOCKTNOSUPPORT, 44}, {EOPNOTSUPP, 45},    {EADDRINUSE, 48}, {EADDRNOTAVAIL, 49},
        {ENETDOWN, 50},
    };
    for (const Pair& pair : kMoved)
        if (pair.system == systemError)
            return pair.table;
    if (systemError >= 1 && systemError <= 34 && kErrorTexts[systemError] != nullptr)
        return static_cast<int16_t>(systemError);
    return -1;
}

void SystemErrorText(int systemError, char* text)
{
    // Linux's own numbers for faults of the medium and of the link to it,
    // and those a raw device gives when it is full, read-only, not a block
    // device or held by another user.
    struct LinuxText {
        int system;
        const char* text;
    };
    static constexpr LinuxText kLinuxTexts[] = {
        {ENODATA, nullptr},   {EREMOTEIO, nullptr}, {EILSEQ, nullptr},
        {ETIMEDOUT, nullptr}, {ENOLINK, nullptr},   {ENOMEDIUM, nullptr},
        {ENOSPC, "i/o Error: No space left on device"},
        {EROFS, "i/o Error: Device or file system is read-only"},
        {ENOTBLK, "i/o Error: Not a block device"},
    };
    for (const LinuxText& row : kLinuxTexts) {
        if (row.system == systemError) {
            if (row.text == nullptr)
                IoErrorText(kMediumErrorRow, text);
            else
                std::snprintf(text, 256, "%s", row.text);
            return;
        }
    }
    const int16_t number = TableNumberForSystemError(systemError);
    if (number < 0) {
        std::snprintf(text, 256, "Unknown i/o Error = %d", systemError);
        return;
    }
    IoErrorText(number, text);
}
