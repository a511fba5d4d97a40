#include "shell/InterfaceHost.h"

#include <atomic>

namespace {
std::atomic<InterfaceHost*> gHost{nullptr};
}  // namespace

InterfaceHost* CurrentInterfaceHost()
{
    return gHost.load();
}

void SetInterfaceHost(InterfaceHost* host)
{
    gHost.store(host);
}

void InterfaceHost::SetStatusText(int32_t controlId, const char* text)
{
    SetStaticText(controlId, text);
}
