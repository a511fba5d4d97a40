// An in-memory device under the engine's transfer calls, with a scripted
// clock, a log of every transfer, and faults at chosen places.
#pragma once

#include "engine/DeviceTransfers.h"
#include "engine/InterfaceHost.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

struct TransferRecord {
    bool isRead;
    int fd;
    uint64_t offset;
    size_t count;
};

struct FakeDevice {
    std::vector<unsigned char> bytes;
    std::vector<TransferRecord> log;
    std::deque<uint64_t> elapsed;        // nanoseconds per transfer, front first
    uint64_t defaultElapsed = 10000000;  // 10 ms
    // Fault: the transfer with this index (0-based over all transfers) fails.
    long failAtTransfer = -1;
    int failErrno = 5;
    bool failShort = false;              // return a short count without errno
    uint64_t now = 1000;
    int transferDelayMicroseconds = 0;   // real time each transfer takes

    explicit FakeDevice(uint64_t sizeBytes);
    ~FakeDevice();
    void Install();
    size_t WriteCount() const;
};

// A host that records what the engine asks for; requests run on the caller.
class RecordingHost final : public InterfaceHost {
public:
    int32_t CallOnInterfaceThread(RemoteProcedure procedure, void* parameter) override;
    void PostTestFinished() override;
    void PostTestStopped() override;
    bool OnInterfaceThread() const override { return false; }
    void SetStaticText(WindowRef, int32_t controlId, const char* text, bool truncate) override;
    void SetProgressBarValue(int32_t controlId, int32_t value) override;
    void DrawTestResults() override;
    void ShowAlert(int16_t alertType, const char* message) override;

    std::vector<std::pair<int32_t, std::string>> texts;
    std::vector<std::pair<int32_t, int32_t>> bars;
    std::vector<std::string> alerts;
    int draws = 0;
    std::function<void()> onDraw;  // runs at each redraw, on the worker
    int finished = 0;
    int stopped = 0;
    std::mutex mutex;
};
