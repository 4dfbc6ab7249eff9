// The "sheet" tools of kestra-ss: show, import, export, eval and bench sheet files from the command line,
// and edit one in the spreadsheet editor.
#pragma once

namespace kxapp {

// argv[0] is "sheet"; programPath is the program's own path (where `sheet edit` finds the module).
// Returns the exit code: 0 success, 1 failure (message on stderr), 2 bad usage.
int runSheetCommand(int argc, char** argv, const char* programPath = nullptr);
void printSheetUsage(bool toStderr);

} // namespace kxapp
