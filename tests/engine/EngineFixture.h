// Sets up the model for one test on a fake device and puts everything back
// afterwards, so tests do not leak globals into each other.
#pragma once

#include "FakeDevice.h"

#include <gtest/gtest.h>

#include <memory>

class EngineFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A fake device of the given size, installed under the transfer calls.
    FakeDevice& Device(uint64_t sizeBytes);
    // Standard test settings with the buffer allocated; false when the drive is too small.
    bool PrepareStandard(int32_t zones, int32_t cycles, uint32_t megabytes, bool writes);
    void PrepareRandom(bool writes);

    RecordingHost host;
    std::unique_ptr<FakeDevice> device;
};
