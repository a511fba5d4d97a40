#include "app/Startup.h"

#include "devices/DriveRecords.h"
#include "devices/MountControl.h"
#include "shell/WindowLaunch.h"
#include "platform/PrivilegedRelaunch.h"
#include "shell/Windows.h"

#include <QString>

#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <vector>

bool KernelIsRecentEnough(const std::string& release)
{
    int major = 0;
    int minor = 0;
    if (std::sscanf(release.c_str(), "%d.%d", &major, &minor) != 2)
        return false;
    return major > 3 || (major == 3 && minor >= 0);
}

void Initialize()
{
    bTestRunning = false;
    gDVLastTabIndex = 1;
    Devices() = DeviceLists{};
}

bool FindResourceFile(const char* fileName, char* path)
{
    uint32_t size = 0;
    MyGetExecutablePath(nullptr, &size);
    if (size == 0)
        return false;
    std::vector<char> executable(size);
    if (MyGetExecutablePath(executable.data(), &size) != 0)
        return false;
    const QByteArray full =
        (ResourcesDirectoryFor(QString::fromUtf8(executable.data())) + QString::fromUtf8(fileName)).toUtf8();
    if (full.size() >= 1024)
        return false;
    std::memcpy(path, full.constData(), static_cast<std::size_t>(full.size()) + 1);
    return access(path, F_OK) == 0;
}
