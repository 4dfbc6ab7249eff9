// Kx_ProfValuesTable: the library entries of one steel section type, one row per size and one column
// per property, kept in a table file under the library's "prof" folder (docs/profile-tables.md) and
// shown and edited in grids. Column 0 holds the entry's system-name part, column 1 its active flag
// ("1" active, "0" inactive); one column per language, titled with the language's name, holds the
// entry's description. The simple library editor that adds one entry lives in
// ZnDlgEditLibSimple.h.
#pragma once

#include "core/Kx_Array.h"
#include "core/Kx_String.h"
#include "core/Kx_StringArray.h"
#include "frame/KxSsExport.h"

class Kx_Spread;

class KXSS_API Kx_ProfValuesTable {
public:
    Kx_ProfValuesTable() = default;
    Kx_ProfValuesTable(const Kx_ProfValuesTable&) = default;
    Kx_ProfValuesTable& operator=(const Kx_ProfValuesTable&) = default;
    Kx_ProfValuesTable(Kx_ProfValuesTable&&) = default;
    Kx_ProfValuesTable& operator=(Kx_ProfValuesTable&&) = default;
    virtual ~Kx_ProfValuesTable();

    // The folder of the table files: the library folder followed by "prof/".
    static Kx_String tableFolder();

    // Reads the file `name` of the table folder ("HEA.pr"; '\' or '/' between folder parts). Line 0
    // gives the type name (its first cell), line 1 the column names, every further line one entry;
    // the title is the file's name without its extension. On success every field is replaced, so
    // nothing of a table read earlier survives (a file of one line gives a table with a type name and
    // no columns). False, the table untouched, when the name leaves the folder or the file cannot be
    // read (the reason is printed on the command line).
    bool readFromFile(const Kx_String& name);
    // Writes the type line, the column-name line and the entries to `name` in the table folder; the
    // title is not written. False (old file intact) when the name leaves the folder, a cell cannot be
    // stored so that it reads back the same, or the save fails.
    bool writeToFile(const Kx_String& name) const;
    // readFromFile and writeToFile on a path of the caller's choosing (the command-line tools).
    bool readFromPath(const Kx_String& path);
    bool writeToPath(const Kx_String& path) const;

    // A copy of the row; false when index is outside 0 to rows-1.
    bool getRow(Kx_StringArray& row, int index) const;
    // One text per row (empty where a row is shorter); false when there are no rows or the index is
    // negative or not below the length of row 0.
    bool getColumn(Kx_StringArray& column, int index) const;
    bool getColumn(Kx_StringArray& column, const Kx_String& name) const;
    // Position of a column name, letter case ignored; -1 when absent.
    int getColumnIdx(const Kx_String& name) const;
    // The position of the description column of the current language; -1 when the table has none.
    int descriptionColumn() const;

    // title + "-" + column 0 of every row. Nothing when the columns cannot be had.
    void getSysNames(Kx_StringArray& names) const;
    // The same without the inactive rows (column 1 is "0").
    void getFilteredSysNames(Kx_StringArray& names) const;
    // The position of row `index` among the rows getFilteredSysNames lists: index minus the number
    // of inactive rows before it. -1 when index is outside the table.
    int getfilteredIdx(int index) const;
    // Whether row `index` is inactive (column 1 is "0"); false outside the table.
    bool isInactive(int index) const;
    // Position of a name part in column 0, letter case ignored.
    bool findSysName(const Kx_String& name, int& index) const;
    // A name part not yet in column 0, from base.
    Kx_String findUnusedSysName(const Kx_String& base) const;

    // A new entry after row `index`, made from it with an unused name and a matching description.
    // On an empty table index -1 or 0 makes the first entry from the defaults (name "1", active).
    // False, nothing changed, for any other index outside the table.
    bool insertRow(int index);
    // False when index is outside the table.
    bool deleteRow(int index);
    // Removes every row of more than one cell whose column 1 is "0".
    void removeInactiveEntries();

    // The table into a grid: one grid row per entry, the column names as column headers, the title
    // as every row header, column 2 (the active flag) as check boxes. False (grid left empty) when
    // the table has no rows or the grid is not attached.
    bool setToSS(Kx_Spread& grid) const;
    // The grid back into the table: column names from the column headers, the title from the header
    // of row 1, the rows from every grid row. False, the table untouched, when the grid has no rows
    // or no columns.
    bool getFromSS(const Kx_Spread& grid);

    Kx_String title;
    Kx_String typeName;
    Kx_StringArray columnNames;
    Kx_Array<Kx_StringArray> rows;
};
