// The information dialog (template 8070): shows the lines of a report read-only, under a title and
// a header, until the user closes it. The prompt dialog is in PromptDialog.h.
#pragma once

#include "core/KxCoreExport.h"
#include "core/Kx_String.h"
#include "core/Kx_StringArray.h"
#include "platform/win/WinTypes.h"

namespace kxcore {

// The template and its controls, for scripts that read the dialog.
inline constexpr int kInfoDialogId = 8070;
inline constexpr int kInfoHeaderId = 1000;
inline constexpr int kInfoLinesId = 1001;
// The dialog is resizable; its size and place are kept under this key (DialogFunctions.h).
inline constexpr const char* kInfoDialogSizeKey = "DLG_INFO";

} // namespace kxcore

struct DlgInfoData {
    Kx_String title;        // window title; empty keeps the template's
    Kx_String header;       // the line above the text; may be empty
    Kx_StringArray lines;   // shown one per line, as given, in a read-only edit the user can copy from
    Kx_String closeText;    // caption of the close button; empty keeps the template's
    HWND owner = nullptr;   // the dialog opens centred over it; null: over the screen
};

// Shows the information dialog modally. True when it was shown (and closed by the user); false
// when it could not be made. The data is not changed.
KXCORE_API bool ExportStartDlgInfo(DlgInfoData& data);
