// Launchers of the constraint editor.
#pragma once

#include "core/MacroData.h"
#include "frame/KxSsExport.h"

// Opens the modeless constraint editor on a copy of data; when one is open already it does nothing
// and returns true. False when the editor cannot be made.
KXSS_API bool StartDlgEditConstraints(EditConstrData& data);
