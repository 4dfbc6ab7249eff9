// Launchers of the macro cuts and select-macro dialogs.
#pragma once

#include "core/Kx_String.h"
#include "core/Kx_StringArray.h"
#include "core/MacroSubDialogData.h"
#include "frame/KxSsExport.h"
#include "platform/host/AcDb.h"

// Runs the macro cuts dialog on a copy of data. True on OK, with data replaced by the dialog's;
// false otherwise, data untouched. escaped is set to whether the dialog was left with Escape.
KXSS_API bool StartDlgMacroCuts(DlgMacroCutsData& data, bool& escaped);

// Runs the select-macro dialog on the macros (".dwg" files, names or paths) with their enabled flags
// (a missing flag counts as enabled) and the thumbnail width and height. On OK: chosen is the chosen
// macro's drawing, flag whether the dialog was closed with the pick-in-drawing button (which the
// dialog only offers when flag comes in true), and true is returned. Otherwise false, nothing changed.
// extraText shows a hint under the list when the pick button is not offered.
KXSS_API bool StartDlgSelectMacro(const Kx_String& title, const Kx_StringArray& macros,
                                  const AcArray<bool>& enabled, const int& width, const int& height,
                                  Kx_String& chosen, bool& flag, bool extraText);
// The same with every macro enabled.
KXSS_API bool StartDlgSelectMacro(const Kx_String& title, const Kx_StringArray& macros, const int& width,
                                  const int& height, Kx_String& chosen, bool& flag, bool extraText);
