// What kestrelia-cli says about the transfer under way: where a failed
// transfer was and why it failed, and where a running test is.
#pragma once

#include <string>

class TestRun;

// "write failed at zone 3, cycle 2, sector 1,048,572: No space left on device
// (ENOSPC)"; the preflight and the random test say "preflight read" and
// "transfer 5,001 of 10,000". Empty when no transfer failed.
std::string TransferFailureText(const TestRun& testRun);

// "zone 4 of 10, cycle 2 of 3", or empty before the first zone transfer.
std::string ZoneProgressText(const TestRun& testRun);
