// Saving the results: the save dialog with its format chooser, the proposed
// name, the suffix that follows the chosen format, and writing the report.
#pragma once

#include <cstdint>

class QFileDialog;

// The save dialog while it is open.
extern QFileDialog* gNavDialogRef;

// Asks for a file and saves the report of the current results in the format
// CurrentWindowSettings().reportFormat (1 text, 2 spreadsheet), which the user may
// switch in the dialog. Cancelling saves nothing; a failure shows an alert.
void DoNavSaveFileForTestResults();

// Gives the dialog's file name the suffix of the current format choice.
void ChangeFileNameSuffix();

// The save commands ("word" 1, "xcel" 2): the dialog, then the graph redrawn.
void SaveResultsCommand(int32_t format);
