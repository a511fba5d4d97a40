#include "devices/DriveRecords.h"

#include "format/Utf8Text.h"

#include <cstring>

DriveInfoRec gSavedDriveInfoArray[kMaxDriveCount];
VolInfoRec gSavedVolInfoArray[kMaxVolumeCount];
DriveInfoRec* gActiveDrive = nullptr;
VolInfoRec* gActiveVolume = nullptr;
int32_t gDVLastTabIndex = 1;
char gPathToAllIcons[kPathBytes] = "";

void CopyCStrToPStr(const char* text, unsigned char* pascal)
{
    const std::size_t length = TextCutLength(text, 255);
    std::memmove(pascal + 1, text, length);
    pascal[0] = static_cast<unsigned char>(length);
}

void CopyPStrToCStr(const unsigned char* pascal, char* text)
{
    const std::size_t length = pascal[0];
    std::memmove(text, pascal + 1, length);
    text[length] = '\0';
}
