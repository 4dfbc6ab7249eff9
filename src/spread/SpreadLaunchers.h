// Exported spreadsheet-file operations of the module.
#pragma once

#include "core/Kx_Array.h"
#include "core/Kx_String.h"
#include "core/Kx_StringArray.h"
#include "frame/KxSsExport.h"
#include "spread/ZnGridDlgData.h"
#include "spread/ZnLookUpDlgData.h"

// Reads a spreadsheet file: firstCell gets the data text of column 1, row 1; titles the column
// header texts of columns 1 to the column count; rows, for every row 1 to the row count, the data
// texts of those columns (row 1 included). Both arrays are emptied first. A file that cannot be
// loaded gives the texts of an empty sheet of 10 rows and 8 columns, and false.
KXSS_API bool ReadSSFile(const Kx_String& fileName, Kx_String& firstCell, Kx_StringArray& titles,
                         Kx_Array<Kx_StringArray>& rows);
// Opens the formula test bench on the sheet "c:\a\t3.sss" (drive C is the folder
// KESTRA_SS_DRIVE_C names, docs/spreadsheet-files.md) with cell A1 evaluated; returns when the
// user closes it.
KXSS_API void EvaluateSS();

// The axis grid dialog (template 242) on a copy of data; on OK the copy is assigned back and true
// returned. Cancel, or a dialog that cannot be opened, gives false and leaves data untouched.
KXSS_API bool StartDlgGrid(ZnGridDlgData& data);
// The table lookup dialog (template 244) on a copy of data. OK and the fill-column button both
// confirm: the copy is assigned back (closedBy 0 or 2) and true returned; otherwise false and data
// untouched.
KXSS_API bool StartDlgLookUp(ZnLookUpDlgData& data);
// The string-array dialog (template 208): rows edited in a grid under the column and row titles,
// with insert and delete row buttons when allowRowEdit. Only the rows with exactly as many texts as
// there are column titles are shown (row title i stays with row i); on OK rows is replaced by the
// grid's rows, so the others are gone. False at once, nothing shown, without column titles; false
// on Cancel, rows untouched. The dialog's size and place are kept under sizeKey
// ("DLG_SS_STRINGARRAY" when empty).
KXSS_API bool startGridDialog(const Kx_StringArray& colTitles, const Kx_StringArray& rowTitles,
                              Kx_Array<Kx_StringArray>& rows, bool allowRowEdit, Kx_String title,
                              Kx_String sizeKey);
