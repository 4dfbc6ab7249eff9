// The exported launcher of the array dialog.
#pragma once

#include "core/Kx_String.h"
#include "core/MacroItems.h"
#include "frame/KxSsExport.h"
#include "platform/host/AcDb.h"

// Runs the array dialog on a copy of data; objectIds are the macro's objects and moduleName the tab
// the array belongs to (they decide the dimension names offered). True on OK with data replaced by
// the dialog's; false otherwise, data untouched.
KXSS_API bool StartArrayDlg(DynArrayData& data, const AcArray<AcDbObjectId>& objectIds, const Kx_String& moduleName);
