#include "FakeDevice.h"

#include <cerrno>
#include <cstring>
#include <thread>

namespace {
FakeDevice* gFake = nullptr;

ssize_t Transfer(bool isRead, int fd, void* buffer, size_t count, off_t offset)
{
    FakeDevice& d = *gFake;
    const long index = static_cast<long>(d.log.size());
    d.log.push_back({isRead, fd, static_cast<uint64_t>(offset), count});
    if (d.transferDelayMicroseconds > 0)
        std::this_thread::sleep_for(std::chrono::microseconds(d.transferDelayMicroseconds));
    uint64_t step = d.defaultElapsed;
    if (!d.elapsed.empty()) {
        step = d.elapsed.front();
        d.elapsed.pop_front();
    }
    d.now += step;
    if (index == d.failAtTransfer) {
        if (d.failShort) {
            errno = 0;
            return static_cast<ssize_t>(count / 2);
        }
        errno = d.failErrno;
        return -1;
    }
    const uint64_t end = static_cast<uint64_t>(offset) + count;
    if (end > d.bytes.size()) {
        // Past the end of the device: nothing moves, as a block device answers.
        errno = 0;
        return 0;
    }
    if (isRead)
        std::memcpy(buffer, d.bytes.data() + offset, count);
    else
        std::memcpy(d.bytes.data() + offset, buffer, count);
    return static_cast<ssize_t>(count);
}

ssize_t FakeRead(int fd, void* buffer, size_t count, off_t offset)
{
    return Transfer(true, fd, buffer, count, offset);
}

ssize_t FakeWrite(int fd, const void* buffer, size_t count, off_t offset)
{
    return Transfer(false, fd, const_cast<void*>(buffer), count, offset);
}

uint64_t FakeClock()
{
    return gFake->now;
}
}  // namespace

FakeDevice::FakeDevice(uint64_t sizeBytes) : bytes(sizeBytes)
{
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<unsigned char>((i * 2654435761u) >> 13);
}

FakeDevice::~FakeDevice()
{
    RestoreDefaultTransferCalls();
    gFake = nullptr;
}

void FakeDevice::Install()
{
    gFake = this;
    gTransferCalls = TransferCalls{FakeRead, FakeWrite, FakeClock};
}

size_t FakeDevice::WriteCount() const
{
    size_t n = 0;
    for (const TransferRecord& r : log)
        n += r.isRead ? 0 : 1;
    return n;
}

int32_t RecordingHost::CallOnInterfaceThread(RemoteProcedure procedure, void* parameter)
{
    return procedure(parameter);
}

void RecordingHost::PostTestFinished()
{
    const std::lock_guard lock(mutex);
    ++finished;
}

void RecordingHost::PostTestStopped()
{
    const std::lock_guard lock(mutex);
    ++stopped;
}

void RecordingHost::SetStaticText(WindowRef, int32_t controlId, const char* text, bool)
{
    const std::lock_guard lock(mutex);
    texts.emplace_back(controlId, text);
}

void RecordingHost::SetProgressBarValue(int32_t controlId, int32_t value)
{
    const std::lock_guard lock(mutex);
    bars.emplace_back(controlId, value);
}

void RecordingHost::DrawTestResults()
{
    {
        const std::lock_guard lock(mutex);
        ++draws;
    }
    if (onDraw)
        onDraw();
}

void RecordingHost::ShowAlert(int16_t, const char* message)
{
    const std::lock_guard lock(mutex);
    alerts.emplace_back(message);
}
