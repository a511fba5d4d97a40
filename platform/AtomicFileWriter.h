// The one way a file is saved: a new file beside the destination (same
// folder, hidden name, O_EXCL|O_NOFOLLOW so nothing already there is opened),
// every byte written, flushed, renamed over the destination, the folder
// flushed. A failed save never leaves a short file where a complete one was,
// nor anything beside it.
//
// The caller decides whose rights are used. As the calling user (the
// default), every step runs with that user's file-system identity, so the
// kernel checks each folder and link; nothing is given away afterwards and a
// new file gets mode 0666 less the umask.
//
// Only regular files are created or replaced: a destination that is a device,
// FIFO, socket or folder, or that lies under /dev, /proc or /sys, also
// through a link, is refused. A symbolic link is followed to the file it
// names, which is replaced while the link stays.
#pragma once

#include <string>
#include <sys/types.h>

enum class WriteIdentity { CallingUser, Process };

struct FileWriteOptions {
    WriteIdentity identity = WriteIdentity::CallingUser;
    mode_t mode = 0666;          // less the umask
    bool replaceExisting = true;  // false: a file already there fails with EEXIST
    // Files the program names itself (the run history, its state) may live in
    // a tmpfs under /dev such as /dev/shm; a name the user gave may not.
    bool systemTreesAllowed = false;
};

// The outcome: 0, or the error number with the step that failed ("check",
// "create", "write", "close", "replace"), and the refusal text when the
// destination itself was refused.
struct FileWriteResult {
    int errorNumber = 0;
    std::string failedStep;
    std::string refusal;
    std::string writtenAs;  // whose rights were used, when not the process's own
    bool ok() const { return errorNumber == 0; }
};

// Saves bytes at path.
FileWriteResult WriteFileAtomically(const std::string& path, const std::string& bytes,
                                    const FileWriteOptions& options = {});

// Whether a save to path would be allowed, found out before there is anything
// to save: the destination resolved and a file created beside it and removed.
FileWriteResult CheckFileDestination(const std::string& path,
                                     WriteIdentity identity = WriteIdentity::CallingUser);

// One line about a failed save or check: the refusal, else
// "PATH: Permission denied (written as user alice, who started ...)".
std::string FileWriteProblem(const std::string& path, const FileWriteResult& result);
