// Preparing the model for a test: settings, zone spacing and the size checks
// that every front end makes before the worker starts.
#pragma once

#include <cstdint>

// Standard test: zones, cycles and transfer size in megabytes.
void ApplyStandardTestSettings(int32_t zones, int32_t cycles, uint32_t megabytes);

// Random test: 4096-byte transfers, queueDepth of them in flight.
void ApplyRandomTestSettings(uint32_t queueDepth = 1);

// Size of the transfer buffer for the settings now in the model.
uint32_t RequiredTransferBufferBytes();

// The selected drive or volume's size.
void ApplyTargetSize(uint64_t sizeBytes);

// Checks the drive's size against the settings and computes the zone
// spacing (standard test). False when the drive is too small.
bool PrepareZonePlacement();

// True when the drive is big enough for the random test.
bool DriveBigEnoughForRandomTest();

// The message shown when the drive is too small, and its explanation.
inline constexpr const char* kDriveTooSmallMessage =
    "Sorry, the test drive is not big enough for the currently selected testing parameters.";
inline constexpr const char* kDriveTooSmallExplanation =
    " Try selecting another drive or reducing the transfer size and/or cycle count.";
