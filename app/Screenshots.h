// A picture of each window for the documentation: with KESTRELIA_SCREENSHOTS
// set to a folder the program grabs its windows into main.png, options.png,
// about.png and save.png there and quits. With KESTRELIA_SCREENSHOT_DRIVE set
// to a listed device it first tests that drive, grabbing running.png midway
// and main.png with the finished results.
#pragma once

// Starts the sequence when asked for; false when the variable is unset.
bool StartScreenshotsIfAsked();
