// The rules the section library editor applies to a section table before it writes it: the columns a
// new table and a section type bring, which table names stay in the library's prof folder, and the
// system names a table may hold. Kept apart from the dialog so that they can be checked on their own.
#pragma once

#include "core/Kx_Array.h"
#include "core/Kx_String.h"
#include "core/Kx_StringArray.h"
#include "spread/Kx_ProfValuesTable.h"

#include <utility>
#include <vector>

namespace kxss {

// "SysName", "I/O" and one column per language (MacroLangs order).
Kx_StringArray standardTableColumns();
// The standard columns followed by the columns section type `number` brings (its catalogue entry);
// the standard columns alone for a number the catalogue does not know.
Kx_StringArray typeTableColumns(int number);
// A new table named `name`: the standard columns, two value columns (valueTitle 1 and 2) and one
// first row, active, with an empty name and zero values.
Kx_ProfValuesTable newSectionTable(const Kx_String& name, const Kx_String& valueTitle);

// Whether `name` (without ".pr") names a table file directly in the prof folder: not empty, no
// folder separators, no drive letter, not "." or "..", no control characters, and a path the table
// folder accepts.
bool isValidTableName(const Kx_String& name);

// The system-name faults of a table's rows: rows (1-based, as the grid numbers them) with an empty
// column 0, and names that more than one row holds (letter case and surrounding blanks ignored),
// each with its rows.
struct SystemNameFaults {
    Kx_Array<int> emptyRows;
    std::vector<std::pair<Kx_String, Kx_Array<int>>> duplicates;
    bool any() const { return !emptyRows.isEmpty() || !duplicates.empty(); }
};
SystemNameFaults findSystemNameFaults(const Kx_Array<Kx_StringArray>& rows);

} // namespace kxss
