#include "engine/WorkerBridge.h"

#include "format/ErrorText.h"

#include <atomic>
#include <cstdio>

namespace {
std::atomic<InterfaceHost*> gHost{nullptr};
}

WindowRef gMainWindowRef = nullptr;
MPControlInfo gMPControlInfo{};
MPAlertInfo gMPAlertInfo{};

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
    SetStaticText(gMainWindowRef, controlId, text, false);
}

int32_t MPRemoteCall(RemoteProcedure procedure, void* parameter)
{
    InterfaceHost* host = CurrentInterfaceHost();
    if (host == nullptr)
        return 0;
    return host->CallOnInterfaceThread(procedure, parameter);
}

int32_t RemoteSetStatTextControlWCStr(void* controlInfo)
{
    const auto* info = static_cast<const MPControlInfo*>(controlInfo);
    const char* text = info->text;
    if (text[0] == '\0' && info->textPtr != nullptr)
        text = info->textPtr;
    if (InterfaceHost* host = CurrentInterfaceHost())
        host->SetStaticText(info->window, info->controlID, text, info->truncate);
    return 0;
}

int32_t RemoteDrawTestResults(void*)
{
    if (InterfaceHost* host = CurrentInterfaceHost())
        host->DrawTestResults();
    return 0;
}

int32_t RemoteDoioErrorAlert(void* alertInfo)
{
    const auto* info = static_cast<const MPAlertInfo*>(alertInfo);
    char message[256];
    SystemErrorToCStr(info->errorNumber, message);
    if (InterfaceHost* host = CurrentInterfaceHost())
        host->ShowAlert(info->alertType, message);
    return 0;
}

void RequestStatusText(int32_t controlId, const char* text)
{
    gMPControlInfo.window = gMainWindowRef;
    std::snprintf(gMPControlInfo.text, sizeof gMPControlInfo.text, "%s", text);
    gMPControlInfo.controlID = controlId;
    MPRemoteCall(RemoteSetStatTextControlWCStr, &gMPControlInfo);
}

void RequestDrawTestResults()
{
    InterfaceHost* host = CurrentInterfaceHost();
    if (host == nullptr)
        return;
    if (host->OnInterfaceThread())
        host->DrawTestResults();
    else
        MPRemoteCall(RemoteDrawTestResults, nullptr);
}
