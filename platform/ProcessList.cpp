#include "platform/ProcessList.h"

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <memory>

std::vector<pid_t> RunningProcessIds()
{
    std::vector<pid_t> pids;
    std::unique_ptr<DIR, int (*)(DIR*)> proc(opendir("/proc"), closedir);
    if (!proc)
        return pids;
    while (const dirent* entry = readdir(proc.get())) {
        char* end = nullptr;
        const long pid = std::strtol(entry->d_name, &end, 10);
        if (*end == '\0' && pid > 0)
            pids.push_back(static_cast<pid_t>(pid));
    }
    std::sort(pids.begin(), pids.end());
    return pids;
}
