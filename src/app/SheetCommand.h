// The "sheet" tools of kestra-ss: show, import, export, eval and bench sheet files from the command line.
#pragma once

namespace kxapp {

// argv[0] is "sheet". Returns the exit code: 0 success, 1 failure (message on stderr), 2 bad usage.
int runSheetCommand(int argc, char** argv);
void printSheetUsage(bool toStderr);

} // namespace kxapp
