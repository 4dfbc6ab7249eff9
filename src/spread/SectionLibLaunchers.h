// The exported launcher of the section library editor (ZnDlgEditLibSections.h).
#pragma once

#include "core/Kx_String.h"
#include "core/SectionCatalogue.h"
#include "frame/KxSsExport.h"

// Runs the section library editor on a copy of data. With a profile name ("HEA-200") the dialog opens
// on the tables page with that table and row selected, otherwise on the groups page. On OK the
// edited groups and types are copied back and the result is true; Cancel, or a dialog that cannot be
// opened, leaves data as it was and gives false. Tables the user stored while the dialog ran stay
// stored either way: they are files, not part of data.
KXSS_API bool StartDlgEditLibSections(DlgEditLibData& data, const Kx_String& profileName);
