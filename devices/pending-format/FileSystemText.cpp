#include "format/FileSystemText.h"

#include <cstdio>
#include <cstring>

int16_t VolSigWordToCString(const VolumeSignatureInfo&, char* text)
{
    std::snprintf(text, 256, "%s", "Unknown File System");
    return 0;
}

int16_t LinuxFileSystemTypeToCString(const char* typeName, char* text)
{
    static const struct {
        const char* type;
        const char* name;
    } rows[] = {
        {"ext2", "Linux Second Extended File System"}, {"ext3", "Linux Third Extended File System"},
        {"ext4", "Linux Fourth Extended File System"}, {"xfs", "XFS File System"},
        {"btrfs", "Btrfs File System"},
    };
    for (const auto& row : rows) {
        if (std::strcmp(typeName, row.type) == 0) {
            std::snprintf(text, 256, "%s", row.name);
            return 3;
        }
    }
    std::snprintf(text, 256, "%s", "Unknown File System");
    return 0;
}
