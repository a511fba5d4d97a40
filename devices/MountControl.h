// Unmounting a drive's volumes before a write test and mounting them back
// afterwards, exactly where and how they were mounted.
//
// Every volume unmounted here is remembered with its source, type, options
// and mount point; the remount calls mount it back from that memory. Runs on
// the interface thread only; calls block until the kernel has answered.
#pragma once

#include "devices/DriveRecords.h"

#include <string>
#include <sys/types.h>

// Set by test clean-up around the remount of the chosen volume, so that the
// mount event it causes is not taken for a new volume.
extern bool gIgnoreRemountVol;

// Unmounts every volume now mounted from the drive (drivePath "/dev/NAME")
// in mount-table order. 0 when all are unmounted or there are none;
// otherwise the first failure as -errno, with *outDissenter set to a process
// holding that volume when one is found (else 0). Later volumes stay mounted.
int UnMountAllDriveVolumesSync(const char* drivePath, pid_t* outDissenter);

// Unmounts one volume (a volume test that writes): 0 or -errno as above.
int UnMountThisVolumeSync(const VolInfoRec& volume, pid_t* outDissenter);

// Mounts the volume back with its remembered source, type, options and
// mount point; *outVRefNum receives its new position in the mount table.
// 0; -1 when the record names no device; otherwise -errno.
int RemountThisVolumeSync(const VolInfoRec& volume, int16_t* outVRefNum);

// Mounts back every volume of the drive that was unmounted here, in the
// order they were unmounted; all are tried. The status of the last attempt,
// or 0 when none was unmounted.
int RemountThisDrivesVolsSync(const DriveInfoRec& drive);

// Number of volumes unmounted here and not yet mounted back.
int RememberedUnmountCount();

// A process that has a file, directory or mapping open below mountPoint; 0 for none.
pid_t FindMountHolder(const std::string& mountPoint);

// "1234 (bash)" for a process, "" for 0.
std::string DescribeProcess(pid_t pid);
