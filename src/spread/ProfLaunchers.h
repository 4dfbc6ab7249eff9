// The exported launcher of the simple library editor (ZnDlgEditLibSimple.h).
#pragma once

#include "core/Kx_String.h"
#include "frame/KxSsExport.h"
#include "spread/Kx_ProfValuesTable.h"

// Runs the simple library editor (template 226) on a copy of table, making a new entry from the
// entry at `selected`; typeName is the table's type name (its section type number), which chooses
// the labels, the naming and the picture. On OK the table, with the new entry in its sorted place,
// is copied back, selected becomes the new entry's index, and the result is true. Cancel, or a
// dialog that cannot be opened, changes nothing and gives false.
KXSS_API bool StartDlgEditLibSimple(const Kx_String& typeName, Kx_ProfValuesTable& table, int& selected);
