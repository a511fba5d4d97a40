// The progress of several drives tested at once, as one line on a terminal:
// "Test in Progress: sdb 3/10, sdc 2/10 c2/5, sdd done" (zone 3 of 10; zone
// 2 of 10 in cycle 2 of 5; the random test's "r 5000" and "w 5000").
#pragma once

#include <string>

class TestRun;

// What one drive's part of the line says.
std::string DriveProgressText(const std::string& name, const TestRun& testRun, bool ended);

// Shows the line in place of the last, cut to the terminal's width.
void ShowProgressLine(std::string line);

// Clears the line.
void ClearProgressLine();
