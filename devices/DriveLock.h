// An exclusive BSD lock (flock) on a whole-drive node while a write test
// runs: udev honours it and neither probes the drive nor re-reads its
// partition table in the middle of the test.
#pragma once

#include <string>

class DriveLock {
public:
    DriveLock() = default;
    ~DriveLock() { Release(); }
    DriveLock(const DriveLock&) = delete;
    DriveLock& operator=(const DriveLock&) = delete;

    // Locks the whole drive that carries devicePath (a drive or one of its
    // partitions), waiting up to two seconds for a short-lived holder such as
    // udev. False when the drive could not be locked (a plain file has no
    // drive and is never locked).
    bool Acquire(const std::string& devicePath);
    void Release();
    bool held() const { return fd_ >= 0; }
    const std::string& drive() const { return drive_; }

private:
    int fd_ = -1;
    std::string drive_;
};
