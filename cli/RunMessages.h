// What kestrelia-cli says about the transfer under way: where a failed
// transfer was and why it failed, and where a running test is.
#pragma once

#include <cstdint>
#include <string>

class TestRun;

// "write failed at zone 3, cycle 2, sector 1,048,572: No space left on device
// (ENOSPC)"; the preflight and the random test say "preflight read" and
// "transfer 5,001 of 10,000", the surface test only the sector. Empty when
// no transfer failed.
std::string TransferFailureText(const TestRun& testRun);

// "zone 4 of 10, cycle 2 of 3", or empty before the first zone transfer.
std::string ZoneProgressText(const TestRun& testRun);

// The surface test's progress line: "Surface: 12.5 of 100.0 GB (12 %), read
// 512.3 MB/s, write 480.1 MB/s, 3 min 20 s left", from the run's progress.
std::string SurfaceProgressText(const TestRun& testRun);

// "1,048,572".
std::string GroupedNumber(uint64_t number);
