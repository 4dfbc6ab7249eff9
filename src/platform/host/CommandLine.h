// The host's command line: what modules print with acutPrintf, kept in a buffer that the program
// prints and tests read, and the command prompt the host shows when it waits for a command.
#pragma once

#include "platform/host/KxHostExport.h"

#include <string>

// printf-style output to the command line. Returns the number of bytes written, -1 on a bad format.
KXHOST_API int acutPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Shows the command prompt again after a module printed or closed a modeless dialog.
KXHOST_API void acedPostCommandPrompt();
// Asks the host to redraw the drawing views.
KXHOST_API void acedUpdateDisplay();

namespace kxhost {

// Everything printed since the last take, with the prompts the host showed ("Command: ").
KXHOST_API std::string commandLineText();
// Returns the printed text and empties the buffer.
KXHOST_API std::string takeCommandLineText();
// When on, every print is also written to standard output as it happens (the program's mode).
KXHOST_API void setCommandLineEcho(bool on);
// How many times the prompt was posted and the display updated; tests check the module asked.
KXHOST_API int commandPromptCount();
KXHOST_API int displayUpdateCount();

} // namespace kxhost
