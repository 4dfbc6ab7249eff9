// kestra-ss sheet print FILE OUT.pdf [--paper A4|Letter] [--landscape]
#pragma once

namespace kxapp {

// argv[0] is "sheet", argv[1] "print". Exit code: 0 written, 1 failure (message on standard
// error), 2 bad usage.
int runSheetPrint(int argc, char** argv);

} // namespace kxapp
