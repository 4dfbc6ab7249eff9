// The section library editor's rules for section tables.
#include "spread/SectionTableEditing.h"

#include "core/MacroLangs.h"
#include "core/SectionCatalogue.h"
#include "core/TableFiles.h"

#include <map>
#include <string>

namespace kxss {

Kx_StringArray standardTableColumns()
{
    Kx_StringArray columns({Kx_String("SysName"), Kx_String("I/O")});
    for (const Kx_String& language : MacroLangs::GetAllLanguages())
        columns.append(language);
    return columns;
}

Kx_StringArray typeTableColumns(int number)
{
    Kx_StringArray columns = standardTableColumns();
    if (const SectionType* type = SectionGroupArray::library().findType(number))
        for (const Kx_String& c : type->columns)
            columns.append(c);
    return columns;
}

Kx_ProfValuesTable newSectionTable(const Kx_String& name, const Kx_String& valueTitle)
{
    Kx_ProfValuesTable table;
    table.title = name;
    table.columnNames = standardTableColumns();
    table.columnNames.append(valueTitle + "1");
    table.columnNames.append(valueTitle + "2");
    Kx_StringArray row({Kx_String(), Kx_String("1")});
    while (row.length() < table.columnNames.length() - 2)
        row.append(Kx_String());
    row.append(Kx_String("0"));
    row.append(Kx_String("0"));
    table.rows.append(row);
    return table;
}

bool isValidTableName(const Kx_String& name)
{
    const std::string& text = name.str();
    if (text.empty() || text.front() == '.' || name.trimmed() != name)
        return false;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '/' || c == '\\' || c == ':' || byte < 0x20 || byte == 0x7F)
            return false;
    }
    return kx::tablePathUnder(Kx_ProfValuesTable::tableFolder(), name + ".pr").has_value();
}

SystemNameFaults findSystemNameFaults(const Kx_Array<Kx_StringArray>& rows)
{
    SystemNameFaults faults;
    // Keyed by the name as compared; the first spelling met is the one reported.
    std::map<std::string, std::pair<Kx_String, Kx_Array<int>>> seen;
    std::vector<std::string> order;
    for (int r = 0; r < rows.length(); ++r) {
        const Kx_String name = rows[r].isEmpty() ? Kx_String() : rows[r][0].trimmed();
        if (name.isEmpty()) {
            faults.emptyRows.append(r + 1);
            continue;
        }
        const std::string key = name.toLower().str();
        auto [it, added] = seen.try_emplace(key, name, Kx_Array<int>());
        if (added)
            order.push_back(key);
        it->second.second.append(r + 1);
    }
    for (const std::string& key : order)
        if (seen[key].second.length() > 1)
            faults.duplicates.push_back(seen[key]);
    return faults;
}

} // namespace kxss
