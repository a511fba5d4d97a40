#include "EngineFixture.h"

#include "engine/RunPreparation.h"
#include "engine/ZoneTests.h"
#include "shell/ResultPaneTexts.h"

#include <cstring>

namespace {
FakeDevice* gFake = nullptr;

ssize_t Transfer(bool isRead, int fd, void* buffer, size_t count, off_t offset)
{
    FakeDevice& d = *gFake;
    const long index = static_cast<long>(d.log.size());
    d.log.push_back({isRead, fd, static_cast<uint64_t>(offset)});
    d.now += d.elapsed.empty() ? d.defaultElapsed : d.elapsed.front();
    if (!d.elapsed.empty())
        d.elapsed.pop_front();
    if (index == d.stopAtTransfer && d.stop != nullptr)
        d.stop->Request();
    if (index == d.failAtTransfer) {
        errno = d.failShort ? 0 : d.failErrno;
        return d.failShort ? static_cast<ssize_t>(count / 2) : -1;
    }
    if (offset + count > d.bytes.size())
        return 0;  // past the end nothing moves, as on a block device
    if (isRead)
        std::memcpy(buffer, d.bytes.data() + offset, count);
    else
        std::memcpy(d.bytes.data() + offset, buffer, count);
    return static_cast<ssize_t>(count);
}
}  // namespace

FakeDevice::FakeDevice(uint64_t sizeBytes) : bytes(sizeBytes)
{
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<unsigned char>((i * 2654435761u) >> 13);
    gFake = this;
    gTransferCalls.read = [](int fd, void* buffer, size_t count, off_t offset) {
        return Transfer(true, fd, buffer, count, offset);
    };
    gTransferCalls.write = [](int fd, const void* buffer, size_t count, off_t offset) {
        return Transfer(false, fd, const_cast<void*>(buffer), count, offset);
    };
    gTransferCalls.upTime = [] { return gFake->now; };
}

FakeDevice::~FakeDevice()
{
    RestoreDefaultTransferCalls();
    gFake = nullptr;
}

void RecordingHost::DrawTestResults()
{
    ++draws;
    if (onDraw)
        onDraw();
}

std::map<int32_t, std::string> RecordingHost::LastTexts() const
{
    // From the end, so that each control keeps its last text.
    return std::map<int32_t, std::string>(texts.rbegin(), texts.rend());
}

std::vector<std::string> RecordingHost::TextsOf(int32_t id) const
{
    std::vector<std::string> out;
    for (const auto& [controlId, text] : texts)
        if (controlId == id)
            out.push_back(text);
    return out;
}

void EngineFixture::SetUp()
{
    // Reset before the host is installed, so that what they show is not part of any test.
    ResetRandomTestResults();
    SetInterfaceHost(&host);
}

void EngineFixture::TearDown()
{
    if (testRun != nullptr)
        testRun->readDescriptor = testRun->writeDescriptor = -1;  // the fake's, not to be closed
    testRun.reset();
    device.reset();
    SetInterfaceHost(nullptr);
}

FakeDevice& EngineFixture::Device(uint64_t sizeBytes)
{
    device.reset();
    device = std::make_unique<FakeDevice>(sizeBytes);
    return *device;
}

TestRun& EngineFixture::MakeRun(const RunSettings& settings)
{
    if (testRun != nullptr)
        testRun->readDescriptor = testRun->writeDescriptor = -1;
    ::Run run;
    run.settings = settings;
    run.target.sizeBytes = device->bytes.size();
    testRun = std::make_unique<TestRun>(run);
    testRun->readDescriptor = 3;  // the fake device logs which descriptor each transfer used
    testRun->writeDescriptor = 4;
    testRun->zoneIncrement = StandardZoneIncrement(run.target.Sectors(), settings.zones);
    device->stop = &testRun->stop;
    EXPECT_TRUE(testRun->buffer.Allocate(TransferBufferBytesFor(settings)));
    return *testRun;
}

bool EngineFixture::PrepareStandard(int32_t zones, int32_t cycles, uint32_t megabytes, bool writes)
{
    const TestRun& made = MakeRun({.zones = zones, .cycles = cycles, .transferMegabytes = megabytes, .writes = writes});
    return DriveBigEnoughForZones(made.run.target.Sectors(), made.run.settings.TransferSectors(), zones);
}
