// Kx_SectionTableManager: the core module's view of the library's profile tables by profile name
// ("HEA-200": table name, '-', size name). The table files and their roles are described in
// docs/profile-tables.md; editing them belongs to the module (Kx_ProfValuesTable).
#pragma once

#include "core/KxCoreExport.h"
#include "core/Kx_String.h"
#include "core/Kx_StringArray.h"

class KXCORE_API Kx_SectionTableManager {
public:
    // The user name of a table profile: the entry's description in the current language ("HE 200 A"
    // for "HEA-200"). Empty when the name has no '-', the table cannot be read or has no such entry
    // or no description column, or the description is empty. The table is looked for in the
    // library's prof folder only.
    static Kx_String getUserName(const Kx_String& profileName);

    // The description of an entry in the current language: the cell of row under the column whose
    // name is the current language (letter case ignored); empty when there is none.
    static Kx_String descriptionOf(const Kx_StringArray& columnNames, const Kx_StringArray& row);
};
