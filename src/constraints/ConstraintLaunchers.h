// Launchers of the constraint editor.
#pragma once

#include "core/MacroData.h"
#include "frame/KxSsExport.h"

// Opens the modeless constraint editor on a copy of data; when one is open already it does nothing
// and returns true. False when the editor cannot be made.
KXSS_API bool StartDlgEditConstraints(EditConstrData& data);
// Runs the constraint editor modally on a copy of data. True when it was closed with OK; the edits
// live in the drawing, so data is not copied back.
KXSS_API bool StartDlgEditConstrModal(EditConstrData& data);
