#include <gtest/gtest.h>


#include "format/FileSystemText.h"

namespace {
constexpr uint16_t Chars(char high, char low) {
    return static_cast<uint16_t>((static_cast<unsigned char>(high) << 8) | static_cast<unsigned char>(low));
}

TEST(FileSystemKinds, FirstMatchingRowWins) {
    const struct { uint16_t fsid, sig; const char* text; int16_t code; } rows[] = {
        {Chars('a', 's'), Chars('H', '+'), "AppleShare File System", 11},
        {Chars('c', 'u'), Chars('B', 'D'), "Windows Sharing (SMB/CIFS)", 11},
        {Chars('c', 'u'), Chars('K', 'G'), "Network File System (NFS)", 11},
        {Chars('I', 'S'), Chars('B', 'D'), "PC DOS File System", 4},
        {0, Chars('B', 'D'), "MacOS Standard", 1},
        {0, Chars('H', '+'), "MacOS Extended", 2},
        {0, 0x75DF, "Universal Disk Format", 6},
        {0, 0, "Unknown File System", 0},
        {Chars('Z', 'Z'), Chars('B', 'D'), "Unknown File System", 0},
        // A network FSID with a foreign signature falls through to the signature rows.
        {Chars('c', 'u'), Chars('H', '+'), "MacOS Extended", 2},
        {Chars('c', 'u'), 0, "Unknown File System", 11},
    };
    for (const auto& row : rows) {
        char text[256] = "untouched";
        EXPECT_EQ(FileSystemNameForSignature({row.fsid, row.sig}, text), row.code) << row.text;
        EXPECT_STREQ(text, row.text);
    }
    char text[256] = "untouched";  // a network volume without a text leaves the buffer
    EXPECT_EQ(FileSystemNameForSignature({Chars('c', 'u'), Chars('A', 'G')}, text), 10);
    EXPECT_STREQ(text, "untouched");
}

TEST(FileSystemKinds, LinuxTypeNames) {
    const std::pair<const char*, std::pair<const char*, int16_t>> rows[] = {
        {"ext4", {"Linux File System (ext4)", 3}},
        {"vfat", {"PC DOS File System", 4}},
        {"nfs4", {"Network File System (NFS)", 11}},
        {"fuseblk", {"NTFS/exFAT (FUSE)", 5}},
        {"iso9660", {"ISO 9660 (CD-ROM) File System", 6}},
        {"squashfs", {"SquashFS (compressed, read-only)", 3}},
        {"tmpfs", {"Unknown File System", 0}},
        {nullptr, {"Unknown File System", 0}},
    };
    for (const auto& [type, expected] : rows) {
        char text[256] = "untouched";
        EXPECT_EQ(FileSystemNameForType(type, text), expected.second) << expected.first;
        EXPECT_STREQ(text, expected.first);
    }
}
}  // namespace
