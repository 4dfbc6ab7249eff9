// A grid's sheet written as an .xlsx workbook for office programs: values with their types,
// formulas with their last results, number formats, fonts, colours, borders, joined cells, sizes,
// hidden rows and columns, locks, the column headers as a frozen first row, and the pictures of
// picture cells. Reading .xlsx files does not belong here.
#pragma once

#include "platform/win/WinTypes.h"

#include <string>
#include <vector>

namespace kxxlsx {

struct XlsxExportResult {
    bool ok = false;
    // Why the export failed ("cannot write \"/x/y.xlsx\": ..."); the target is then unchanged.
    std::string error;
    // Cells written as their last value because their formula cannot travel, each as the grid
    // names it with the reason: "B3 (FROMTABLE)".
    std::vector<std::string> lastValueCells;
    int pictures = 0;
    bool headerRow = false;
};

// Writes the sheet of `grid` to `path`. The file is written beside the target and renamed over it
// only when complete, so a failure leaves an existing file as it was and no temporary file behind.
// Sheets beyond the format's size (1,048,576 rows with the header row, 16,384 columns) are
// refused. The grid is only read.
XlsxExportResult exportSheetToXlsx(HWND grid, const std::string& path);

// The line for standard error naming the cells that were written as their last value; empty when
// every formula travelled.
std::string lastValueNotice(const XlsxExportResult& result);

} // namespace kxxlsx
