// Where a saved file (a results report, a graph picture) may go, and how it
// gets there. A save only ever creates or replaces a regular file: a path
// that is a device, FIFO, socket or folder, or that lies under /dev, /proc or
// /sys, is refused before anything is written. A symbolic link is followed to
// the file it names, which is replaced while the link stays; a link into a
// device is refused like the device itself.
#pragma once

#include <string>

struct OutputPathCheck {
    std::string path;     // the file to create or replace: the link's target for a symbolic link
    std::string refusal;  // one line saying why nothing may be written there; empty when fine
    int errorNumber = 0;  // the error number that goes with the refusal
    bool ok() const { return refusal.empty(); }
};

// Resolves and checks a destination before any test or save starts.
OutputPathCheck CheckOutputPath(const std::string& path);

// The outcome of a save: 0, or the error number of the step that failed with
// that step's name ("create", "write", ...), and the refusal text when the
// destination itself was refused (step "check").
struct OutputSaveResult {
    int errorNumber = 0;
    std::string failedStep;
    std::string refusal;
    bool ok() const { return errorNumber == 0; }
};

// Creates a new file beside the destination (same folder, hidden name), with
// O_EXCL|O_NOFOLLOW so that nothing that is already there is ever opened.
// Returns its descriptor with the name in *temporary, or -1 with errno set.
int CreateFileBeside(const std::string& destination, std::string* temporary);

// Renames the finished temporary file over the destination after checking
// once more that the destination is not something other than a regular file.
// 0 or an error number; the temporary file is left for the caller to remove.
int ReplaceWithFile(const std::string& temporary, const std::string& destination);

// Saves bytes at path through the checks above: a new file beside it, written
// and flushed, given to ownerUid/ownerGid when those are not -1, then renamed
// over the destination. Nothing is left behind on failure.
OutputSaveResult SaveFileContents(const std::string& path, const std::string& bytes, long ownerUid = -1,
                                  long ownerGid = -1);
