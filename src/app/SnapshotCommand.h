// `kestra-ss snapshot`: pictures of the dialogs rendered offscreen through the Qt backend.
#pragma once

namespace kxapp {

// argv holds what follows "snapshot": NAME OUT.png, or --all DIR, or --list.
// Returns the exit code: 0 done, 1 failed (the reason on stderr), 2 bad usage.
int runSnapshotCommand(const char* argv0, int argc, char** argv);

} // namespace kxapp
