// Preparing a grid for editing: options, the fresh-sheet size and cell type, the appearance settings
// (own name, else the registry's default) stored into the sheet and its fonts, text tips and notes.
#pragma once

#include "core/Kx_String.h"
#include "frame/KxSsExport.h"
#include "platform/win/WinTypes.h"

class SheetSettings;

// Never fails. `loaded`, when given, receives the settings the sheet now carries.
KXSS_API void prepareEditorSheet(HWND grid, const Kx_String& settingsName, bool full,
                                 SheetSettings* loaded = nullptr);
