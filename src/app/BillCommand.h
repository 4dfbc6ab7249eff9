// The "bill" tool of kestra-ss: `bill demo OUT [--rows N] [--pictures]` feeds a bill of the sample
// frame through the module's bill output and saves it as a sheet file.
#pragma once

#include <cstdio>

namespace kxapp {

// argv[0] is "bill"; programPath is the program's own path (where the module is found).
// Returns the exit code: 0 success, 1 failure (message on stderr), 2 bad usage.
int runBillCommand(int argc, char** argv, const char* programPath);
void printBillUsage(std::FILE* out);

} // namespace kxapp
