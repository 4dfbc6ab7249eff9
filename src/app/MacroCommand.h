// The "macro" command of kestra-ss: shows what a macro definition file holds.
#pragma once

namespace kxapp {

// Runs "kestra-ss macro <args>"; args are the words after "macro". Returns the exit code: 0 shown,
// 1 the definition (or for bind, the module or a layout) cannot be found or read, 2 bad usage.
int runMacroCommand(int argc, const char* const* args, const char* argv0);

} // namespace kxapp
