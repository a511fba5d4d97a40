// Saving the results: the save dialog with its format chooser, the proposed
// name, the suffix that follows the chosen format, and writing the report.
#pragma once

#include <cstdint>
#include <string>

class QFileDialog;

// The save dialog while it is open.
extern QFileDialog* gNavDialogRef;

// The user the saved report is given to: the one who started the program
// when it runs as root after the relaunch (pkexec's PKEXEC_UID, or sudo's
// SUDO_UID/SUDO_GID), else nobody in particular (-1) and the process's home.
struct ReportOwner {
    long uid = -1;
    long gid = -1;
    std::string home;
};
ReportOwner CallingUser();

// Asks for a file and saves the report of the current results in the format
// gSavedRestulsFileFormatS32 (1 text, 2 spreadsheet), which the user may
// switch in the dialog. Cancelling saves nothing; a failure shows an alert.
void DoNavSaveFileForTestResults();

// Gives the dialog's file name the suffix of the current format choice.
void ChangeFileNameSuffix();

// The save commands ("word" 1, "xcel" 2): the dialog, then the graph redrawn.
void SaveResultsCommand(int32_t format);
