// Requests from the worker to the interface thread. The worker fills one of
// the two request records and has the interface thread run a small procedure
// on it, waiting until it has run. One worker at most exists and it waits in
// each request, so each record serves one request at a time without a lock.
#pragma once

#include "engine/InterfaceHost.h"

#include <cstdint>

struct MPControlInfo {
    WindowRef window;
    char text[256];
    int32_t controlID;
    const char* textPtr;  // used only when text is empty
    bool truncate;
};

struct MPAlertInfo {
    int16_t alertType;
    int16_t errorNumber;
};

extern MPControlInfo gMPControlInfo;
extern MPAlertInfo gMPAlertInfo;

// Runs procedure(parameter) on the interface thread and waits for it. With no
// host installed nothing runs and the result is 0.
int32_t MPRemoteCall(RemoteProcedure procedure, void* parameter);

// The procedures the tests use (interface thread).
int32_t RemoteSetStatTextControlWCStr(void* controlInfo);
int32_t RemoteDrawTestResults(void* unused);
int32_t RemoteDoioErrorAlert(void* alertInfo);

// Worker side: sets a main-window static text through the bridge.
void RequestStatusText(int32_t controlId, const char* text);

// Redraws the results: directly on the interface thread, through the bridge on the worker.
void RequestDrawTestResults();
