// Writing a report file. The report is assembled completely first, written
// to a new file beside the destination and renamed over it only when every
// byte, the close and the permission change have succeeded, so a failed save
// never leaves a short report where a complete one was.
#pragma once

#include "reports/OutputPath.h"
#include "reports/ReportText.h"

#include <cstdint>
#include <string>

// The format the save commands and the save dialog chose: 1 text, 2 spreadsheet.
extern int32_t gSavedRestulsFileFormatS32;

// The report file being written (a path) and its open descriptor (-1 when closed).
extern std::string gResultsFileRef;
extern int gResultsFileForkRefNum;

inline constexpr const char* kReportOpenFailedMessage = "Error: Unable to open test results file.";
inline constexpr const char* kReportCreateFailedMessage = "Error: Unable to create test results file.";
inline constexpr uint64_t kReportReservationBytes = 4096;

// Opens fileRef for reading and writing into *forkRefNum and reserves
// requestCount bytes of disk space from its start (*actualCount gets what was
// reserved). -1 when the file cannot be opened, else the reservation's status
// (0, or an error number).
int16_t OpenAndAllocateDataFork(const std::string& fileRef, int* forkRefNum, uint64_t requestCount,
                                uint64_t* actualCount);

// Opens gResultsFileRef and writes the common header into the report. On
// failure shows the alert, deletes the file and returns the status.
int16_t DoCommonSaveResults(const ReportSubject& subject);
void SaveTestResultsTEXT();
void SaveTestResultsXCEL();

// The report assembled by the calls above, in Mac OS Roman.
const std::string& CurrentReport();

// Adds write permission for owner, group and others (0222) to the file.
int16_t MakeWritableByAll(int fd);

using ReportSaveResult = OutputSaveResult;

// Saves the report of the current results in the given format to path,
// replacing a file that is there (through a symbolic link, the file it
// names). A destination that is not a regular file is refused (see
// CheckOutputPath). ownerUid/ownerGid, when not -1, become the file's owner
// (the user who started the program, when it runs as root).
ReportSaveResult SaveReportFile(const std::string& path, const ReportSubject& subject, int32_t format,
                                long ownerUid = -1, long ownerGid = -1);

// The alert text for a failed save, with the step and the system's text of the error.
std::string ReportSaveFailureText(const ReportSaveResult& result);
