// Fixed English texts for POSIX error numbers of failed transfers.
#pragma once

#include <cstdint>

// Writes the text for errorNumber into text (at least 256 bytes).
void ioErrorNoToCStr(int16_t errorNumber, char* text);
