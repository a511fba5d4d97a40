// The surface test's findings in words, the same in every program and report.
#pragma once

#include "engine/Run.h"

#include <string>

// "Writes fell from 1,850 MB/s to 410 MB/s after 38.2 GB" (GB of
// 1,073,741,824 bytes), or "Writes held their speed: no fall-off found".
std::string WriteFalloffText(const SurfaceWriteFalloff& falloff);

// "Possible throttling: the speed dropped while the drive was at its
// hottest (71 °C)"; "" when none was seen.
std::string ThrottlingText(const SurfaceResult& surface);

// "12.5 of 100.0 GB covered (12 %)", with ", the time limit reached" when it ended the run.
std::string SurfaceCoverageText(const SurfaceResult& surface);

// Where a drive's logical blocks are larger than a sector, the blocks of an
// unreadable range as its tools count them: " (logical blocks 2,562 to 2,563
// of 4,096 bytes)"; "" for blocks of 512 bytes.
std::string UnreadableBlocksText(const SurfaceUnreadableRange& range, uint32_t logicalBlockBytes);
