// The exported launcher of the spreadsheet editor.
#pragma once

#include "core/Kx_String.h"
#include "frame/KxSsExport.h"

// Opens the spreadsheet editor on `file` (empty: a new sheet) and returns when the user closed it:
// true then. False, with the reason shown, when the file cannot be opened or the window cannot be
// made.
KXSS_API bool StartSheetEditor(const Kx_String& file);
