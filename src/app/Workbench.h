// kestra-ss without arguments, when the Qt backend is built: the workbench window on a display,
// otherwise the main job followed by pictures of every known dialog.
#pragma once

namespace kxapp {

// Opens the workbench when DISPLAY or WAYLAND_DISPLAY is set and Qt starts on it; otherwise runs the
// main job and writes the dialog pictures. Returns the process exit code.
int runWithoutArguments(const char* argv0);

// The workbench: a window that plays the host, with the command line the module prints to and a
// launcher per known dialog. Qt must be started on a display. Returns 0 when the window is closed.
int runWorkbench(const char* argv0);

// Writes every known dialog's picture and index.html into $KESTRA_SS_SNAPSHOTS or ./snapshots and
// says where they are. Returns 0 when every picture was written.
int writeDialogPictures(const char* argv0);

} // namespace kxapp
