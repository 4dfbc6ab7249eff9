// The section table manager's names.
#include "core/Kx_SectionTableManager.h"

#include "core/Kx_Settings.h"
#include "core/MacroLangs.h"
#include "core/TableFiles.h"

Kx_String Kx_SectionTableManager::descriptionOf(const Kx_StringArray& columnNames, const Kx_StringArray& row)
{
    int column = -1;
    if (!columnNames.find(MacroLangs::GetCurLanguage(), column, /*exact=*/false) || column >= row.length())
        return {};
    return row[column];
}

Kx_String Kx_SectionTableManager::getUserName(const Kx_String& profileName)
{
    int dash = 0;
    if (!profileName.findFirst("-", /*exact=*/true, dash) || dash == 0)
        return {};
    const Kx_String table = profileName.getSubStringAt(0, dash) + ".pr";
    const Kx_String size = profileName.getSubStringAt(dash + 1);
    const auto path = kx::tablePathUnder(Kx_Settings::libDir() + "prof", table);
    if (!path)
        return {};
    Kx_Array<Kx_StringArray> rows;
    std::string error;
    if (!kx::readTableRows(Kx_String(*path), rows, error) || rows.length() < 2)
        return {};
    for (int r = 2; r < rows.length(); ++r) {
        if (rows[r].length() > 0 && rows[r][0].equal(size, /*exact=*/false))
            return descriptionOf(rows[1], rows[r]);
    }
    return {};
}
