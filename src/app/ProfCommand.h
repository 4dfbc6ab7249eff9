// The "prof" command of kestra-ss: shows a profile table and makes one from a tab-separated
// section list (the sample tables of library/prof are made this way, tools/make_prof_tables.sh).
#pragma once

namespace kxapp {

// Runs "kestra-ss prof <args>"; args are the words after "prof". Returns the exit code: 0 done,
// 1 a file cannot be read or written, 2 bad usage.
int runProfCommand(int argc, const char* const* args);

} // namespace kxapp
