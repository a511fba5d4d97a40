// Fixed English texts for POSIX error numbers of failed transfers.
#pragma once

#include <cstdint>

// Writes the text for errorNumber into text (at least 256 bytes).
void IoErrorText(int16_t errorNumber, char* text);

// The table's numbers are those of the BSD error list. On Linux they agree
// from 1 to 34 apart from 11, and differ above: this gives the table's number
// for a Linux errno that has a row, or -1.
int16_t TableNumberForSystemError(int systemError);

// The text for a Linux errno: its row of the table, else "Unknown i/o Error = "
// with the Linux number, so that no error is shown under another's name.
void SystemErrorText(int systemError, char* text);
