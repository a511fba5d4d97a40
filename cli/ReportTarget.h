// The drive or volume record that a report of kestrelia-cli names.
#pragma once

#include <cstdint>
#include <string>

// Chooses what the report names for the tested target: the listed drive
// (drive tab), else the mounted volume on that node (volume tab), else a
// drive record made for the target itself (a small or unlisted device, an
// unmounted partition, a file) with its base name and size.
void ChooseReportedDevice(const std::string& target, int64_t sizeBytes);
