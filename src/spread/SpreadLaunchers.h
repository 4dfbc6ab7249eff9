// Exported spreadsheet-file operations of the module.
#pragma once

#include "core/Kx_Array.h"
#include "core/Kx_String.h"
#include "core/Kx_StringArray.h"
#include "frame/KxSsExport.h"

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
