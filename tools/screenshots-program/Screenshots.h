// A picture of each window for the documentation, taken by the program
// kestrelia-screenshots (the desktop program with this sequence added; built
// for the tests and tools/screenshots, never installed): with KESTRELIA_SCREENSHOTS
// set to a folder the program grabs its windows into main.png (idle),
// options.png, about.png and save.png there and quits. With
// KESTRELIA_SCREENSHOT_DRIVE set to a listed device it also tests that drive
// at 10 zones with writes, grabbing running.png midway and finished.png with
// the results, then runs the random test and grabs random.png.
#pragma once

// The desktop's look asked for by the picture run (dark palette, font size),
// applied before the windows are built, as a desktop's own settings are.
void UseDesktopLookIfAsked();

// Starts the sequence when asked for; false when the variable is unset.
bool StartScreenshotsIfAsked();
