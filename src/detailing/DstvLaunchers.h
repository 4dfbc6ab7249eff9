// The exported launcher of the DSTV point groups (ZnDlgDstvPoints.h).
#pragma once

#include "core/Kx_String.h"
#include "frame/KxSsExport.h"

// Runs the group dialog (template 234) modally; groups are changed in their files as the user works.
KXSS_API void StartDSTVPointsDlg();

namespace kxss {

// The group dialog's edit step on the group `name` of the points folder, under the launcher
// convention: the program's sample dialogs open the points dialog with it. True when the points
// were written back.
KXSS_API bool editDstvPointGroup(const Kx_String& name);

} // namespace kxss
