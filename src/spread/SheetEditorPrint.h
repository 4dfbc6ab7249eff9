// The spreadsheet editor's Print command: the sheet printed to a PDF file the user names, with the
// sheet's own print settings. Kept apart from the editor so the editor only calls it.
#pragma once

#include "core/Kx_String.h"
#include "platform/win/WinTypes.h"

// Asks for the PDF file (a save dialog beside the sheet, proposing the sheet's name) and prints the
// sheet of `grid` into it. Returns the text to show the user: empty when printed or cancelled,
// otherwise why it failed (or which header or footer file was left out).
Kx_String runEditorPrint(HWND owner, HWND grid, const Kx_String& sheetFile);
