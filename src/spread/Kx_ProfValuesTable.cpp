// The profile values table: its file, the filtered names and the entry operations.
#include "spread/Kx_ProfValuesTable.h"

#include "core/Kx_Settings.h"
#include "core/MacroLangs.h"
#include "core/StringLists.h"
#include "core/TableFiles.h"
#include "platform/host/CommandLine.h"

#include <algorithm>
#include <exception>

namespace {

const Kx_String kInactive = "0";
const Kx_String kActive = "1";

// The cell of a row, empty when the row is shorter.
const Kx_String& cellOf(const Kx_StringArray& row, int col)
{
    static const Kx_String empty;
    return col >= 0 && col < row.length() ? row[col] : empty;
}

} // namespace

Kx_ProfValuesTable::~Kx_ProfValuesTable() = default;

Kx_String Kx_ProfValuesTable::tableFolder()
{
    return Kx_Settings::libDir() + "prof/";
}

bool Kx_ProfValuesTable::readFromFile(const Kx_String& name)
{
    const auto path = kx::tablePathUnder(tableFolder(), name);
    if (!path) {
        acutPrintf("*Error* Cannot read \"%s\": not a table name of the library's prof folder.\n", name.c_str());
        return false;
    }
    return readFromPath(Kx_String(*path));
}

bool Kx_ProfValuesTable::writeToFile(const Kx_String& name) const
{
    const auto path = kx::tablePathUnder(tableFolder(), name);
    if (!path) {
        acutPrintf("*Error* Cannot save \"%s\": not a table name of the library's prof folder.\n", name.c_str());
        return false;
    }
    return writeToPath(Kx_String(*path));
}

bool Kx_ProfValuesTable::readFromPath(const Kx_String& path)
{
    try {
        Kx_String readTitle;
        Kx_Array<Kx_StringArray> lines;
        if (!readFile(path, readTitle, lines))
            return false;
        Kx_ProfValuesTable read;
        read.title = readTitle;
        // The type line and the column-name line are never entries, however short the file.
        if (lines.length() > 0 && lines[0].length() > 0)
            read.typeName = lines[0][0];
        if (lines.length() > 1)
            read.columnNames = lines[1];
        read.rows.items().reserve(static_cast<size_t>(std::max(lines.length() - 2, 0)));
        for (int i = 2; i < lines.length(); ++i)
            read.rows.append(std::move(lines[i]));
        *this = std::move(read);
        return true;
    } catch (const std::exception&) {
        acutPrintf("*Error* Cannot read \"%s\": out of memory.\n", path.c_str());
        return false;
    }
}

bool Kx_ProfValuesTable::writeToPath(const Kx_String& path) const
{
    try {
        Kx_Array<Kx_StringArray> lines;
        lines.items().reserve(static_cast<size_t>(rows.length()) + 2);
        lines.append(Kx_StringArray{typeName});
        lines.append(columnNames);
        for (const Kx_StringArray& row : rows)
            lines.append(row);
        return writeFile(path, lines);
    } catch (const std::exception&) {
        acutPrintf("*Error* Cannot save \"%s\": out of memory.\n", path.c_str());
        return false;
    }
}

bool Kx_ProfValuesTable::getRow(Kx_StringArray& row, int index) const
{
    if (index < 0 || index >= rows.length())
        return false;
    row = rows[index];
    return true;
}

bool Kx_ProfValuesTable::getColumn(Kx_StringArray& column, int index) const
{
    if (rows.isEmpty() || index < 0 || index >= rows[0].length())
        return false;
    Kx_StringArray out;
    out.items().reserve(static_cast<size_t>(rows.length()));
    for (const Kx_StringArray& row : rows)
        out.append(cellOf(row, index));
    column = std::move(out);
    return true;
}

bool Kx_ProfValuesTable::getColumn(Kx_StringArray& column, const Kx_String& name) const
{
    const int index = getColumnIdx(name);
    return index >= 0 && getColumn(column, index);
}

int Kx_ProfValuesTable::getColumnIdx(const Kx_String& name) const
{
    int index = -1;
    return columnNames.find(name, index, /*exact=*/false) ? index : -1;
}

int Kx_ProfValuesTable::descriptionColumn() const
{
    return getColumnIdx(MacroLangs::GetCurLanguage());
}

void Kx_ProfValuesTable::getSysNames(Kx_StringArray& names) const
{
    Kx_StringArray part;
    Kx_StringArray flags;
    if (!getColumn(part, 0) || !getColumn(flags, 1) || part.length() != flags.length())
        return;
    for (const Kx_String& p : part)
        names.append(title + "-" + p);
}

bool Kx_ProfValuesTable::isInactive(int index) const
{
    return index >= 0 && index < rows.length() && cellOf(rows[index], 1) == kInactive;
}

void Kx_ProfValuesTable::getFilteredSysNames(Kx_StringArray& names) const
{
    Kx_StringArray part;
    Kx_StringArray flags;
    if (!getColumn(part, 0) || !getColumn(flags, 1) || part.length() != flags.length())
        return;
    for (int i = 0; i < part.length(); ++i) {
        if (!isInactive(i))
            names.append(title + "-" + part[i]);
    }
}

int Kx_ProfValuesTable::getfilteredIdx(int index) const
{
    if (index < 0 || index >= rows.length())
        return -1;
    int before = 0;
    for (int i = 0; i < index; ++i)
        before += isInactive(i) ? 1 : 0;
    return index - before;
}

bool Kx_ProfValuesTable::findSysName(const Kx_String& name, int& index) const
{
    for (int i = 0; i < rows.length(); ++i) {
        if (cellOf(rows[i], 0).equal(name, /*exact=*/false)) {
            index = i;
            return true;
        }
    }
    return false;
}

Kx_String Kx_ProfValuesTable::findUnusedSysName(const Kx_String& base) const
{
    Kx_StringArray used;
    used.items().reserve(static_cast<size_t>(rows.length()));
    for (const Kx_StringArray& row : rows)
        used.append(cellOf(row, 0));
    return findNonExistingString(used, base);
}

bool Kx_ProfValuesTable::insertRow(int index)
{
    const bool first = rows.isEmpty() && (index == -1 || index == 0);
    if (!first && (index < 0 || index >= rows.length()))
        return false;

    const int descCol = descriptionColumn();
    // As many cells as there are column names; a table without column names keeps the row's own
    // length, and every entry has at least its name and flag.
    Kx_StringArray entry = first ? Kx_StringArray{} : rows[index];
    const int cells = columnNames.isEmpty() ? std::max(entry.length(), 2) : std::max(columnNames.length(), 2);
    entry.setLogicalLength(cells);
    if (first)
        entry[1] = kActive;

    Kx_String descBase = title;
    Kx_String nameBase = "1";
    if (descCol >= 0 && descCol < entry.length()) {
        Kx_String desc = entry[descCol];
        int digit = 0;
        if (desc.findFirstNumbers(digit))
            desc = desc.getSubStringAt(0, digit);
        if (!desc.isEmpty())
            descBase = desc;
    }
    if (!entry[0].isEmpty())
        nameBase = entry[0];

    const Kx_String name = findUnusedSysName(nameBase);
    entry[0] = name;
    if (descCol >= 0 && descCol < entry.length())
        entry[descCol] = descBase + name;
    rows.insertAt(first ? 0 : index + 1, entry);
    return true;
}

bool Kx_ProfValuesTable::deleteRow(int index)
{
    if (index < 0 || index >= rows.length())
        return false;
    rows.removeAt(index);
    return true;
}

void Kx_ProfValuesTable::removeInactiveEntries()
{
    auto& items = rows.items();
    std::erase_if(items, [](const Kx_StringArray& row) { return row.length() > 1 && row[1] == kInactive; });
}
