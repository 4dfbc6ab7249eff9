// Launchers of the profile advanced dialog without the macro dialog.
#pragma once

#include "core/Kx_String.h"
#include "core/MacroData.h"
#include "frame/KxSsExport.h"
#include "macro/ZnMACallBackData.h"
#include "platform/host/AcDb.h"

// Runs the advanced dialog on group of module in macro: each apply sets the group's merged
// properties and updates the drawing (UpdateModule with the list {-13}). openMode makes check box
// 1257 the "remember for new profiles" option rather than the record's own option. Afterwards macro
// holds what was applied. When macro's temporary flag is set, its temporary object (the first
// object of a kind-1 macro) is erased, once: the flag is cleared with it.
KXSS_API void StartDlgMacroProfAdv(MacroData& macro, const Kx_String& module, const Kx_String& group, bool openMode);

// Runs the advanced dialog on the profiles ids with the caller's callback; nothing happens for a null
// array, an empty one or a null callback. option goes in as the state of check box 1257 and comes
// back with its state at OK.
KXSS_API void StartDlgMacroProfAdv(AcArray<AcDbObjectId>* ids, bool& option, ZnMACallBack callback);
