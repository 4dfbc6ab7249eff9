// Launchers of the macro dialog.
#pragma once

#include "core/MacroData.h"
#include "frame/KxSsExport.h"

// Runs the macro dialog modally and copies its data back however it was closed.
KXSS_API void StartDlgMacro(MacroData& data);
// Opens a modeless macro dialog owned by the host's main window and returns its slot. keepFocus
// false gives the keyboard focus back to the main window. False (slot -1) when the dialog cannot be
// made; the slot then stays empty.
KXSS_API bool StartDlgMacroModeless(bool keepFocus, MacroData& data, int& slot);
