// The exported launcher of the dialog designer.
#pragma once

#include "core/Kx_String.h"
#include "frame/KxSsExport.h"

// Opens the dialog designer modally on the layout at `path` (a path under the layout folder or a
// layout name; empty or missing: an empty editor). True when it was closed with OK (the Close
// button), false when closed otherwise or when it could not be opened.
KXSS_API bool StartDlgDesigner(const Kx_String& path);
