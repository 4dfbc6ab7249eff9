// The profile values table into a grid and back. Kept apart from the table's file and entry
// operations so that the command-line tools can use those without the grid wrapper.
#include "spread/Kx_ProfValuesTable.h"

#include "platform/grid/Spread.h"
#include "spread/Kx_Spread.h"

bool Kx_ProfValuesTable::setToSS(Kx_Spread& grid) const
{
    HWND hwnd = grid.GetSafeHwnd();
    if (!grid.isAttached() || hwnd == nullptr)
        return false;
    SSSetBool(hwnd, SSB_REDRAW, FALSE);
    grid.setRowCount(0);
    grid.setColCount(0);
    if (rows.isEmpty()) {
        SSSetBool(hwnd, SSB_REDRAW, TRUE);
        return false;
    }
    grid.setRowCount(rows.length());
    grid.setColCount(columnNames.length());
    grid.setColumnCheckBox(2, /*border=*/false, /*joinHeader=*/false);
    grid.setColumnHeaders(columnNames);
    Kx_StringArray headers;
    fillArr(headers, rows.length(), title);
    grid.setRowHeaders(headers);
    for (int r = 0; r < rows.length(); ++r)
        grid.setRow(r + 1, rows[r]);
    grid.autoSizeAll();
    SSSetBool(hwnd, SSB_CHANGEMADE, FALSE);
    SSSetBool(hwnd, SSB_REDRAW, TRUE);
    return true;
}

bool Kx_ProfValuesTable::getFromSS(const Kx_Spread& grid)
{
    const int rowCount = grid.getRowCount();
    const int colCount = grid.getColCount();
    if (rowCount <= 0 || colCount <= 0)
        return false;
    Kx_StringArray headers;
    grid.getColumnHeaders(headers);
    Kx_String header;
    grid.getCellText(Kx_Spread::HEADER, 1, header, Kx_Spread::kTextValue);
    Kx_Array<Kx_StringArray> read;
    read.items().reserve(static_cast<size_t>(rowCount));
    for (int r = 1; r <= rowCount; ++r) {
        Kx_StringArray row;
        grid.getRow(r, row);
        read.append(std::move(row));
    }
    columnNames = std::move(headers);
    title = header;
    rows = std::move(read);
    return true;
}
