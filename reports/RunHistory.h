// The run history: every finished test kept as one JSON document in a folder
// per drive (or volume) under the data folder of the user who started the
// program, $XDG_DATA_HOME/kestrelia/history. When the program runs as root
// on someone's behalf (pkexec, sudo), the folders and files are made as that
// user and belong to them.
#pragma once

#include "platform/AtomicFileWriter.h"
#include "reports/RunDocument.h"

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

inline constexpr std::size_t kMaxRunsPerDrive = 200;

// The history folder of the calling user ("" when no home folder is known).
std::string HistoryRoot();

// The folder of one drive's runs: a readable name made from the identity and
// a hash of it, so that different identities never share a folder.
std::string DriveHistoryFolder(const std::string& root, const std::string& identity);

struct HistoryEntry {
    std::string path;
    RunDocument run;  // without a surface run's samples: its file has them
};

// The saved runs of a drive, newest first by the time recorded in them.
// Files that are not run documents, hold impossible content or belong to
// another drive are skipped with a note on notes; runs dated in the future
// are noted.
std::vector<HistoryEntry> ListDriveHistory(const std::string& root, const std::string& identity,
                                           std::ostream& notes);

// Saves a run in its drive's folder under a name made from the time in
// milliseconds (later runs sort after earlier ones): written to a temporary
// file and renamed into place, so no half document is ever seen. Then drops
// the oldest runs (by the time recorded in them) beyond kMaxRunsPerDrive,
// never the one just saved; what the listing notes goes to notes. The path
// written, or "" with the reason in *error.
std::string SaveRunToHistory(const std::string& root, const RunDocument& run, int64_t whenMilliseconds,
                             std::string* error, std::ostream& notes);

// Writes a run document to any path, atomically, as the calling user.
FileWriteResult WriteRunDocumentFile(const std::string& path, const RunDocument& run);

// Reads a run document the user named (--compare, Open Results...) with that
// user's rights.
std::optional<RunDocument> ReadRunDocumentAsUser(const std::string& path, std::string* error);

// The current time in milliseconds since 1970.
int64_t NowMilliseconds();
