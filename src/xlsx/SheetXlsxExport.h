// A grid's sheet written as an .xlsx workbook for office programs: values with their types,
// formulas with their last results, number formats, fonts, colours, borders, joined cells, sizes,
// hidden rows and columns, locks, the column headers as a frozen first row, and the pictures of
// picture cells. Reading .xlsx files does not belong here.
#pragma once

#include "platform/win/WinTypes.h"
#include "print/PageSetup.h"

#include <optional>
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
    // The sheet's print settings the format cannot hold ("border around the cells"), and header or
    // footer files that could not be read, each as one item.
    std::vector<std::string> printSettingsLeft;
};

struct XlsxExportOptions {
    // The sheet's own file: relative header and footer file names are looked for beside it, then
    // in the settings folder, as printing does. Empty: the current folder, then the settings folder.
    std::string sheetPath;
    // The paper and orientation the sheet prints on, when known; otherwise left to the reader.
    std::optional<kxprint::Paper> paper;
    bool landscape = false;
};

// Writes the sheet of `grid` to `path`. The file is written beside the target and renamed over it
// only when complete, so a failure leaves an existing file as it was and no temporary file behind.
// Sheets beyond the format's size (1,048,576 rows with the header row, 16,384 columns) are
// refused. The grid is only read. The sheet's print settings (margins, smart print, grid lines,
// column headers, header and footer) become the worksheet's page setup.
XlsxExportResult exportSheetToXlsx(HWND grid, const std::string& path, const XlsxExportOptions& options = {});

// The line for standard error naming the cells that were written as their last value; empty when
// every formula travelled.
std::string lastValueNotice(const XlsxExportResult& result);

// The line for standard error naming the print settings the file does not hold; empty when it
// holds them all.
std::string printSettingsNotice(const XlsxExportResult& result);

} // namespace kxxlsx
