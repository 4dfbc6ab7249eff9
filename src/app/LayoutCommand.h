// The "layout" command of kestra-ss: shows what a designed-dialog layout file holds.
#pragma once

namespace kxapp {

// Runs "kestra-ss layout <args>"; args are the words after "layout". Returns the exit code:
// 0 shown, 1 the layout cannot be read, 2 bad usage.
int runLayoutCommand(int argc, const char* const* args);

} // namespace kxapp
