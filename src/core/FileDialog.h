// The core module's open and save file dialog: the platform's file dialog (through the window
// layer's backend) with the checks callers rely on done here, so they hold whatever the backend is.
// The filtered file dialog of the detailing dialogs is a dialog of its own, not this.
#pragma once

#include "core/KxCoreExport.h"
#include "core/Kx_String.h"
#include "platform/win/WinTypes.h"

struct Kx_FileDialogRequest {
    bool open = true;         // false: save
    // Either the framework's filter list ("Layouts (*.txt)|*.txt|All files (*.*)|*.*||") or one
    // description ("Bitmap pictures (*.bmp)"): the pattern is then taken from its parentheses, or
    // made from the default extension, or "*.*".
    Kx_String filter;
    Kx_String defaultExtension;  // "bmp"; a leading "." or "*." is dropped
    Kx_String title;
    Kx_String folder;            // where the dialog starts
    Kx_String fileName;          // proposed name; may be empty
    HWND owner = nullptr;
};

// Shows the dialog and returns the chosen path, or an empty text when the user cancelled.
// - A chosen name without an extension gets the default extension (open: only when the name as
//   given is not an existing file).
// - Open: a file that does not exist is refused with a message, and the dialog opens again.
// - Save: a file that exists is only given after the user answered Yes to the question whether to
//   replace it; No opens the dialog again. The question is asked here, after the extension was
//   added, so it is about the file that will really be written; the backend is asked not to ask.
KXCORE_API Kx_String runFileDialog(const Kx_FileDialogRequest& request);
// The same with the arguments the dialog designer passes.
KXCORE_API Kx_String runFileDialog(bool open, const Kx_String& filter, const Kx_String& defaultExtension,
                                   const Kx_String& title, const Kx_String& folder);
