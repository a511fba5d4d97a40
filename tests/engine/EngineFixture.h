// The engine's tests run on an in-memory device under the transfer calls
// (a scripted clock, a log of every transfer, a fault at a chosen place) with
// a host that records what the run's events show in the window.
#pragma once

#include "engine/DeviceTransfers.h"
#include "shell/WindowRunPresenter.h"
#include "shell/InterfaceHost.h"
#include "engine/TestRun.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

struct TransferRecord {
    bool isRead;
    int fd;
    uint64_t offset;
};

struct FakeDevice {
    explicit FakeDevice(uint64_t sizeBytes);
    ~FakeDevice();

    std::vector<unsigned char> bytes;
    std::vector<TransferRecord> log;
    std::deque<uint64_t> elapsed;        // nanoseconds per transfer, front first
    uint64_t defaultElapsed = 10000000;  // 10 ms
    long failAtTransfer = -1;            // 0-based over all transfers
    long stopAtTransfer = -1;            // Stop is pressed as this one ends
    StopRequest* stop = nullptr;         // ... on this run
    int failErrno = EIO;
    bool failShort = false;              // a short count without an error number
    uint64_t now = 1000;
};

// Requests run on the worker itself. What it recorded may be read once the worker has ended.
class RecordingHost : public InterfaceHost {
public:
    bool CallOnInterfaceThread(const std::function<void()>& call, const StopRequest&) override
    {
        call();
        return true;
    }
    void PostTestFinished() override { ++finished; }
    void PostTestStopped() override { ++stopped; }
    bool OnInterfaceThread() const override { return false; }
    void SetStaticText(int32_t id, const char* text) override { texts.emplace_back(id, text); }
    void SetProgressBarValue(int32_t id, int32_t value) override { bars.emplace_back(id, value); }
    void DrawTestResults() override;
    void ShowAlert(int16_t, const char* message) override { alerts.emplace_back(message); }
    std::map<int32_t, std::string> LastTexts() const;  // the last text of each control
    std::vector<std::string> TextsOf(int32_t id) const;

    std::vector<std::pair<int32_t, std::string>> texts;
    std::vector<std::pair<int32_t, int32_t>> bars;
    std::vector<std::string> alerts;
    std::function<void()> onDraw;  // runs at each redraw, on the worker
    int draws = 0;
    std::atomic<int> finished{0};
    std::atomic<int> stopped{0};
};

class EngineFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A fake device of the given size, installed under the transfer calls.
    FakeDevice& Device(uint64_t sizeBytes);
    // A run with these settings on the fake device, with descriptors of its
    // own (3 for reads, 4 for writes) and its buffer allocated.
    TestRun& MakeRun(const RunSettings& settings);
    // A standard run; false when the drive is too small.
    bool PrepareStandard(int32_t zones, int32_t cycles, uint32_t megabytes, bool writes);

    RecordingHost host;
    WindowRunPresenter observer{host};
    std::unique_ptr<FakeDevice> device;
    std::unique_ptr<TestRun> testRun;
};
