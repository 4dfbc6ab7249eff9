// The spreadsheet editor's export as an .xlsx workbook: the file written and the user told what
// could not travel. The editor's menu and file dialog stay in ZnSheetEditor.
#pragma once

#include "platform/win/WinTypes.h"

#include <string>

// Whether a chosen export name asks for a workbook (the extension chooses; any case).
bool isXlsxExportPath(const std::string& path);

// Writes the sheet of `grid` to `path`. A failure is shown in a message box owned by `owner`
// with the reason, and so are cells written as their last value because an .xlsx file cannot
// hold their formulas, and print settings it cannot hold. `caption` titles the boxes. Header and
// footer file names of the print settings are looked for beside `sheetPath` (the sheet's own file),
// then in the settings folder. Returns whether the file was written.
bool exportEditorSheetAsXlsx(HWND owner, HWND grid, const std::string& path, const std::string& caption,
                             const std::string& sheetPath = std::string());
